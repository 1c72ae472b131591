// Icon group 501: 32x32 and 16x16, each in 16 and in 256 colours.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/resources/ResourceBytes.h"

namespace {

using morvek_test::ResourceBytes;

#pragma pack(push, 2)
struct GroupIconEntry {  // GRPICONDIRENTRY
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "GRPICONDIRENTRY is 14 bytes");

struct ExpectedImage {
  int size;
  int bitCount;
  int colourCount;  // 0 stands for 256
};

std::vector<GroupIconEntry> GroupEntries() {
  std::vector<unsigned char> bytes = ResourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APP));
  std::vector<GroupIconEntry> entries;
  if (bytes.size() < 6) return entries;
  WORD type = static_cast<WORD>(bytes[2] | (bytes[3] << 8));
  WORD count = static_cast<WORD>(bytes[4] | (bytes[5] << 8));
  if (type != 1 || bytes.size() < 6 + count * sizeof(GroupIconEntry)) return entries;
  entries.resize(count);
  std::memcpy(entries.data(), bytes.data() + 6, count * sizeof(GroupIconEntry));
  return entries;
}

TEST(ProgramIcon, GroupHasFourImagesOfTheRightKinds) {
  const ExpectedImage expected[] = {{32, 4, 16}, {16, 4, 16}, {32, 8, 0}, {16, 8, 0}};
  std::vector<GroupIconEntry> entries = GroupEntries();
  ASSERT_EQ(4u, entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const GroupIconEntry& entry = entries[i];
    EXPECT_EQ(expected[i].size, entry.width);
    EXPECT_EQ(expected[i].size, entry.height);
    EXPECT_EQ(expected[i].bitCount, entry.bitCount);
    EXPECT_EQ(expected[i].colourCount, entry.colourCount);
    EXPECT_EQ(1, entry.planes);

    // The image itself: a bitmap header with colour and mask halves.
    std::vector<unsigned char> image = ResourceBytes(RT_ICON, MAKEINTRESOURCEA(entry.id));
    ASSERT_EQ(entry.bytesInRes, image.size());
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof(header));
    EXPECT_EQ(sizeof(BITMAPINFOHEADER), header.biSize);
    EXPECT_EQ(expected[i].size, header.biWidth);
    EXPECT_EQ(2 * expected[i].size, header.biHeight);
    EXPECT_EQ(expected[i].bitCount, header.biBitCount);
    size_t stride = ((expected[i].size * expected[i].bitCount + 31) / 32) * 4;
    size_t maskStride = ((expected[i].size + 31) / 32) * 4;
    size_t palette = (size_t{1} << expected[i].bitCount) * sizeof(RGBQUAD);
    EXPECT_EQ(sizeof(header) + palette + (stride + maskStride) * expected[i].size, image.size());
  }
}

TEST(ProgramIcon, LoadsAsClassIconAndSmallIcon) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  EXPECT_NE(nullptr, LoadIconA(self, MAKEINTRESOURCEA(IDI_APP)));
  HICON small = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(nullptr, small);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(small, &info));
  BITMAP mask = {};
  GetObjectA(info.hbmMask, sizeof(mask), &mask);
  EXPECT_EQ(16, mask.bmWidth);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(small);
}

}  // namespace
