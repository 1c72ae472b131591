#include "framework/ClassResources.h"

#include <gtest/gtest.h>

#include "resources/ResourceIds.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

TEST(ClassResourcesTest, LoadsTheProgramIconsCursorAndKeys)
{
    ClassResources resources;
    EXPECT_EQ(10, resources.SetMenuName("KALTONMenu"));
    EXPECT_NE(nullptr, resources.LoadLargeIcon(TestModule(), IDI_APP));
    EXPECT_NE(nullptr, resources.LoadSmallIcon(TestModule(), IDI_APP));
    EXPECT_NE(nullptr, resources.LoadCursorHandle(nullptr, IDC_ARROW));
    EXPECT_NE(nullptr, resources.LoadAccelTable(TestModule(), nullptr)); // named like the menu
    EXPECT_NE(nullptr, resources.GetLargeIcon());
    EXPECT_NE(nullptr, resources.GetSmallIcon());
    EXPECT_NE(nullptr, resources.GetCursorHandle());
    EXPECT_NE(nullptr, resources.GetAccelTable());

    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(resources.GetSmallIcon(), &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(16, bitmap.bmWidth);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST(ClassResourcesTest, FailedLoadsKeepWhatWasThere)
{
    ClassResources resources;
    HICON large = reinterpret_cast<HICON>(0x11);
    HICON small = reinterpret_cast<HICON>(0x12);
    HCURSOR cursor = reinterpret_cast<HCURSOR>(0x13);
    HACCEL keys = reinterpret_cast<HACCEL>(0x14);
    resources.SetLargeIcon(large);
    resources.SetSmallIcon(small);
    resources.SetCursorHandle(cursor);
    resources.SetAccelTable(keys);

    EXPECT_EQ(nullptr, resources.LoadLargeIcon(TestModule(), 9999));
    EXPECT_EQ(nullptr, resources.LoadSmallIcon(TestModule(), 9999));
    EXPECT_EQ(nullptr, resources.LoadCursorHandle(TestModule(), MAKEINTRESOURCEA(9999)));
    EXPECT_EQ(nullptr, resources.LoadAccelTable(TestModule(), "NOSUCHTABLE"));
    EXPECT_EQ(nullptr, resources.LoadAccelTable(TestModule(), nullptr)); // no menu name either
    EXPECT_EQ(large, resources.GetLargeIcon());
    EXPECT_EQ(small, resources.GetSmallIcon());
    EXPECT_EQ(cursor, resources.GetCursorHandle());
    EXPECT_EQ(keys, resources.GetAccelTable());
}

TEST(ClassResourcesTest, StockBrushAndMenuName)
{
    ClassResources resources;
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), resources.UseStockBrush(WHITE_BRUSH));
    HBRUSH systemColour = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), resources.SetBrush(systemColour));
    EXPECT_EQ(systemColour, resources.GetBrush());

    EXPECT_EQ(10, resources.SetMenuName("KALTONMenu"));
    EXPECT_EQ(4, resources.SetMenuName(resources.GetMenuName() + 6));
    EXPECT_STREQ("Menu", resources.GetMenuName());
    resources.FreeMenuName();
    EXPECT_EQ(nullptr, resources.GetMenuName());
}

} // namespace
