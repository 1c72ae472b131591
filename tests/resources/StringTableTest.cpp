// The string table read back through the ANSI calls under code page 932:
// every text of Strings.def, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <set>
#include <string>

namespace {

struct StringEntry {
  UINT id;
  const char* name;
  std::string text;  // code page 932 bytes; may hold NULs
};

void PrintTo(const StringEntry& entry, std::ostream* os) { *os << "string " << entry.id; }

// The same list the resource script compiles; literals here become CP932.
#define MORVEK_STRING(id, name, text) {id, #name, std::string(text, sizeof(text) - 1)},
const StringEntry kStrings[] = {
#include "resources/Strings.def"
};
#undef MORVEK_STRING

HMODULE Self() { return GetModuleHandleA(nullptr); }

// LoadStringA into the 256-byte buffer the program uses everywhere.
std::string LoadAnsi(UINT id) {
  char buffer[256];
  std::memset(buffer, 0x7F, sizeof(buffer));
  int length = LoadStringA(Self(), id, buffer, sizeof(buffer));
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring LoadRawWide(UINT id) {
  const wchar_t* text = nullptr;
  // A zero buffer size returns a read-only pointer into the resource itself.
  int length = LoadStringW(Self(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

TEST(StringTable, RunsUnderJapaneseAnsiCodePage) {
  // Every comparison below assumes the program's code page.
  ASSERT_EQ(932u, GetACP());
}

class StringTableEntry : public ::testing::TestWithParam<StringEntry> {};

TEST_P(StringTableEntry, LoadsAsCp932Bytes) {
  const StringEntry& entry = GetParam();
  EXPECT_EQ(entry.text, LoadAnsi(entry.id)) << entry.id << " " << entry.name;
}

TEST_P(StringTableEntry, FitsTheProgramsStringBuffer) {
  // Texts are loaded into 256-byte buffers: 255 bytes and the terminator.
  EXPECT_LT(GetParam().text.size(), 256u) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(AllStrings, StringTableEntry, ::testing::ValuesIn(kStrings),
                         [](const ::testing::TestParamInfo<StringEntry>& info) {
                           return std::to_string(info.param.id) + "_" + (info.param.name + 4);
                         });

TEST(StringTable, HoldsEveryIdTheProgramLoads) {
  std::set<UINT> defined;
  for (const StringEntry& entry : kStrings) defined.insert(entry.id);
  std::set<UINT> needed = {1000, 1001, 1002, 1003, 1004, 1005, 1010, 1011,
                           1120, 1121, 1122, 1200, 1201, 1202, 1203,
                           1210, 1211, 1212, 1213, 1214, 1221, 1222, 1223, 1224, 1225};
  for (UINT id = 1100; id <= 1117; ++id) needed.insert(id);
  for (UINT id = 1231; id <= 1237; ++id) needed.insert(id);
  for (UINT id = 1250; id <= 1258; ++id) needed.insert(id);
  for (UINT id = 1270; id <= 1277; ++id) needed.insert(id);
  needed.insert({1260, 1261});
  for (UINT id : needed) {
    EXPECT_EQ(1u, defined.count(id)) << "string " << id << " is missing";
    if (id != 1010) {
      EXPECT_FALSE(LoadAnsi(id).empty()) << "string " << id << " is empty";
    }
  }
}

TEST(StringTable, AboutCaptionPrefixIsEmpty) {
  char buffer[256] = "unchanged";
  EXPECT_EQ(0, LoadStringA(Self(), 1010, buffer, sizeof(buffer)));
  EXPECT_STREQ("", buffer);
}

struct ByteCase {
  UINT id;
  std::string bytes;
};

void PrintTo(const ByteCase& c, std::ostream* os) { *os << "string " << c.id; }

class StringTableBytes : public ::testing::TestWithParam<ByteCase> {};

TEST_P(StringTableBytes, MatchesHandEncodedCp932) {
  EXPECT_EQ(GetParam().bytes, LoadAnsi(GetParam().id));
}

// Written as byte escapes, so they do not depend on how this file is compiled.
INSTANTIATE_TEST_SUITE_P(
    Japanese, StringTableBytes,
    ::testing::Values(
        // " について"
        ByteCase{1011, "\x20\x82\xC9\x82\xC2\x82\xA2\x82\xC4"},
        // "全音符"
        ByteCase{1100, "\x91\x53\x89\xB9\x95\x84"},
        // "PLAY@"
        ByteCase{1122, "PLAY@"},
        // "使用パート数が不正です。\nパート数は1～18を設定してください。", full-width tilde 0x81 0x60
        ByteCase{1234,
                 "\x8E\x67\x97\x70\x83\x70\x81\x5B\x83\x67\x90\x94\x82\xAA\x95\x73\x90\xB3\x82\xC5"
                 "\x82\xB7\x81\x42\n\x83\x70\x81\x5B\x83\x67\x90\x94\x82\xCD"
                 "1\x81\x60"
                 "18\x82\xF0\x90\xDD\x92\xE8\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42"}));

TEST(StringTable, RangeMessagesUseFullWidthTilde) {
  for (UINT id : {1234u, 1235u, 1236u}) {
    EXPECT_NE(std::string::npos, LoadAnsi(id).find("\x81\x60")) << id;
    EXPECT_NE(std::wstring::npos, LoadRawWide(id).find(L'\xFF5E')) << id;
  }
}

struct FilterCase {
  UINT id;
  std::wstring parts;  // with its NUL separators
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << "string " << c.id; }

class FilterString : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterString, KeepsNulSeparatorsInTheResource) {
  std::wstring raw = LoadRawWide(GetParam().id);
  EXPECT_EQ(GetParam().parts, raw);
  EXPECT_EQ(3, std::count(raw.begin(), raw.end(), L'\0'));
}

TEST_P(FilterString, KeepsNulSeparatorsThroughLoadStringA) {
  // The file dialogs take the ANSI text as it is, separators and all.
  std::string ansi = LoadAnsi(GetParam().id);
  std::string expected;
  for (wchar_t c : GetParam().parts) expected.push_back(static_cast<char>(c));
  EXPECT_EQ(expected, ansi);
}

INSTANTIATE_TEST_SUITE_P(
    OpenAndSave, FilterString,
    ::testing::Values(
        FilterCase{1221, std::wstring(L"Standerd MIDI format file(*.mid;*.smf)\0*.mid;*.smf\0"
                                      L"All file (*.*)\0*.*",
                                      38 + 1 + 11 + 1 + 14 + 1 + 3)},
        FilterCase{1223, std::wstring(L"Text file (*.txt)\0*.txt\0All file (*.*)\0*.*",
                                      17 + 1 + 5 + 1 + 14 + 1 + 3)},
        FilterCase{1270, std::wstring(L"WAV file (*.wav)\0*.wav\0All file (*.*)\0*.*",
                                      16 + 1 + 5 + 1 + 14 + 1 + 3)}));

}  // namespace
