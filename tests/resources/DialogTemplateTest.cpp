// Dialog templates 3000 (main window) and 3100 (About box) decoded from the
// resource, then built into real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/resources/ResourceBytes.h"

namespace {

using morvek_test::ClassName;
using morvek_test::DialogItem;
using morvek_test::DialogTemplate;
using morvek_test::ParseDialogTemplate;
using morvek_test::ResourceBytes;

const wchar_t kFontName[] = L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF";  // "ＭＳ Ｐゴシック"
const WORD kNoId = 0xFFFF;

struct ExpectedItem {
  WORD id;
  const wchar_t* windowClass;
  const wchar_t* text;  // null for an icon given by number
  short x, y, cx, cy;
  DWORD style;
};

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
const DWORD kLabel = kChild | WS_GROUP | SS_LEFT;
const DWORD kNumber = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER;
const DWORD kDropDown = kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
const DWORD kList = kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;

// In template order, which is also the tab order: each label sits right
// before the field its access key leads to.
const ExpectedItem kMainItems[] = {
    {IDM_OPEN, L"Button", L"&Open MIDI File", 300, 10, 55, 20, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDM_CONVERT, L"Button", L"&Convert", 300, 40, 55, 20, kButton},
    {IDM_SAVE, L"Button", L"&Save Source", 300, 70, 55, 20, kButton},
    {IDM_ABOUT, L"Button", L"&About", 300, 100, 55, 20, kButton},
    {IDM_HELP, L"Button", L"&Help", 300, 130, 55, 20, kButton},
    {IDM_EXIT, L"Button", L"E&xit", 300, 160, 55, 20, kButton},
    {kNoId, L"Button", L"MIDI File Information", 5, 5, 140, 90, kChild | BS_GROUPBOX},
    {kNoId, L"Static", L"MIDI File Name", 10, 15, 50, 12, kLabel},
    {kNoId, L"Static", L"Format Type", 10, 30, 50, 12, kLabel},
    {kNoId, L"Static", L"Time Base", 10, 45, 50, 12, kLabel},
    {kNoId, L"Static", L"Used Channel", 10, 60, 50, 12, kLabel},
    {IDC_FILE_NAME, L"Static", L"", 65, 15, 75, 12, kLabel},
    {IDC_FORMAT, L"Static", L"", 65, 30, 75, 12, kLabel},
    {IDC_TIME_BASE, L"Static", L"", 65, 45, 75, 12, kLabel},
    {IDC_USED_CHANNELS, L"Static", L"", 65, 60, 75, 12, kLabel},
    {kNoId, L"Button", L"MORVEK Source Setting", 150, 5, 140, 90, kChild | BS_GROUPBOX},
    {kNoId, L"Static", L"使用パート数(&P)", 155, 15, 60, 15, kLabel},
    {IDC_PART_COUNT, L"Edit", L"", 220, 15, 65, 12, kNumber},
    {kNoId, L"Static", L"最小分解能(&M)", 155, 30, 60, 15, kLabel},
    {IDC_RESOLUTION, L"ComboBox", L"", 220, 30, 65, 96, kDropDown},
    {kNoId, L"Static", L"分割ステップ数(&B)", 155, 45, 60, 15, kLabel},
    {IDC_SPLIT_STEP, L"Edit", L"", 220, 45, 65, 12, kNumber},
    {kNoId, L"Static", L"開始行番号(&N)", 155, 60, 60, 15, kLabel},
    {IDC_FIRST_LINE, L"Edit", L"", 220, 60, 65, 12, kNumber},
    {kNoId, L"Static", L"PLAY文(&L)", 155, 75, 60, 15, kLabel},
    {IDC_PLAY_KIND, L"ComboBox", L"", 220, 75, 65, 60, kDropDown},
    {kNoId, L"Static", L"MIDI Channel List(&I)", 5, 100, 95, 12, kLabel},
    {IDC_CHANNEL_LIST, L"SysListView32", L"", 5, 112, 100, 80, kList | WS_GROUP},
    {IDM_ADD, L"Button", L"A&dd =>", 110, 124, 55, 20, kButton},
    {IDM_REMOVE, L"Button", L"&Remove", 110, 154, 55, 20, kButton},
    {kNoId, L"Static", L"MORVEK Channel List(&Y)", 170, 100, 95, 12, kLabel},
    {IDC_PART_LIST, L"SysListView32", L"", 170, 112, 120, 80, kList},
    {kNoId, L"Static", L"MORVEK Source List(&V)", 5, 195, 100, 12, kLabel},
    {IDC_SOURCE, L"Edit", L"", 1, 207, 358, 79,
     kChild | WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
         ES_AUTOHSCROLL | ES_WANTRETURN},
};

const ExpectedItem kAboutItems[] = {
    {kNoId, L"Static", nullptr, 8, 6, 32, 32, kChild | SS_ICON},
    {IDC_ABOUT_PRODUCT, L"Static", L"", 32, 6, 120, 8, kLabel},
    {IDC_ABOUT_COPYRIGHT, L"Static", L"", 32, 18, 120, 8, kLabel},
    {IDC_ABOUT_LINK, L"Static", L"", 32, 36, 116, 8, kLabel},
    {IDOK, L"Button", L"&OK", 59, 56, 42, 16, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
};

DialogTemplate LoadTemplate(int id) {
  std::vector<unsigned char> bytes = ResourceBytes(RT_DIALOG, MAKEINTRESOURCEA(id));
  DialogTemplate dialog;
  EXPECT_FALSE(bytes.empty()) << "dialog " << id << " is missing";
  EXPECT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &dialog)) << "dialog " << id;
  return dialog;
}

// Class names are not case-sensitive, and windres stores them in capitals.
bool SameClass(const std::wstring& a, const std::wstring& b) {
  return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

void ExpectItems(const DialogTemplate& dialog, const ExpectedItem* expected, size_t count) {
  ASSERT_EQ(count, dialog.items.size());
  for (size_t i = 0; i < count; ++i) {
    const DialogItem& item = dialog.items[i];
    const ExpectedItem& want = expected[i];
    SCOPED_TRACE("item " + std::to_string(i) + ", id " + std::to_string(want.id));
    EXPECT_EQ(want.id, item.id);
    EXPECT_TRUE(SameClass(want.windowClass, ClassName(item.windowClass)));
    if (want.text != nullptr) {
      EXPECT_FALSE(item.text.isOrdinal);
      EXPECT_EQ(std::wstring(want.text), item.text.name);
    }
    EXPECT_EQ(want.x, item.x);
    EXPECT_EQ(want.y, item.y);
    EXPECT_EQ(want.cx, item.cx);
    EXPECT_EQ(want.cy, item.cy);
    EXPECT_EQ(want.style, item.style) << std::hex << "0x" << want.style << " 0x" << item.style;
    EXPECT_EQ(0u, item.exStyle);
  }
}

TEST(MainDialogTemplate, FrameCaptionClassAndFont) {
  DialogTemplate dialog = LoadTemplate(IDD_MAIN);
  // Caption and system menu with a minimize box; no sizing frame, no maximize box.
  EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT), dialog.style);
  EXPECT_EQ(0u, dialog.exStyle);
  EXPECT_EQ(360, dialog.cx);
  EXPECT_EQ(300, dialog.cy);
  EXPECT_EQ(L"MIDI to MORVEK", dialog.caption);
  EXPECT_FALSE(dialog.windowClass.isOrdinal);
  EXPECT_TRUE(SameClass(L"MIDItoMORVEKClass", dialog.windowClass.name));
  // The menu comes from the window class, not from the template.
  EXPECT_FALSE(dialog.menu.isOrdinal);
  EXPECT_EQ(L"", dialog.menu.name);
  EXPECT_EQ(9, dialog.pointSize);
  EXPECT_EQ(kFontName, dialog.faceName);
}

TEST(MainDialogTemplate, ControlsInTabOrder) {
  DialogTemplate dialog = LoadTemplate(IDD_MAIN);
  ExpectItems(dialog, kMainItems, sizeof(kMainItems) / sizeof(kMainItems[0]));
}

TEST(AboutDialogTemplate, FrameCaptionAndFont) {
  DialogTemplate dialog = LoadTemplate(IDD_ABOUT);
  // No system menu, hence no close box.
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT), dialog.style);
  EXPECT_EQ(160, dialog.cx);
  EXPECT_EQ(80, dialog.cy);
  EXPECT_EQ(L"", dialog.caption);
  EXPECT_FALSE(dialog.windowClass.isOrdinal);
  EXPECT_EQ(L"", dialog.windowClass.name);
  EXPECT_EQ(L"", dialog.menu.name);
  EXPECT_EQ(9, dialog.pointSize);
  EXPECT_EQ(kFontName, dialog.faceName);
}

TEST(AboutDialogTemplate, Controls) {
  DialogTemplate dialog = LoadTemplate(IDD_ABOUT);
  ExpectItems(dialog, kAboutItems, sizeof(kAboutItems) / sizeof(kAboutItems[0]));
  ASSERT_FALSE(dialog.items.empty());
  EXPECT_TRUE(dialog.items[0].text.isOrdinal);
  EXPECT_EQ(IDI_APP, dialog.items[0].text.ordinal);
}

TEST(DialogTemplateReader, RefusesEveryTruncation) {
  std::vector<unsigned char> bytes = ResourceBytes(RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN));
  ASSERT_FALSE(bytes.empty());
  DialogTemplate dialog;
  size_t shortest = bytes.size() + 1;
  for (size_t size = 0; size <= bytes.size(); ++size) {
    if (ParseDialogTemplate(bytes.data(), size, &dialog)) {
      shortest = size;
      break;
    }
  }
  // Only the alignment padding after the last item may be missing.
  EXPECT_LE(shortest, bytes.size());
  EXPECT_GE(shortest + 3, bytes.size());
  EXPECT_EQ(sizeof(kMainItems) / sizeof(kMainItems[0]), dialog.items.size());
}

// The templates as the dialog manager builds them.
class DialogWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MIDItoMORVEKClass";
    ASSERT_NE(0, RegisterClassExA(&wc));
  }
  void TearDown() override {
    if (m_window != nullptr) DestroyWindow(m_window);
    UnregisterClassA("MIDItoMORVEKClass", GetModuleHandleA(nullptr));
  }
  static INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

  HWND m_window = nullptr;
};

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

TEST_F(DialogWindows, MainWindowRunsTheRegisteredClass) {
  m_window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                               nullptr, 0);
  ASSERT_NE(nullptr, m_window);
  EXPECT_EQ("MIDItoMORVEKClass", ClassOf(m_window));
  EXPECT_EQ("MIDI to MORVEK", TextOf(m_window));
  EXPECT_FALSE(IsWindowVisible(m_window));
  for (const ExpectedItem& item : kMainItems) {
    if (item.id == kNoId) continue;
    EXPECT_NE(nullptr, GetDlgItem(m_window, item.id)) << item.id;
  }
  EXPECT_EQ("SysListView32", ClassOf(GetDlgItem(m_window, IDC_CHANNEL_LIST)));
  EXPECT_EQ("SysListView32", ClassOf(GetDlgItem(m_window, IDC_PART_LIST)));
  EXPECT_EQ("E&xit", TextOf(GetDlgItem(m_window, IDM_EXIT)));
}

TEST_F(DialogWindows, MainWindowLabelsReadAsCp932) {
  m_window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                               nullptr, 0);
  ASSERT_NE(nullptr, m_window);
  // The label before the part count field: "使用パート数(&P)".
  HWND field = GetDlgItem(m_window, IDC_PART_COUNT);
  HWND label = GetWindow(field, GW_HWNDPREV);
  EXPECT_EQ("\x8E\x67\x97\x70\x83\x70\x81\x5B\x83\x67\x90\x94(&P)", TextOf(label));
}

TEST_F(DialogWindows, AboutBoxShowsTheProgramIcon) {
  m_window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr,
                               NoDialogProc, 0);
  ASSERT_NE(nullptr, m_window);
  HWND icon = GetWindow(m_window, GW_CHILD);
  ASSERT_NE(nullptr, icon);
  EXPECT_NE(0, SendMessageA(icon, STM_GETICON, 0, 0));
  EXPECT_EQ("&OK", TextOf(GetDlgItem(m_window, IDOK)));
  EXPECT_EQ(0, GetWindowLongA(m_window, GWL_STYLE) & WS_SYSMENU);
}

}  // namespace
