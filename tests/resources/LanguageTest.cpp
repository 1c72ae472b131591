// The two languages of the resources: the English string table, templates
// and menu mirror the Japanese ones entry for entry and control for control,
// and hold nothing that a Western code page cannot show.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/resources/ResourceBytes.h"

namespace {

using morvek_test::ClassName;
using morvek_test::DialogItem;
using morvek_test::DialogTemplate;
using morvek_test::ParseDialogTemplate;
using morvek_test::ResourceBytesIn;

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

struct StringLine {
  UINT id;
  const char* name;
  std::string text;
};

#define MORVEK_STRING(id, name, text) {id, #name, std::string(text, sizeof(text) - 1)},
const StringLine kJapaneseLines[] = {
#include "resources/Strings.def"
};
const StringLine kEnglishLines[] = {
#include "resources/StringsEnglish.def"
};
#undef MORVEK_STRING

template <size_t N>
std::map<UINT, std::string> NamesById(const StringLine (&lines)[N]) {
  std::map<UINT, std::string> names;
  for (const StringLine& line : lines) names[line.id] = line.name;
  return names;
}

// "id name" of every entry of one map that the other lacks.
std::string Missing(const std::map<UINT, std::string>& from, const std::map<UINT, std::string>& in) {
  std::string missing;
  for (const auto& entry : from) {
    if (in.count(entry.first) == 0) missing += std::to_string(entry.first) + " " + entry.second + "\n";
  }
  return missing;
}

TEST(StringLanguages, EveryIdInBothLanguagesUnderOneName) {
  std::map<UINT, std::string> japanese = NamesById(kJapaneseLines);
  std::map<UINT, std::string> english = NamesById(kEnglishLines);
  EXPECT_EQ("", Missing(japanese, english)) << "in Strings.def, not in StringsEnglish.def";
  EXPECT_EQ("", Missing(english, japanese)) << "in StringsEnglish.def, not in Strings.def";
  EXPECT_EQ(japanese, english);
}

bool IsShownEverywhere(wchar_t c) { return (c >= 0x20 && c < 0x7F) || c == L'\n' || c == L'\t' || c == 0; }

bool IsPlainText(const std::wstring& text) {
  for (wchar_t c : text) {
    if (!IsShownEverywhere(c)) return false;
  }
  return true;
}

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

TEST(StringLanguages, EnglishTextsArePlainAsciiAndFitTheBuffers) {
  for (const StringLine& line : kEnglishLines) {
    EXPECT_TRUE(IsPlainText(Widened(line.text))) << line.id << " " << line.name;
    EXPECT_LT(line.text.size(), 256u) << line.id << " " << line.name;
  }
}

// String id of one language as the table block stores it: 16 counted
// UTF-16 texts per block. "<missing>" without the block.
std::wstring TableString(UINT id, WORD language) {
  std::vector<unsigned char> block = ResourceBytesIn(RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
  if (block.empty()) return L"<missing>";
  size_t position = 0;
  for (UINT index = 0; index < 16; ++index) {
    if (position + 2 > block.size()) return L"<broken>";
    size_t length = block[position] | (block[position + 1] << 8);
    position += 2;
    if (position + 2 * length > block.size()) return L"<broken>";
    if (index == id % 16) {
      std::wstring text;
      for (size_t i = 0; i < length; ++i) {
        text.push_back(static_cast<wchar_t>(block[position + 2 * i] | (block[position + 2 * i + 1] << 8)));
      }
      return text;
    }
    position += 2 * length;
  }
  return L"<broken>";
}

TEST(StringLanguages, EnglishTableHoldsEveryEnglishLine) {
  for (const StringLine& line : kEnglishLines) {
    EXPECT_EQ(Widened(line.text), TableString(line.id, kEnglish)) << line.id << " " << line.name;
  }
}

TEST(StringLanguages, JapaneseTableKeepsItsOwnTexts) {
  // The English table must not have replaced a Japanese block.
  EXPECT_EQ(L" \x306B\x3064\x3044\x3066", TableString(1011, kJapanese));  // " について"
  EXPECT_EQ(L"", TableString(1011, kEnglish));
  EXPECT_EQ(L"About ", TableString(1010, kEnglish));
}

DialogTemplate TemplateIn(int id, WORD language) {
  std::vector<unsigned char> bytes = ResourceBytesIn(RT_DIALOG, MAKEINTRESOURCEA(id), language);
  DialogTemplate dialog;
  EXPECT_FALSE(bytes.empty()) << "dialog " << id << " language " << language;
  EXPECT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &dialog)) << "dialog " << id;
  return dialog;
}

class DialogLanguages : public ::testing::TestWithParam<int> {};

TEST_P(DialogLanguages, EnglishTemplateMirrorsTheJapaneseOne) {
  DialogTemplate japanese = TemplateIn(GetParam(), kJapanese);
  DialogTemplate english = TemplateIn(GetParam(), kEnglish);
  EXPECT_EQ(japanese.style, english.style);
  EXPECT_EQ(japanese.cx, english.cx);
  EXPECT_EQ(japanese.cy, english.cy);
  EXPECT_EQ(japanese.caption, english.caption);
  EXPECT_EQ(japanese.windowClass.name, english.windowClass.name);
  // A font that every Windows has, at the size its dialogs use.
  EXPECT_EQ(L"MS Shell Dlg", english.faceName);
  EXPECT_EQ(8, english.pointSize);
  ASSERT_EQ(japanese.items.size(), english.items.size()) << "a control is missing in one language";
  for (size_t i = 0; i < japanese.items.size(); ++i) {
    const DialogItem& ja = japanese.items[i];
    const DialogItem& en = english.items[i];
    SCOPED_TRACE("item " + std::to_string(i) + ", id " + std::to_string(ja.id));
    EXPECT_EQ(ja.id, en.id);
    EXPECT_EQ(ClassName(ja.windowClass), ClassName(en.windowClass));
    EXPECT_EQ(ja.style, en.style);
    EXPECT_EQ(ja.exStyle, en.exStyle);
    EXPECT_EQ(ja.x, en.x);
    EXPECT_EQ(ja.y, en.y);
    EXPECT_EQ(ja.cx, en.cx);
    EXPECT_EQ(ja.cy, en.cy);
    EXPECT_EQ(ja.text.isOrdinal, en.text.isOrdinal);
    EXPECT_TRUE(IsPlainText(en.text.name));
    // Texts that are English already stay as they are.
    if (IsPlainText(ja.text.name)) {
      EXPECT_EQ(ja.text.name, en.text.name);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(MainAndAbout, DialogLanguages, ::testing::Values(IDD_MAIN, IDD_ABOUT));

// A menu as one line per item: depth, id or "popup" or "-", and its text.
void DumpMenu(HMENU menu, int depth, std::wstring* structure, std::vector<std::wstring>* texts) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    *structure += std::wstring(static_cast<size_t>(depth) * 2, L' ');
    if (info.fType & MFT_SEPARATOR) {
      *structure += L"-\n";
      continue;
    }
    *structure += (info.hSubMenu != nullptr ? L"popup" : std::to_wstring(info.wID)) + L"\n";
    texts->push_back(text);
    if (info.hSubMenu != nullptr) DumpMenu(info.hSubMenu, depth + 1, structure, texts);
  }
}

TEST(MenuLanguages, EnglishMenuMirrorsTheJapaneseOne) {
  std::wstring structure[2];
  std::vector<std::wstring> texts[2];
  const WORD languages[2] = {kJapanese, kEnglish};
  for (int l = 0; l < 2; ++l) {
    std::vector<unsigned char> bytes = ResourceBytesIn(RT_MENU, "KALTONMENU", languages[l]);
    ASSERT_FALSE(bytes.empty()) << "menu of language " << languages[l];
    HMENU menu = LoadMenuIndirectW(bytes.data());
    ASSERT_NE(nullptr, menu);
    DumpMenu(menu, 0, &structure[l], &texts[l]);
    DestroyMenu(menu);
  }
  EXPECT_EQ(structure[0], structure[1]);
  ASSERT_EQ(texts[0].size(), texts[1].size());
  for (size_t i = 0; i < texts[1].size(); ++i) {
    EXPECT_TRUE(IsPlainText(texts[1][i])) << "item " << i;
    if (IsPlainText(texts[0][i])) {
      EXPECT_EQ(texts[0][i], texts[1][i]);
    }
  }
}

}  // namespace
