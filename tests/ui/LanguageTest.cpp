// Every text of the window in the language its code page can show: run once
// under the Japanese code page (932) and once under a Western one (1252),
// after the same language choice WinMain makes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/AboutDialogHost.h"
#include "framework/UiLanguage.h"
#include "resources/ResourceIds.h"
#include "text/CodePage.h"
#include "tests/framework/WindowTestSupport.h"
#include "tests/ui/UiTestSupport.h"

namespace {

const UINT kJapaneseCodePage = 932;

// Main window, menu, column titles and drop-down lists as the user reads
// them after start, one line per text: the same in both languages but for
// the settings' labels and the resolution names.
const std::string kWindowHead =
    "caption MIDI to MORVEK\n"
    "Button &Open MIDI File\nButton &Convert\nButton &Save Source\nButton &About\nButton &Help\nButton E&xit\n"
    "Button MIDI File Information\nStatic MIDI File Name\nStatic Format Type\nStatic Time Base\n"
    "Static Used Channel\nStatic \nStatic 0\nStatic 480\nStatic 0\n"
    "Button MORVEK Source Setting\n";

const std::string kWindowListsAndMenus =
    "Static MIDI Channel List(&I)\nSysListView32 \nButton A&dd =>\nButton &Remove\n"
    "Static MORVEK Channel List(&Y)\nSysListView32 \nStatic MORVEK Source List(&V)\nEdit \n"
    "msctls_updown32 \nmsctls_updown32 \nmsctls_updown32 \n"
    "menu &File: &Open...\tF2|&Convert\tF3|&Save...\tF4|Conversion &Report...\tF7||Open &Leniently||E&xit\n"
    "menu &List: &Add\tF5|&Remove\tF6|menu &Voices: &1|&2|&3|&4|&6|&8|12|18\n"
    "menu Line &Length: &Off|255|250|240|200|160|120\n\n"
    "menu Pr&eview: &Play\tF8|S&top\tF9||Save Preview as &WAV...\tF11\n"
    "menu &Help: &Help\tF1||&About...\tF10\n"
    "columns No.|Tr.|Ch.|Step\n"
    "columns Part|No.|Tr.|Ch.|Step\n";

const std::string kJapaneseWindow =
    kWindowHead +
    "Static 使用パート数(&P)\nEdit 6\nStatic 最小分解能(&M)\nComboBox 32分音符\n"
    "Static 分割ステップ数(&B)\nEdit 1,920\nStatic 開始行番号(&N)\nEdit 1,000\nStatic PLAY文(&L)\nComboBox PLAY\n" +
    kWindowListsAndMenus +
    "choices 全音符|付点2分音符|2分音符|付点4分音符|4分音符|付点8分音符|6分音符|8分音符|付点16分音符|"
    "12分音符|16分音符|付点32分音符|24分音符|32分音符|48分音符|64分音符|96分音符|192分音符\n"
    "choices PLAY|PLAY HG|PLAY@\n";

const std::string kEnglishWindow =
    kWindowHead +
    "Static &Parts\nEdit 6\nStatic &Minimum note\nComboBox 32nd\n"
    "Static Steps per &block\nEdit 1,920\nStatic First line &no.\nEdit 1,000\nStatic PLAY s&tatement\nComboBox PLAY\n" +
    kWindowListsAndMenus +
    "choices Whole|Dotted half|Half|Dotted quarter|Quarter|Dotted 8th|Half triplet|8th|Dotted 16th|"
    "Quarter triplet|16th|Dotted 32nd|8th triplet|32nd|16th triplet|64th|32nd triplet|64th triplet\n"
    "choices PLAY|PLAY HG|PLAY@\n";

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string MenuTexts(HMENU menu)
{
    std::string text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char item[256] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), item, sizeof item, MF_BYPOSITION);
        HMENU popup = GetSubMenu(menu, i);
        if (popup != nullptr)
            text += std::string("menu ") + item + ": " + MenuTexts(popup) + "\n";
        else
            text += std::string(i > 0 ? "|" : "") + item;
    }
    return text;
}

std::string ColumnTitles(HWND list)
{
    std::string text = "columns ";
    for (int c = 0;; ++c) {
        char title[256] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column)))
            break;
        text += std::string(c > 0 ? "|" : "") + title;
    }
    return text + "\n";
}

std::string Choices(HWND combo)
{
    std::string text = "choices ";
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char item[256] = "";
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        text += std::string(i > 0 ? "|" : "") + item;
    }
    return text + "\n";
}

std::string WindowTexts(HWND hwnd)
{
    std::string text = "caption " + WindowText(hwnd) + "\n";
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        text += ClassOf(child) + " " + WindowText(child) + "\n";
    text += MenuTexts(GetMenu(hwnd));
    text += ColumnTitles(GetDlgItem(hwnd, IDC_CHANNEL_LIST));
    text += ColumnTitles(GetDlgItem(hwnd, IDC_PART_LIST));
    text += Choices(GetDlgItem(hwnd, IDC_RESOLUTION));
    text += Choices(GetDlgItem(hwnd, IDC_PLAY_KIND));
    return text;
}

// The access key of a text: the letter after a single '&', in capitals.
char AccessKey(const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&' && text[i + 1] != '&')
            return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
        if (text[i] == '&')
            ++i;
    }
    return 0;
}

// What each Alt+letter of the window reaches: labels and buttons, whose
// keys the dialog handles first, and the menus of the menu bar.
std::map<char, std::vector<std::string>> AltLetters(HWND hwnd)
{
    std::map<char, std::vector<std::string>> targets;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = ClassOf(child);
        const bool noPrefix = kind == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_NOPREFIX) != 0;
        char key = AccessKey(WindowText(child));
        if ((kind == "Static" || kind == "Button") && !noPrefix && key != 0)
            targets[key].push_back(kind + " " + WindowText(child));
    }
    HMENU menu = GetMenu(hwnd);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char item[256] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), item, sizeof item, MF_BYPOSITION);
        if (char key = AccessKey(item))
            targets[key].push_back(std::string("menu ") + item);
    }
    return targets;
}

// The width a text takes in a window's font, '&' marks left out.
int TextWidth(HWND window, const std::string& text)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT r = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return r.right;
}

// Every non-empty label of a window that is wider than its control.
std::vector<std::string> ClippedLabels(HWND hwnd)
{
    std::vector<std::string> clipped;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = WindowText(child);
        RECT client;
        GetClientRect(child, &client);
        if (ClassOf(child) == "Static" && !text.empty() && TextWidth(child, text) > client.right)
            clipped.push_back(text + " " + std::to_string(TextWidth(child, text)) + " > " +
                              std::to_string(client.right));
    }
    return clipped;
}

// Every column title and cell of a list view that its column cannot show
// whole, and the columns' sum when it passes the list's width (a
// horizontal scroll bar). Header and cells keep 6 edges of margin.
std::vector<std::string> ClippedColumns(HWND list)
{
    std::vector<std::string> clipped;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int margin = 6 * GetSystemMetrics(SM_CXEDGE);
    int total = 0;
    for (int c = 0; c < Header_GetItemCount(header); ++c) {
        const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
        total += width;
        std::vector<std::string> texts;
        char text[256] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        if (TextWidth(header, text) + margin > width)
            clipped.push_back(std::string("title ") + text + " " + std::to_string(TextWidth(header, text) + margin) +
                              " > " + std::to_string(width));
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            ListView_GetItemText(list, row, c, text, sizeof text);
            if (TextWidth(list, text) + margin > width)
                clipped.push_back(std::string("cell ") + text + " " + std::to_string(TextWidth(list, text) + margin) +
                                  " > " + std::to_string(width));
        }
    }
    RECT client;
    GetClientRect(list, &client);
    if (total > client.right)
        clipped.push_back("columns " + std::to_string(total) + " > " + std::to_string(client.right));
    return clipped;
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // As WinMain does before anything is loaded.
        m_japanese = GetACP() == kJapaneseCodePage;
        m_previous = m_language.SetThreadLanguage(m_language.ChooseLanguage(GetACP()));
        m_app.reset(new AppWindow);
        ASSERT_NE(nullptr, m_app->GetWindow());
    }
    void TearDown() override
    {
        m_app.reset();
        m_language.SetThreadLanguage(m_previous);
    }

    UiLanguage m_language;
    LANGID m_previous = 0;
    bool m_japanese = false;
    std::unique_ptr<AppWindow> m_app;
};

TEST_F(LanguageTest, RunsUnderOneOfTheTwoCodePages)
{
    // The test is registered twice, with LC_ALL=ja_JP.UTF-8 and C.UTF-8.
    EXPECT_TRUE(GetACP() == 932 || GetACP() == 1252) << GetACP();
}

TEST_F(LanguageTest, WindowMenuColumnsAndChoices)
{
    EXPECT_EQ(m_japanese ? kJapaneseWindow : kEnglishWindow, WindowTexts(m_app->GetHandle()));
}

TEST_F(LanguageTest, MessagesOfARefusedFileAndABadSetting)
{
    TempFolder folder;
    UiProbe& probe = m_app->GetProbe();
    probe.openAnswers.push_back(folder.Write("notes.mid", std::string("not a MIDI file")));
    m_app->Command(IDM_OPEN);
    probe.openAnswers.push_back(folder.Write("song.mid", ThreeListSong(96)));
    m_app->Command(IDM_OPEN);
    SetDlgItemTextA(m_app->GetHandle(), IDC_PART_COUNT, "19");
    m_app->Command(IDM_CONVERT);
    ASSERT_EQ(2u, probe.messages.size());
    if (m_japanese) {
        EXPECT_EQ("選択されたファイルはMIDIファイルではありません。", probe.messages[0].text);
        EXPECT_EQ("使用パート数 = 19\n\n使用パート数が不正です。\nパート数は1～18を設定してください。",
                  probe.messages[1].text);
    } else {
        EXPECT_EQ("The selected file is not a MIDI file.", probe.messages[0].text);
        EXPECT_EQ("Number of parts = 19\n\nThe number of parts is invalid.\nSet 1 to 18 parts.",
                  probe.messages[1].text);
    }
}

TEST_F(LanguageTest, PreviewNamesWhyTheSourceCannotBeReadInTheLanguage)
{
    TempFolder folder;
    UiProbe& probe = m_app->GetProbe();
    probe.openAnswers.push_back(folder.Write("song.mid", ThreeListSong(96)));
    m_app->Command(IDM_OPEN);
    m_app->Command(IDM_CONVERT);
    ASSERT_EQ(0u, probe.messages.size());
    const std::string source = ControlText(m_app->GetHandle(), IDC_SOURCE);
    SetDlgItemTextA(m_app->GetHandle(), IDC_SOURCE, (source + "1180 PLAY \"o4c!q\"\r\n").c_str());
    m_app->Command(IDM_PLAY);
    ASSERT_EQ(1u, probe.messages.size());
    std::string text = probe.messages[0].text;
    if (m_japanese) {
        // The reason in Japanese too: no ASCII word but the names PLAY and MML.
        for (const char* name : {"PLAY", "MML"}) {
            for (size_t at = text.find(name); at != std::string::npos; at = text.find(name))
                text.erase(at, std::strlen(name));
        }
        const CodePage japanese = CodePage::Japanese();
        for (const char* p = text.c_str(); *p; p = japanese.Next(p))
            EXPECT_FALSE(std::isalpha(static_cast<unsigned char>(*p)) && !japanese.IsLeadByte(*p)) << p;
    } else {
        EXPECT_NE(std::string::npos, text.find("\nnot an MML command")) << text;
    }
}

TEST_F(LanguageTest, HelpLooksForTheManualOfTheLanguage)
{
    TestMainWindow* window = m_app->GetWindow();
    const std::string manual = m_japanese ? "manual\\ja\\index.html" : "manual\\en\\index.html";
    EXPECT_EQ(TestProgramDirectory() + manual, window->GetManualPath());
    TempFolder folder;
    window->SetHelpPath(folder.PathOf("KALTON.HLP").c_str());
    window->SetManualPath(folder.PathOf("index.html"));
    m_app->GetProbe().helpChoice = true;
    m_app->Command(IDM_HELP);
    ASSERT_EQ(1u, m_app->GetProbe().messages.size());
    EXPECT_EQ(std::string(m_japanese ? "ヘルプファイルもマニュアルも見つかりません。\nパッケージの manual フォルダーを"
                                       " KALTON.EXE と同じフォルダーに置いてください。"
                                     : "Neither the help file nor the manual was found.\n"
                                       "Put the package's manual folder beside KALTON.EXE.") +
                  "\n\n" + folder.PathOf("KALTON.HLP") + "\n" + folder.PathOf("index.html"),
              m_app->GetProbe().messages[0].text);
}

TEST_F(LanguageTest, AboutBoxCaption)
{
    // The About box reads the version of KALTON.EXE beside this program.
    ModalScript script({PressButton(IDOK)});
    AboutDialogHost about;
    about.Show(GetModuleHandleA(nullptr), m_app->GetHandle());
    ASSERT_EQ(1, script.GetStepsRun());
    EXPECT_EQ(m_japanese ? "MIDI to MORVEK Converter について" : "About MIDI to MORVEK Converter",
              script.GetBoxCaptions()[0]);
}

TEST_F(LanguageTest, EveryAltLetterReachesOneThing)
{
    // The two pairs the window has always had: the Help button and the Help
    // menu, and in Japanese the PLAY label's L and the List menu. Alt+letter
    // takes the control.
    const std::set<std::string> kKeptPairs = {"H: Button &Help, menu &Help",
                                              "L: Static PLAY文(&L), menu &List"};
    for (const auto& letter : AltLetters(m_app->GetHandle())) {
        if (letter.second.size() < 2)
            continue;
        std::string pair = std::string(1, letter.first) + ":";
        for (const std::string& target : letter.second)
            pair += (pair.back() == ':' ? " " : ", ") + target;
        EXPECT_EQ(1u, kKeptPairs.count(pair)) << pair;
    }
}

TEST_F(LanguageTest, LabelsAndColumnsShowTheirTextsWhole)
{
    UiProbe& probe = m_app->GetProbe();
    TempFolder folder;
    probe.openAnswers.push_back(folder.Write("song.mid", ThreeListSong(480)));
    m_app->Command(IDM_OPEN);
    for (int i = 0; i < 3; ++i)
        m_app->Command(IDM_ADD);
    HWND hwnd = m_app->GetHandle();
    EXPECT_EQ(std::vector<std::string>(), ClippedLabels(hwnd));
    // The Japanese column widths stay as they always were. IPAPGothic, which
    // stands in for the dialog font under Wine, draws "No." and "Ch." 19
    // pixels wide, one more than these columns leave.
    const std::vector<std::string> kKeptWidths = {"title No. 31 > 30", "title Ch. 31 > 30"};
    const std::vector<std::string> whole;
    EXPECT_EQ(m_japanese ? kKeptWidths : whole, ClippedColumns(GetDlgItem(hwnd, IDC_CHANNEL_LIST)));
    EXPECT_EQ(m_japanese ? kKeptWidths : whole, ClippedColumns(GetDlgItem(hwnd, IDC_PART_LIST)));

    std::vector<std::string> about;
    DialogWatcher watcher([&about](HWND dialog) {
        about = ClippedLabels(dialog);
        EndDialogBy(dialog, DialogEnd::kOkCommand);
    });
    AboutDialogHost host;
    host.Show(GetModuleHandleA(nullptr), hwnd);
    EXPECT_TRUE(watcher.Acted());
    EXPECT_EQ(std::vector<std::string>(), about);
}

} // namespace
