// RCDATA 3201 and 3202: the list-view column tables, byte for byte, and the
// titles their string ids lead to.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/resources/ResourceBytes.h"

namespace {

using morvek_test::ResourceBytes;

struct ColumnTableCase {
  int id;
  std::vector<unsigned char> bytes;
  std::vector<int> widths;
  std::vector<std::string> titles;
};

void PrintTo(const ColumnTableCase& c, std::ostream* os) { *os << "RCDATA " << c.id; }

class ColumnTable : public ::testing::TestWithParam<ColumnTableCase> {};

int WordAt(const std::vector<unsigned char>& bytes, size_t offset) {
  return bytes[offset] | (bytes[offset + 1] << 8);
}

TEST_P(ColumnTable, HoldsExactlyTheseBytes) {
  EXPECT_EQ(GetParam().bytes, ResourceBytes(RT_RCDATA, MAKEINTRESOURCEA(GetParam().id)));
}

TEST_P(ColumnTable, DecodesToRightAlignedTitledColumns) {
  std::vector<unsigned char> bytes = ResourceBytes(RT_RCDATA, MAKEINTRESOURCEA(GetParam().id));
  ASSERT_GE(bytes.size(), 2u);
  size_t count = static_cast<size_t>(WordAt(bytes, 0));
  ASSERT_EQ(2 + 6 * count, bytes.size());
  ASSERT_EQ(GetParam().titles.size(), count);
  for (size_t i = 0; i < count; ++i) {
    EXPECT_EQ(GetParam().widths[i], WordAt(bytes, 2 + 6 * i));
    EXPECT_EQ(LVCFMT_RIGHT, WordAt(bytes, 4 + 6 * i));
    char title[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(WordAt(bytes, 6 + 6 * i)), title,
                sizeof(title));
    EXPECT_EQ(GetParam().titles[i], title) << "column " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ColumnTable,
    ::testing::Values(
        ColumnTableCase{IDR_CHANNEL_COLUMNS,
                        {0x04, 0x00, 0x1E, 0x00, 0x01, 0x00, 0xB0, 0x04, 0x1E, 0x00, 0x01, 0x00, 0xB1,
                         0x04, 0x1E, 0x00, 0x01, 0x00, 0xB2, 0x04, 0x3C, 0x00, 0x01, 0x00, 0xB3, 0x04},
                        {30, 30, 30, 60},
                        {"No.", "Tr.", "Ch.", "Step"}},
        ColumnTableCase{IDR_PART_COLUMNS,
                        {0x05, 0x00, 0x22, 0x00, 0x01, 0x00, 0xBA, 0x04, 0x1E, 0x00, 0x01,
                         0x00, 0xBB, 0x04, 0x1E, 0x00, 0x01, 0x00, 0xBC, 0x04, 0x1E, 0x00,
                         0x01, 0x00, 0xBD, 0x04, 0x3C, 0x00, 0x01, 0x00, 0xBE, 0x04},
                        {34, 30, 30, 30, 60},
                        {"Part", "No.", "Tr.", "Ch.", "Step"}}),
    [](const ::testing::TestParamInfo<ColumnTableCase>& info) {
      return std::to_string(info.param.id);
    });

}  // namespace
