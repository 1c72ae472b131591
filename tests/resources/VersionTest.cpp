// The version resource as the About box reads it: GetFileVersionInfoA on the
// program file and the "040904E4" string table.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

std::vector<char> VersionBlock() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof(path));
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, block.data())) block.clear();
  return block;
}

// Empty when the key is missing, as the About box shows it.
std::string Value(std::vector<char>& block, const char* key) {
  std::string path = std::string("\\StringFileInfo\\040904E4\\") + key;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
      value == nullptr) {
    return std::string();
  }
  return std::string(value);
}

TEST(VersionResource, TranslationIsUsEnglishCodePage1252) {
  std::vector<char> block = VersionBlock();
  ASSERT_FALSE(block.empty());
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(4u, length);
  EXPECT_EQ(0x0409, translation[0]);
  EXPECT_EQ(0x04E4, translation[1]);
}

TEST(VersionResource, FixedPartIsVersionOne) {
  std::vector<char> block = VersionBlock();
  ASSERT_FALSE(block.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
  EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
  EXPECT_EQ(0u, fixed->dwFileVersionLS);
  EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

struct VersionKey {
  const char* key;
  const char* value;  // null: any non-empty text
};

void PrintTo(const VersionKey& k, std::ostream* os) { *os << k.key; }

class VersionString : public ::testing::TestWithParam<VersionKey> {};

TEST_P(VersionString, HasItsValue) {
  std::vector<char> block = VersionBlock();
  ASSERT_FALSE(block.empty());
  std::string value = Value(block, GetParam().key);
  if (GetParam().value != nullptr) {
    EXPECT_EQ(GetParam().value, value);
  } else {
    EXPECT_FALSE(value.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    StringFileInfo, VersionString,
    ::testing::Values(VersionKey{"ProductName", "MIDI to MORVEK Converter"},
                      VersionKey{"ProductVersion", "1.00"}, VersionKey{"FileVersion", "1.00"},
                      VersionKey{"OriginalFilename", "KALTON.EXE"},
                      VersionKey{"LegalCopyright", nullptr}),
    [](const ::testing::TestParamInfo<VersionKey>& info) { return std::string(info.param.key); });

TEST(VersionResource, AboutBoxTextsFitItsBuffers) {
  std::vector<char> block = VersionBlock();
  ASSERT_FALSE(block.empty());
  // "%s ver.%s" and "%s%s%s" (name and " について") are built in 256 bytes.
  std::string product = Value(block, "ProductName") + " ver." + Value(block, "ProductVersion");
  EXPECT_LT(product.size(), 256u);
  EXPECT_LT(Value(block, "LegalCopyright").size(), 256u);
  EXPECT_EQ(0u, Value(block, "LegalCopyright").find("Copyright"));
}

}  // namespace
