// Menu and accelerator table "KALTONMenu": the name comes from string 1002,
// as the program loads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"

namespace {

HMODULE Self() { return GetModuleHandleA(nullptr); }

std::string MenuName() {
  char name[256] = "";
  LoadStringA(Self(), 1002, name, sizeof(name));
  return name;
}

struct ExpectedMenuItem {
  UINT id;           // 0 for a separator or a submenu
  const char* text;  // with the key name after a tab; null for a separator
};

struct ExpectedPopup {
  const char* text;
  std::vector<ExpectedMenuItem> items;
};

const std::vector<ExpectedPopup> kMenu = {
    {"&File",
     {{IDM_OPEN, "&Open...\tF2"},
      {IDM_CONVERT, "&Convert\tF3"},
      {IDM_SAVE, "&Save...\tF4"},
      {IDM_REPORT, "Conversion &Report...\tF7"},
      {0, nullptr},
      {IDM_OPEN_LENIENTLY, "Open &Leniently"},
      {0, nullptr},
      {IDM_EXIT, "E&xit"}}},
    {"&List",
     {{IDM_ADD, "&Add\tF5"}, {IDM_REMOVE, "&Remove\tF6"}, {0, nullptr}, {0, "&Voices"}, {0, "Line &Length"}}},
    {"Pr&eview",
     {{IDM_PLAY, "&Play\tF8"},
      {IDM_STOP, "S&top\tF9"},
      {0, nullptr},
      {IDM_SAVE_WAV, "Save Preview as &WAV...\tF11"}}},
    {"&Help", {{IDM_HELP, "&Help\tF1"}, {0, nullptr}, {IDM_ABOUT, "&About...\tF10"}}},
};

struct MenuItem {
  UINT type = 0;
  UINT state = 0;
  UINT id = 0;
  HMENU subMenu = nullptr;
  std::string text;
};

MenuItem ItemAt(HMENU menu, UINT position) {
  char text[256] = "";
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof(text);
  MenuItem item;
  if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return item;
  item.type = info.fType;
  item.state = info.fState;
  item.id = info.wID;
  item.subMenu = info.hSubMenu;
  item.text = (info.fType & MFT_SEPARATOR) ? "" : text;
  return item;
}

TEST(Menu, NameOfString1002LoadsTheMenu) {
  EXPECT_EQ("KALTONMenu", MenuName());
  HMENU menu = LoadMenuA(Self(), MenuName().c_str());
  ASSERT_NE(nullptr, menu);
  DestroyMenu(menu);
}

TEST(Menu, PopupsItemsAndCommandIds) {
  HMENU menu = LoadMenuA(Self(), MenuName().c_str());
  ASSERT_NE(nullptr, menu);
  ASSERT_EQ(static_cast<int>(kMenu.size()), GetMenuItemCount(menu));
  for (size_t p = 0; p < kMenu.size(); ++p) {
    MenuItem popup = ItemAt(menu, static_cast<UINT>(p));
    EXPECT_EQ(kMenu[p].text, popup.text);
    ASSERT_NE(nullptr, popup.subMenu) << kMenu[p].text;
    ASSERT_EQ(static_cast<int>(kMenu[p].items.size()), GetMenuItemCount(popup.subMenu));
    for (size_t i = 0; i < kMenu[p].items.size(); ++i) {
      const ExpectedMenuItem& want = kMenu[p].items[i];
      MenuItem item = ItemAt(popup.subMenu, static_cast<UINT>(i));
      SCOPED_TRACE(std::string(kMenu[p].text) + " item " + std::to_string(i));
      if (want.text == nullptr) {
        EXPECT_NE(0u, item.type & MFT_SEPARATOR);
        continue;
      }
      EXPECT_EQ(0u, item.type & MFT_SEPARATOR);
      EXPECT_EQ(want.text, item.text);
      if (want.id == 0) {
        EXPECT_NE(nullptr, item.subMenu);
        continue;
      }
      EXPECT_EQ(want.id, item.id);
      EXPECT_EQ(nullptr, item.subMenu);
      // The window greys items itself when the menu opens.
      EXPECT_EQ(0u, item.state & (MFS_GRAYED | MFS_CHECKED));
    }
  }
  DestroyMenu(menu);
}

// List > Voices: the counts in rising order, each access key used once (12
// and 18 have none), none checked in the resource (the window checks the
// current one when the menu opens).
TEST(Menu, VoicesSubmenuHoldsTheCounts) {
  HMENU menu = LoadMenuA(Self(), MenuName().c_str());
  ASSERT_NE(nullptr, menu);
  HMENU list = GetSubMenu(menu, 1);
  ASSERT_NE(nullptr, list);
  HMENU voices = GetSubMenu(list, 3);
  ASSERT_NE(nullptr, voices);
  const ExpectedMenuItem expected[] = {
      {IDM_VOICES_1, "&1"}, {IDM_VOICES_2, "&2"},   {IDM_VOICES_3, "&3"},   {IDM_VOICES_4, "&4"},
      {IDM_VOICES_6, "&6"}, {IDM_VOICES_8, "&8"}, {IDM_VOICES_12, "12"}, {IDM_VOICES_18, "18"},
  };
  ASSERT_EQ(8, GetMenuItemCount(voices));
  for (UINT i = 0; i < 8; ++i) {
    MenuItem item = ItemAt(voices, i);
    EXPECT_EQ(expected[i].id, item.id);
    EXPECT_EQ(expected[i].text, item.text);
    EXPECT_EQ(0u, item.state & (MFS_GRAYED | MFS_CHECKED));
  }
  DestroyMenu(menu);
}

struct ExpectedKey {
  WORD key;
  WORD command;
};

TEST(Accelerators, FunctionKeysWithoutModifiers) {
  HACCEL table = LoadAcceleratorsA(Self(), MenuName().c_str());
  ASSERT_NE(nullptr, table);
  const ExpectedKey expected[] = {
      {VK_F1, IDM_HELP},   {VK_F2, IDM_OPEN},   {VK_F3, IDM_CONVERT}, {VK_F4, IDM_SAVE},
      {VK_F5, IDM_ADD},    {VK_F6, IDM_REMOVE}, {VK_F7, IDM_REPORT}, {VK_F8, IDM_PLAY},
      {VK_F9, IDM_STOP},   {VK_F10, IDM_ABOUT}, {VK_F11, IDM_SAVE_WAV},
  };
  const int count = sizeof(expected) / sizeof(expected[0]);
  ACCEL keys[16] = {};
  ASSERT_EQ(count, CopyAcceleratorTableA(table, nullptr, 0));
  ASSERT_EQ(count, CopyAcceleratorTableA(table, keys, 16));
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    EXPECT_EQ(expected[i].key, keys[i].key);
    EXPECT_EQ(expected[i].command, keys[i].cmd);
    // A virtual key, no Shift, Ctrl or Alt.
    EXPECT_EQ(FVIRTKEY, keys[i].fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT));
  }
}

}  // namespace
