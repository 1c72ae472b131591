// The real main window, hidden, with its message boxes, file dialogs, help
// and About box recorded instead of shown (TestMainWindow).
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"
#include "text/Texts.h"
#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "base/DiskFile.h"
#include "midi/MidiFile.h"
#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"
#include "resources/ResourceIds.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "tests/framework/WindowTestSupport.h"
#include "tests/support/ChordSong.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/PreviewPlayer.h"

namespace {

const char kCaption[] = "MIDI to MORVEK";
const UINT kWarning = 0x30;   // MB_OK | MB_ICONEXCLAMATION
const UINT kQuestion = 0x133; // MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2

std::vector<std::string> RowTexts(ListViewCtrl& list, int row, int columns)
{
    std::vector<std::string> texts;
    for (int c = 0; c < columns; ++c)
        texts.push_back(CellText(list, row, c));
    return texts;
}

struct Controls {
    bool open, convert, save, add, remove;
};

Controls ButtonStates(HWND hwnd)
{
    return {IsWindowEnabled(GetDlgItem(hwnd, IDM_OPEN)) != FALSE,
            IsWindowEnabled(GetDlgItem(hwnd, IDM_CONVERT)) != FALSE,
            IsWindowEnabled(GetDlgItem(hwnd, IDM_SAVE)) != FALSE,
            IsWindowEnabled(GetDlgItem(hwnd, IDM_ADD)) != FALSE,
            IsWindowEnabled(GetDlgItem(hwnd, IDM_REMOVE)) != FALSE};
}

bool MenuEnabled(HMENU menu, UINT id)
{
    UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

// The menu as the user sees it when opening it: WM_INITMENU comes first.
Controls MenuStates(HWND hwnd)
{
    HMENU menu = GetMenu(hwnd);
    SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    return {MenuEnabled(menu, IDM_OPEN), MenuEnabled(menu, IDM_CONVERT), MenuEnabled(menu, IDM_SAVE),
            MenuEnabled(menu, IDM_ADD), MenuEnabled(menu, IDM_REMOVE)};
}

std::string Describe(const Controls& c)
{
    std::string text;
    text += c.open ? "Open " : "-open ";
    text += c.convert ? "Convert " : "-convert ";
    text += c.save ? "Save " : "-save ";
    text += c.add ? "Add " : "-add ";
    text += c.remove ? "Remove" : "-remove";
    return text;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_app.GetHandle());
        ASSERT_NE(nullptr, Window());
    }

    HWND Hwnd() { return m_app.GetHandle(); }
    TestMainWindow* Window() { return m_app.GetWindow(); }
    UiProbe& Probe() { return m_app.GetProbe(); }

    // Open, with the open dialog answering path.
    void Open(const std::string& path)
    {
        Probe().openAnswers.push_back(path);
        m_app.Command(IDM_OPEN);
    }

    std::string OpenSong(int timeBase = 96, const std::string& name = "song.mid")
    {
        std::string path = m_folder.Write(name, ThreeListSong(timeBase));
        Open(path);
        return path;
    }

    // OpenSong at time base 96 and Convert; returns the program text.
    std::string OpenAndConvertSong()
    {
        OpenSong(96);
        m_app.Command(IDM_CONVERT);
        return Window()->GetSourceText();
    }

    void SelectRows(int channelRow, int partRow)
    {
        if (channelRow >= 0)
            Window()->GetMidiChannelList().SelectItem(channelRow);
        if (partRow >= 0)
            Window()->GetPartList().SelectItem(partRow);
    }

    void Assign(int channelRow, int partRow)
    {
        SelectRows(channelRow, partRow);
        m_app.Command(IDM_ADD);
    }

    // What the shared conversion entry point makes of the file at path.
    std::string EngineText(const std::string& path, const ConvertSettings& settings,
                           const std::vector<int>& assignment, int voices = 1)
    {
        std::string image = ReadWholeFile(path);
        Converter converter;
        ConvertSettings withVoices(settings);
        withVoices.SetVoiceCount(voices);
        MidiFile* file = converter.LoadMidiFile(reinterpret_cast<const unsigned char*>(image.data()),
                                                static_cast<unsigned long>(image.size()));
        const ConversionResult result = converter.Convert(*file, withVoices, assignment);
        EXPECT_EQ(Converter::kConvertOk, result.GetResult());
        converter.FreeMidiFile(file);
        return result.GetText();
    }

    TempFolder m_folder;
    AppWindow m_app;
};

// Runs a command line as its own process and waits for it; its exit code,
// or a code above 255 when it could not be started or did not end in a minute.
DWORD RunCommandLine(const std::string& command)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 0x100;
    DWORD code = 0x101;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// ---- Creation -----------------------------------------------------------------

TEST_F(MainWindowTest, CreationShowsTheDefaultsWithOnlyOpenEnabled)
{
    HWND hwnd = Hwnd();
    EXPECT_EQ(std::string(kCaption), WindowText(hwnd));
    EXPECT_EQ(std::string(kCaption), Window()->GetText());
    EXPECT_EQ(static_cast<unsigned>(MainWindow::kCanOpen), Window()->GetCommandState());

    EXPECT_EQ("", ControlText(hwnd, IDC_FILE_NAME));
    EXPECT_EQ("0", ControlText(hwnd, IDC_FORMAT));
    EXPECT_EQ("480", ControlText(hwnd, IDC_TIME_BASE));
    EXPECT_EQ("0", ControlText(hwnd, IDC_USED_CHANNELS));

    EXPECT_EQ("6", ControlText(hwnd, IDC_PART_COUNT));
    EXPECT_EQ(13, SendDlgItemMessageA(hwnd, IDC_RESOLUTION, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("1,920", ControlText(hwnd, IDC_SPLIT_STEP));
    EXPECT_EQ("1,000", ControlText(hwnd, IDC_FIRST_LINE));
    EXPECT_EQ(0, SendDlgItemMessageA(hwnd, IDC_PLAY_KIND, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("", ControlText(hwnd, IDC_SOURCE));

    EXPECT_EQ(0, Window()->GetMidiChannelList().GetItemCount());
    EXPECT_EQ(0, Window()->GetPartList().GetItemCount());
    EXPECT_EQ(4, Window()->GetMidiChannelList().GetColumnCount());
    EXPECT_EQ(5, Window()->GetPartList().GetColumnCount());

    EXPECT_EQ("Open -convert -save -add -remove", Describe(ButtonStates(hwnd)));
    EXPECT_EQ("Open -convert -save -add -remove", Describe(MenuStates(hwnd)));
}

TEST_F(MainWindowTest, DropDownListsHoldTheTablesInOrderWithIndexAsItemData)
{
    struct List {
        int id;
        int count;
        int firstString;
    };
    for (const List& list : {List{IDC_RESOLUTION, 18, 1100}, List{IDC_PLAY_KIND, 3, 1120}}) {
        ASSERT_EQ(list.count, SendDlgItemMessageA(Hwnd(), list.id, CB_GETCOUNT, 0, 0)) << list.id;
        for (int i = 0; i < list.count; ++i) {
            char text[256] = "";
            SendDlgItemMessageA(Hwnd(), list.id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(ProgramString(list.firstString + i), std::string(text)) << list.id << " item " << i;
            EXPECT_EQ(i, SendDlgItemMessageA(Hwnd(), list.id, CB_GETITEMDATA, i, 0)) << list.id;
        }
    }
}

TEST_F(MainWindowTest, UpDownControlsHaveTheirRangesAndBuddies)
{
    struct Spin {
        int id;
        int buddy;
        int lower;
        int upper;
    };
    for (const Spin& spin : {Spin{IDC_PART_COUNT_SPIN, IDC_PART_COUNT, 1, 18},
                             Spin{IDC_SPLIT_STEP_SPIN, IDC_SPLIT_STEP, 1, 1920},
                             Spin{IDC_FIRST_LINE_SPIN, IDC_FIRST_LINE, 1, 32000}}) {
        HWND control = GetDlgItem(Hwnd(), spin.id);
        ASSERT_NE(nullptr, control) << spin.id;
        EXPECT_EQ(GetDlgItem(Hwnd(), spin.buddy), reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0)));
        LRESULT range = SendMessageA(control, UDM_GETRANGE, 0, 0);
        EXPECT_EQ(spin.lower, HIWORD(range)) << spin.id;
        EXPECT_EQ(spin.upper, LOWORD(range)) << spin.id;
        EXPECT_EQ(0, GetWindowLongA(control, GWL_STYLE) & UDS_NOTHOUSANDS) << spin.id;
    }
    UDACCEL acceleration[4] = {};
    EXPECT_EQ(1, SendDlgItemMessageA(Hwnd(), IDC_SPLIT_STEP_SPIN, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(acceleration)));
    EXPECT_EQ(1u, acceleration[0].nSec);
    EXPECT_EQ(48u, acceleration[0].nInc);
    EXPECT_EQ(1, SendDlgItemMessageA(Hwnd(), IDC_FIRST_LINE_SPIN, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(acceleration)));
    EXPECT_EQ(10u, acceleration[0].nInc);
}

TEST_F(MainWindowTest, SourceBoxTakesMoreThanTheDefault32K)
{
    LRESULT limit = SendDlgItemMessageA(Hwnd(), IDC_SOURCE, EM_GETLIMITTEXT, 0, 0);
    EXPECT_GT(limit, 0x7FFF);
    // Typing past the old limit: the text grows.
    std::string longText(40000, 'A');
    SetDlgItemTextA(Hwnd(), IDC_SOURCE, longText.c_str());
    SendDlgItemMessageA(Hwnd(), IDC_SOURCE, EM_SETSEL, 40000, 40000);
    SendDlgItemMessageA(Hwnd(), IDC_SOURCE, WM_CHAR, 'B', 0);
    EXPECT_EQ(40001, GetWindowTextLengthA(GetDlgItem(Hwnd(), IDC_SOURCE)));
}

// ---- Open -----------------------------------------------------------------------

TEST_F(MainWindowTest, OpenShowsTheFileAndEnablesConvertAddRemove)
{
    std::string path = OpenSong(96);
    HWND hwnd = Hwnd();
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ(std::string(kCaption) + " - " + path, WindowText(hwnd));
    EXPECT_EQ(std::string(kCaption), Window()->GetText());

    EXPECT_EQ("song.mid", ControlText(hwnd, IDC_FILE_NAME));
    EXPECT_EQ("1", ControlText(hwnd, IDC_FORMAT));
    EXPECT_EQ("96", ControlText(hwnd, IDC_TIME_BASE));
    EXPECT_EQ("3", ControlText(hwnd, IDC_USED_CHANNELS));
    EXPECT_EQ("384", ControlText(hwnd, IDC_SPLIT_STEP));
    EXPECT_EQ("1,000", ControlText(hwnd, IDC_FIRST_LINE));
    EXPECT_EQ("6", ControlText(hwnd, IDC_PART_COUNT));
    EXPECT_EQ("song.txt", Window()->GetSettings().GetOutputName());
    ASSERT_NE(nullptr, Window()->GetMidiPath());
    EXPECT_EQ(path, Window()->GetMidiPath());

    ListViewCtrl& channels = Window()->GetMidiChannelList();
    ASSERT_EQ(3, channels.GetItemCount());
    // Track 1 channel 0: four quarter notes at 96; track 2 channel 1 ends
    // after eight quarters, channel 9 after a quarter and a half.
    EXPECT_EQ((std::vector<std::string>{"0", "1", "0", "384"}), RowTexts(channels, 0, 4));
    EXPECT_EQ((std::vector<std::string>{"1", "2", "1", "768"}), RowTexts(channels, 1, 4));
    EXPECT_EQ((std::vector<std::string>{"2", "2", "9", "144"}), RowTexts(channels, 2, 4));
    EXPECT_EQ(0, channels.GetFocusedItem());

    ListViewCtrl& parts = Window()->GetPartList();
    ASSERT_EQ(18, parts.GetItemCount());
    for (int row = 0; row < 18; ++row) {
        EXPECT_EQ((std::vector<std::string>{std::to_string(row), "", "", "", ""}), RowTexts(parts, row, 5));
        EXPECT_EQ(-1, parts.GetItemData(row));
    }
    EXPECT_EQ(0, parts.GetFocusedItem());

    EXPECT_EQ(static_cast<unsigned>(MainWindow::kCanOpen | MainWindow::kCanConvert), Window()->GetCommandState());
    EXPECT_EQ("Open Convert -save Add Remove", Describe(ButtonStates(hwnd)));
    EXPECT_EQ("Open Convert -save Add Remove", Describe(MenuStates(hwnd)));
}

TEST_F(MainWindowTest, ChannelRowsMatchTheNoteListsOfTheEngine)
{
    std::string path = OpenSong(480);
    std::string image = ReadWholeFile(path);
    Converter converter;
    MidiFile* file = converter.LoadMidiFile(reinterpret_cast<const unsigned char*>(image.data()),
                                            static_cast<unsigned long>(image.size()));
    NoteListSet* set = converter.BuildNoteListSet(file, ConvertSettings());
    ListViewCtrl& channels = Window()->GetMidiChannelList();
    ASSERT_EQ(set->GetCount(), channels.GetItemCount());
    for (int i = 0; i < set->GetCount(); ++i) {
        const NoteList* list = set->GetList(i);
        EXPECT_EQ((std::vector<std::string>{std::to_string(i), std::to_string(list->GetTrackIndex()),
                                            std::to_string(list->GetChannel()),
                                            FormatThousands(list->GetTotalTicks())}),
                  RowTexts(channels, i, 4));
    }
    converter.FreeNoteListSet(set);
    converter.FreeMidiFile(file);
}

// ---- Voices -------------------------------------------------------------------

struct MenuItemName {
    UINT id;
    const char* name;
};

// The checked ones of items as the user sees them when the menu opens, by
// their names.
std::string CheckedItems(HWND hwnd, const std::vector<MenuItemName>& items)
{
    HMENU menu = GetMenu(hwnd);
    SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    std::string checked;
    for (const MenuItemName& item : items) {
        UINT state = GetMenuState(menu, item.id, MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0)
            checked += std::string(checked.empty() ? "" : " ") + item.name;
    }
    return checked;
}

// The checked items of List > Voices, by their counts.
std::string CheckedVoices(HWND hwnd)
{
    return CheckedItems(hwnd, {{IDM_VOICES_1, "1"}, {IDM_VOICES_2, "2"}, {IDM_VOICES_3, "3"}, {IDM_VOICES_4, "4"},
                               {IDM_VOICES_6, "6"}, {IDM_VOICES_8, "8"}, {IDM_VOICES_12, "12"}, {IDM_VOICES_18, "18"}});
}

TEST_F(MainWindowTest, VoicesRebuildTheChannelListAndKeepSettingsAndSource)
{
    EXPECT_EQ("1", CheckedVoices(Hwnd()));
    std::vector<uint8_t> song = ChordSong(1, 96); // the triad held three quarters
    std::string path = m_folder.Write("chords.mid", std::vector<unsigned char>(song.begin(), song.end()));
    Open(path);
    ListViewCtrl& channels = Window()->GetMidiChannelList();
    ListViewCtrl& parts = Window()->GetPartList();
    ASSERT_EQ(1, channels.GetItemCount());
    EXPECT_EQ((std::vector<std::string>{"0", "1", "0", "288"}), RowTexts(channels, 0, 4));
    SetDlgItemTextA(Hwnd(), IDC_PART_COUNT, "4");
    Assign(0, 2);
    m_app.Command(IDM_CONVERT);
    const std::string source = Window()->GetSourceText();
    ASSERT_FALSE(source.empty());

    m_app.Command(IDM_VOICES_4);
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ("4", CheckedVoices(Hwnd()));
    EXPECT_EQ(4, Window()->GetSettings().GetVoiceCount());
    ASSERT_EQ(4, channels.GetItemCount());
    EXPECT_EQ((std::vector<std::string>{"0", "1", "0.1", "192"}), RowTexts(channels, 0, 4));
    EXPECT_EQ((std::vector<std::string>{"1", "1", "0.2", "288"}), RowTexts(channels, 1, 4));
    EXPECT_EQ((std::vector<std::string>{"2", "1", "0.3", "288"}), RowTexts(channels, 2, 4));
    EXPECT_EQ((std::vector<std::string>{"3", "1", "0.4", "288"}), RowTexts(channels, 3, 4));
    EXPECT_EQ("1", ControlText(Hwnd(), IDC_USED_CHANNELS)); // one channel in four lists
    EXPECT_EQ(0, channels.GetFocusedItem());
    // Assignments cleared, settings and source kept.
    ASSERT_EQ(18, parts.GetItemCount());
    for (int row = 0; row < 18; ++row) {
        EXPECT_EQ((std::vector<std::string>{std::to_string(row), "", "", "", ""}), RowTexts(parts, row, 5));
        EXPECT_EQ(-1, parts.GetItemData(row));
    }
    EXPECT_EQ(0, parts.GetFocusedItem());
    EXPECT_EQ("4", ControlText(Hwnd(), IDC_PART_COUNT));
    EXPECT_EQ(source, Window()->GetSourceText());
    EXPECT_EQ("Open Convert Save Add Remove", Describe(ButtonStates(Hwnd())));

    // The part rows show the voice too, and Convert gives the shared entry
    // point's text with four voices.
    for (int i = 0; i < 4; ++i)
        Assign(i, i);
    EXPECT_EQ((std::vector<std::string>{"1", "1", "1", "0.2", "288"}), RowTexts(parts, 1, 5));
    m_app.Command(IDM_CONVERT);
    ConvertSettings settings;
    settings.SetPartCount(4);
    settings.SetSplitStepCount(384);
    EXPECT_EQ(EngineText(path, settings, {0, 1, 2, 3}, 4), Window()->GetSourceText());

    // The choice stays for the next file; back at one voice the rows are as
    // they always were.
    Open(path);
    EXPECT_EQ(4, channels.GetItemCount());
    m_app.Command(IDM_VOICES_1);
    EXPECT_EQ("1", CheckedVoices(Hwnd()));
    ASSERT_EQ(1, channels.GetItemCount());
    EXPECT_EQ((std::vector<std::string>{"0", "1", "0", "288"}), RowTexts(channels, 0, 4));
    EXPECT_EQ("1", ControlText(Hwnd(), IDC_USED_CHANNELS));
}

// The checked item of List > Line Length, by its text.
std::string CheckedLineLength(HWND hwnd)
{
    return CheckedItems(hwnd, {{IDM_LINES_OFF, "Off"}, {IDM_LINES_255, "255"}, {IDM_LINES_250, "250"},
                               {IDM_LINES_240, "240"}, {IDM_LINES_200, "200"}, {IDM_LINES_160, "160"},
                               {IDM_LINES_120, "120"}});
}

TEST_F(MainWindowTest, LineLengthFitsTheNextConversionsAndStays)
{
    EXPECT_EQ("Off", CheckedLineLength(Hwnd()));
    m_app.Command(IDM_LINES_120);
    EXPECT_EQ("120", CheckedLineLength(Hwnd()));
    std::string path = OpenSong(96);
    SetDlgItemTextA(Hwnd(), IDC_PART_COUNT, "18");
    for (int row = 0; row < 18; ++row)
        Assign(row % 3, row);
    m_app.Command(IDM_CONVERT);
    ConvertSettings settings;
    settings.SetPartCount(18);
    settings.SetSplitStepCount(384);
    std::vector<int> assignment;
    for (int row = 0; row < 18; ++row)
        assignment.push_back(row % 3);
    const std::string plain = EngineText(path, settings, assignment);
    settings.SetLineLimit(120);
    const std::string fitted = EngineText(path, settings, assignment);
    EXPECT_NE(plain, fitted);
    EXPECT_EQ(fitted, Window()->GetSourceText());
    EXPECT_EQ("120", CheckedLineLength(Hwnd()));

    m_app.Command(IDM_LINES_OFF);
    m_app.Command(IDM_CONVERT);
    EXPECT_EQ(plain, Window()->GetSourceText());
    EXPECT_EQ("Off", CheckedLineLength(Hwnd()));
}

TEST_F(MainWindowTest, VoicesWithoutAFileOnlyChooseTheCount)
{
    m_app.Command(IDM_VOICES_18);
    EXPECT_EQ("18", CheckedVoices(Hwnd()));
    EXPECT_EQ(0, Window()->GetMidiChannelList().GetItemCount());
    EXPECT_EQ(0, Window()->GetPartList().GetItemCount());
    EXPECT_EQ("Open -convert -save -add -remove", Describe(ButtonStates(Hwnd())));
    std::string path = OpenSong(96);
    // No chords: every list is its channel's first voice.
    EXPECT_EQ((std::vector<std::string>{"2", "2", "9.1", "144"}),
              RowTexts(Window()->GetMidiChannelList(), 2, 4));
}

TEST_F(MainWindowTest, OpenDialogIsSetUpForMidiFilesAndProposesTheLastFile)
{
    std::string first = OpenSong(96, "first.mid");
    std::string second = OpenSong(96, "second.mid");
    ASSERT_EQ(2u, Probe().openCalls.size());
    const DialogCall& call = Probe().openCalls[0];
    EXPECT_EQ(static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A), call.structSize);
    EXPECT_EQ(Hwnd(), call.owner);
    const char filter[] = "Standerd MIDI format file(*.mid;*.smf)\0*.mid;*.smf\0All file (*.*)\0*.*\0";
    EXPECT_EQ(std::string(filter, sizeof filter), call.filter);
    EXPECT_EQ(1u, call.filterIndex);
    EXPECT_EQ(256u, call.bufferSize);
    EXPECT_EQ(static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY), call.flags);
    EXPECT_EQ(0x1004u, call.flags);
    EXPECT_EQ("mid", call.defaultExtension);
    EXPECT_EQ("", call.proposal);
    EXPECT_EQ(first, Probe().openCalls[1].proposal);
    EXPECT_EQ(second, Window()->GetMidiPath());
}

struct TimeBaseCase {
    int timeBase;
    const char* timeBaseText;
    const char* splitText;
};

class OpenTimeBaseTest : public MainWindowTest, public ::testing::WithParamInterface<TimeBaseCase> {};

TEST_P(OpenTimeBaseTest, SplitStepCountBecomesFourQuarterNotes)
{
    OpenSong(GetParam().timeBase);
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ(GetParam().timeBaseText, ControlText(Hwnd(), IDC_TIME_BASE));
    EXPECT_EQ(GetParam().splitText, ControlText(Hwnd(), IDC_SPLIT_STEP));
    EXPECT_EQ(4 * GetParam().timeBase, Window()->GetSettings().GetSplitStepCount());
    EXPECT_EQ("1,000", ControlText(Hwnd(), IDC_FIRST_LINE));
}

INSTANTIATE_TEST_SUITE_P(SupportedTimeBases, OpenTimeBaseTest,
                         ::testing::Values(TimeBaseCase{48, "48", "192"}, TimeBaseCase{96, "96", "384"},
                                           TimeBaseCase{240, "240", "960"},
                                           TimeBaseCase{480, "480", "1,920"}),
                         [](const ::testing::TestParamInfo<TimeBaseCase>& info) {
                             return "TimeBase" + std::to_string(info.param.timeBase);
                         });

TEST_F(MainWindowTest, CancelledOpenChangesNothing)
{
    std::string path = OpenSong(96);
    Probe().openAnswers.push_back("");
    m_app.Command(IDM_OPEN);
    EXPECT_EQ(2u, Probe().openCalls.size());
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ(std::string(kCaption) + " - " + path, WindowText(Hwnd()));
    EXPECT_EQ(3, Window()->GetMidiChannelList().GetItemCount());
    EXPECT_EQ(18, Window()->GetPartList().GetItemCount());
    EXPECT_EQ(3u, Window()->GetCommandState());
}

// A refused file: the message, then the window as reset by Open.
struct Refusal {
    const char* name;
    std::vector<unsigned char> image;
    std::string message; // after "FILE NAME = song.mid\n..." where there is one
    const char* format;  // the information fields afterwards
    const char* timeBase;
};

class RefusalTest : public MainWindowTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, ShowsItsMessageAndLeavesTheWindowEmpty)
{
    // A file loaded before: the refusal must clear its lists.
    OpenSong(96, "before.mid");
    ASSERT_EQ(3u, Window()->GetCommandState());

    std::string path = m_folder.Write("song.mid", GetParam().image);
    Open(path);
    ASSERT_EQ(1u, Probe().messages.size());
    const ShownMessage& message = Probe().messages[0];
    EXPECT_EQ(GetParam().message, message.text);
    EXPECT_EQ(std::string(kCaption), message.caption);
    EXPECT_EQ(kWarning, message.flags);
    EXPECT_EQ(Hwnd(), message.owner);

    EXPECT_EQ(std::string(kCaption) + " - " + path, WindowText(Hwnd()));
    EXPECT_EQ(1u, Window()->GetCommandState());
    EXPECT_EQ("Open -convert -save -add -remove", Describe(ButtonStates(Hwnd())));
    EXPECT_EQ("Open -convert -save -add -remove", Describe(MenuStates(Hwnd())));
    EXPECT_EQ(0, Window()->GetMidiChannelList().GetItemCount());
    EXPECT_EQ(0, Window()->GetPartList().GetItemCount());
    EXPECT_EQ(GetParam().format, ControlText(Hwnd(), IDC_FORMAT));
    EXPECT_EQ(GetParam().timeBase, ControlText(Hwnd(), IDC_TIME_BASE));
    EXPECT_EQ("1,920", ControlText(Hwnd(), IDC_SPLIT_STEP));
    EXPECT_EQ("", ControlText(Hwnd(), IDC_SOURCE));

    // Convert is not reachable, not even by its command.
    m_app.Command(IDM_CONVERT);
    EXPECT_EQ("", ControlText(Hwnd(), IDC_SOURCE));
    EXPECT_EQ(1u, Window()->GetCommandState());
}

std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusalTest,
    ::testing::Values(
        // 1231, written out in code page 932 bytes.
        Refusal{"NotMidi", Bytes("This is not a MIDI file.\r\n"),
                "\x91\x49\x91\xF0\x82\xB3\x82\xEA\x82\xBD\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x4D\x49\x44"
                "\x49\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
                "\x81\x42",
                "0", "480"},
        Refusal{"Format2", ThreeListSong(96, 2),
                std::string("FILE NAME = song.mid\nFORMAT = 2\n\n") + GetString(kStrBadFormat), "2", "96"},
        Refusal{"TimeBase120", ThreeListSong(120),
                std::string("FILE NAME = song.mid\nTIME BASE = 120\n\n") + GetString(kStrBadTimeBase), "1",
                "120"},
        Refusal{"TimeBase960", ThreeListSong(960),
                std::string("FILE NAME = song.mid\nTIME BASE = 960\n\n") + GetString(kStrBadTimeBase), "1",
                "960"},
        Refusal{"Empty", Bytes(""), GetString(kStrNotMidi), "0", "480"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

TEST_F(MainWindowTest, RefusalTextsComeFromTheStringTable)
{
    EXPECT_EQ(std::string(GetString(kStrNotMidi)), ProgramString(1231));
    EXPECT_EQ(std::string(GetString(kStrBadTimeBase)), ProgramString(1232));
    EXPECT_EQ(std::string(GetString(kStrBadFormat)), ProgramString(1233));
}

// ---- Files that exist but cannot be read --------------------------------------

TEST_F(MainWindowTest, LockedFileNamesTheFileAndTheReasonAndLoadsNothing)
{
    std::string good = OpenSong(96, "good.mid");
    std::string path = m_folder.Write("locked.mid", ThreeListSong(96));
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Open(path);
    CloseHandle(lock);

    ASSERT_EQ(1u, Probe().messages.size());
    const ShownMessage& message = Probe().messages[0];
    std::string lead = path + "\n\n" + GetString(kStrReadFailed) + "\n";
    ASSERT_EQ(lead, message.text.substr(0, lead.size()));
    EXPECT_EQ(DiskFile().DescribeError(ERROR_SHARING_VIOLATION), message.text.substr(lead.size()));
    EXPECT_EQ(kWarning, message.flags);
    EXPECT_EQ(std::string(kCaption), message.caption);

    EXPECT_EQ(nullptr, Window()->GetMidiFile());
    EXPECT_EQ(nullptr, Window()->GetNoteListSet());
    EXPECT_EQ(1u, Window()->GetCommandState());
    EXPECT_EQ("", ControlText(Hwnd(), IDC_FILE_NAME));
    EXPECT_EQ(0, Window()->GetMidiChannelList().GetItemCount());
    EXPECT_EQ(std::string(kCaption) + " - " + path, WindowText(Hwnd()));
    // The next Open still proposes the last file that loaded.
    Probe().openAnswers.push_back("");
    m_app.Command(IDM_OPEN);
    EXPECT_EQ(good, Probe().openCalls.back().proposal);
}

// expected: the code the message describes.
using ReadFailure = FailingDiskFile::Case;

class ReadFailureTest : public MainWindowTest, public ::testing::WithParamInterface<ReadFailure> {};

TEST_P(ReadFailureTest, NamesTheFileAndTheReasonInsteadOfLoading)
{
    OpenSong(96, "before.mid");
    std::string path = m_folder.Write("song.mid", ThreeListSong(96));
    const ReadFailure failure = GetParam();
    Probe().diskFileFactory = [failure]() { return new FailingDiskFile(failure.failure, failure.code); };
    Open(path);

    ASSERT_EQ(1u, Probe().messages.size()) << "a short image must not reach the converter";
    EXPECT_EQ(path + "\n\n" + GetString(kStrReadFailed) + "\n" + DiskFile().DescribeError(failure.expected),
              Probe().messages[0].text);
    EXPECT_EQ(kWarning, Probe().messages[0].flags);
    EXPECT_EQ(nullptr, Window()->GetMidiFile());
    EXPECT_EQ(1u, Window()->GetCommandState());
    EXPECT_EQ(0, Window()->GetPartList().GetItemCount());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ReadFailureTest,
    ::testing::Values(ReadFailure{"OpenDenied", FailingDiskFile::kOpen, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
                      ReadFailure{"SizeFails", FailingDiskFile::kSize, ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE},
                      ReadFailure{"ReadFails", FailingDiskFile::kRead, ERROR_LOCK_VIOLATION, ERROR_LOCK_VIOLATION},
                      ReadFailure{"ShortRead", FailingDiskFile::kShortRead, 0, ERROR_HANDLE_EOF}),
    [](const ::testing::TestParamInfo<ReadFailure>& info) { return info.param.name; });

// ---- What a failed Open leaves loaded -------------------------------------------

// After a file without notes (a note-list set of no lists) was loaded.
struct FailedOpen {
    const char* name;
    std::vector<unsigned char> image;
    FailingDiskFile::Failure failure;
    int fileFormat;        // of the loaded file; -1: none loaded
    int listCount;         // of the loaded note lists; -1: none
    bool takesPath;        // the next Open proposes this file, not the earlier one
    const char* fileName;  // the information fields
    const char* usedChannels;
};

class FailedOpenTest : public MainWindowTest, public ::testing::WithParamInterface<FailedOpen> {};

TEST_P(FailedOpenTest, KeepsWhatItsStepAllows)
{
    const FailedOpen& c = GetParam();
    std::string before = m_folder.Write("before.mid", SongWithoutNotes(96));
    Open(before);
    ASSERT_EQ(3u, Window()->GetCommandState());
    ASSERT_NE(nullptr, Window()->GetNoteListSet());

    std::string path = m_folder.Write("song.mid", c.image);
    const FailingDiskFile::Failure failure = c.failure;
    Probe().diskFileFactory = [failure]() { return new FailingDiskFile(failure, ERROR_LOCK_VIOLATION); };
    Open(path);
    ASSERT_EQ(1u, Probe().messages.size());

    const MidiFile* file = Window()->GetMidiFile();
    EXPECT_EQ(c.fileFormat, file != nullptr ? file->GetFormat() : -1);
    const NoteListSet* set = Window()->GetNoteListSet();
    EXPECT_EQ(c.listCount, set != nullptr ? Window()->GetConverter().GetListCount(*set) : -1);
    ASSERT_NE(nullptr, Window()->GetMidiPath());
    EXPECT_EQ(c.takesPath ? path : before, Window()->GetMidiPath());
    EXPECT_EQ(c.fileName, ControlText(Hwnd(), IDC_FILE_NAME));
    EXPECT_EQ(c.usedChannels, ControlText(Hwnd(), IDC_USED_CHANNELS));
    EXPECT_EQ(1u, Window()->GetCommandState());
    EXPECT_EQ("Open -convert -save -add -remove", Describe(ButtonStates(Hwnd())));
    EXPECT_EQ(0, Window()->GetMidiChannelList().GetItemCount());
    EXPECT_EQ(0, Window()->GetPartList().GetItemCount());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailedOpenTest,
    ::testing::Values(
        // Nothing of an unreadable file, and nothing of the one before.
        FailedOpen{"Unreadable", ThreeListSong(96), FailingDiskFile::kRead, -1, -1, false, "", "0"},
        // The earlier file is gone, its note lists stay until a file replaces them.
        FailedOpen{"NotMidi", std::vector<unsigned char>(40, 'x'), FailingDiskFile::kNoFailure, -1, 0, false,
                   "", "0"},
        // A refused format or time base keeps the new file and shows it.
        FailedOpen{"Format2", ThreeListSong(96, 2), FailingDiskFile::kNoFailure, 2, 3, true, "song.mid", "3"},
        FailedOpen{"TimeBase120", ThreeListSong(120), FailingDiskFile::kNoFailure, 1, 3, true, "song.mid",
                   "3"}),
    [](const ::testing::TestParamInfo<FailedOpen>& info) { return info.param.name; });

// ---- Add and Remove -------------------------------------------------------------

TEST_F(MainWindowTest, AddAssignsTheFocusedListAndMovesBothFocuses)
{
    OpenSong(96);
    Assign(1, 0);
    ListViewCtrl& parts = Window()->GetPartList();
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2", "1", "768"}), RowTexts(parts, 0, 5));
    EXPECT_EQ(1, parts.GetItemData(0));
    EXPECT_EQ(2, Window()->GetMidiChannelList().GetFocusedItem());
    EXPECT_EQ(1, parts.GetFocusedItem());
}

TEST_F(MainWindowTest, RepeatedAddStaysOnTheLastChannelRow)
{
    OpenSong(96);
    for (int i = 0; i < 4; ++i)
        m_app.Command(IDM_ADD);
    ListViewCtrl& parts = Window()->GetPartList();
    EXPECT_EQ(0, parts.GetItemData(0));
    EXPECT_EQ(1, parts.GetItemData(1));
    EXPECT_EQ(2, parts.GetItemData(2));
    EXPECT_EQ(2, parts.GetItemData(3)); // the same list may go to several parts
    EXPECT_EQ((std::vector<std::string>{"3", "2", "2", "9", "144"}), RowTexts(parts, 3, 5));
    EXPECT_EQ(2, Window()->GetMidiChannelList().GetFocusedItem());
    EXPECT_EQ(4, parts.GetFocusedItem());
}

TEST_F(MainWindowTest, AddOnTheLastPartRowKeepsItsFocus)
{
    OpenSong(96);
    Assign(0, 17);
    ListViewCtrl& parts = Window()->GetPartList();
    EXPECT_EQ(0, parts.GetItemData(17));
    EXPECT_EQ(17, parts.GetFocusedItem());
    EXPECT_EQ(1, Window()->GetMidiChannelList().GetFocusedItem());
    // Overwriting an assigned row.
    Assign(2, 17);
    EXPECT_EQ(2, parts.GetItemData(17));
    EXPECT_EQ((std::vector<std::string>{"17", "2", "2", "9", "144"}), RowTexts(parts, 17, 5));
}

TEST_F(MainWindowTest, RemoveClearsTheRowAndMovesDownButNotPastTheEnd)
{
    OpenSong(96);
    Assign(0, 0);
    Assign(1, 17);
    ListViewCtrl& parts = Window()->GetPartList();
    SelectRows(-1, 0);
    m_app.Command(IDM_REMOVE);
    EXPECT_EQ((std::vector<std::string>{"0", "", "", "", ""}), RowTexts(parts, 0, 5));
    EXPECT_EQ(-1, parts.GetItemData(0));
    EXPECT_EQ(1, parts.GetFocusedItem());

    SelectRows(-1, 17);
    const int channelFocus = Window()->GetMidiChannelList().GetFocusedItem();
    m_app.Command(IDM_REMOVE);
    EXPECT_EQ((std::vector<std::string>{"17", "", "", "", ""}), RowTexts(parts, 17, 5));
    EXPECT_EQ(-1, parts.GetItemData(17));
    EXPECT_EQ(17, parts.GetFocusedItem());
    EXPECT_EQ(channelFocus, Window()->GetMidiChannelList().GetFocusedItem());
}

TEST_F(MainWindowTest, AddWithAnEmptyChannelListDoesNothing)
{
    Open(m_folder.Write("silent.mid", SongWithoutNotes(96)));
    ASSERT_TRUE(Probe().messages.empty());
    ASSERT_EQ(3u, Window()->GetCommandState()); // Add is enabled
    EXPECT_EQ("0", ControlText(Hwnd(), IDC_USED_CHANNELS));
    EXPECT_EQ(0, Window()->GetMidiChannelList().GetItemCount());
    m_app.Command(IDM_ADD);
    ListViewCtrl& parts = Window()->GetPartList();
    for (int row = 0; row < 18; ++row) {
        EXPECT_EQ(-1, parts.GetItemData(row));
        EXPECT_EQ("", CellText(parts, row, 1));
    }
    EXPECT_EQ(0, parts.GetFocusedItem());
    // Convert of a file without notes gives the header alone.
    m_app.Command(IDM_CONVERT);
    EXPECT_EQ(7u, Window()->GetCommandState());
    EXPECT_EQ(0u, Window()->GetSourceText().find("1000 CLEAR 300,&H5600\r\n"));
    EXPECT_EQ(std::string::npos, Window()->GetSourceText().find("1100 "));
}

TEST_F(MainWindowTest, AddAndRemoveWithoutAFocusedPartRowDoNothing)
{
    OpenSong(96);
    Assign(0, 3);
    ListViewCtrl& parts = Window()->GetPartList();
    parts.ClearItemState(parts.GetFocusedItem());
    ASSERT_EQ(-1, parts.GetFocusedItem());
    m_app.Command(IDM_ADD);
    m_app.Command(IDM_REMOVE);
    for (int row = 0; row < 18; ++row)
        EXPECT_EQ(row == 3 ? 0 : -1, parts.GetItemData(row)) << row;
    EXPECT_EQ(1, Window()->GetMidiChannelList().GetFocusedItem());
}

// ---- Convert ------------------------------------------------------------------

TEST_F(MainWindowTest, ConvertUsesOnlyThePartCountsRowsAndMatchesTheSharedEntryPoint)
{
    std::string path = OpenSong(96);
    SetDlgItemTextA(Hwnd(), IDC_PART_COUNT, "4");
    Assign(0, 0);
    Assign(1, 1);
    Assign(2, 3);
    Assign(0, 5); // beyond the part count: ignored
    m_app.Command(IDM_CONVERT);
    ASSERT_TRUE(Probe().messages.empty());

    ConvertSettings settings;
    settings.SetPartCount(4);
    settings.SetSplitStepCount(384);
    std::string expected = EngineText(path, settings, {0, 1, -1, 2});
    EXPECT_EQ(expected, Window()->GetSourceText());
    EXPECT_EQ(expected, ControlText(Hwnd(), IDC_SOURCE));
    EXPECT_EQ(0u, expected.find("1000 CLEAR 300,&H5600\r\n1010 LOADM \"ZEBLOKUM\"\r\n"));
    size_t play = expected.find("1100 PLAY ");
    ASSERT_NE(std::string::npos, play);
    // Four quoted strings per line, the third one empty.
    std::string line = expected.substr(play, expected.find("\r\n", play) - play);
    EXPECT_EQ(3, std::count(line.begin(), line.end(), ','));
    EXPECT_NE(std::string::npos, line.find("\"\",\"")) << line;

    EXPECT_EQ(7u, Window()->GetCommandState());
    EXPECT_EQ("Open Convert Save Add Remove", Describe(ButtonStates(Hwnd())));
    EXPECT_EQ("Open Convert Save Add Remove", Describe(MenuStates(Hwnd())));

    // Converting again with the same settings gives the same text.
    m_app.Command(IDM_CONVERT);
    EXPECT_EQ(expected, Window()->GetSourceText());
}

TEST_F(MainWindowTest, ConvertReadsEveryFieldOfTheSettings)
{
    std::string path = OpenSong(480);
    SetDlgItemTextA(Hwnd(), IDC_PART_COUNT, "18");
    SetDlgItemTextA(Hwnd(), IDC_SPLIT_STEP, "960");
    SetDlgItemTextA(Hwnd(), IDC_FIRST_LINE, "32,000");
    SendDlgItemMessageA(Hwnd(), IDC_RESOLUTION, CB_SETCURSEL, 10, 0);
    SendDlgItemMessageA(Hwnd(), IDC_PLAY_KIND, CB_SETCURSEL, 2, 0);
    Assign(1, 0);
    Assign(0, 17);
    m_app.Command(IDM_CONVERT);
    ASSERT_TRUE(Probe().messages.empty());

    ConvertSettings settings;
    settings.SetPartCount(18);
    settings.SetSplitStepCount(960);
    settings.SetFirstLineNumber(32000);
    settings.SetMinimumResolution(10);
    settings.SetPlayKind(2);
    std::vector<int> assignment(18, -1);
    assignment[0] = 1;
    assignment[17] = 0;
    EXPECT_EQ(EngineText(path, settings, assignment), Window()->GetSourceText());
    EXPECT_NE(std::string::npos, Window()->GetSourceText().find("32100 PLAY@ "));
    // The record keeps what it showed last: Convert does not store the fields.
    EXPECT_EQ(6, Window()->GetSettings().GetPartCount());
}

TEST_F(MainWindowTest, ConvertGivesTheBytesOfTheCommandLineTool)
{
    std::string path = OpenSong(240);
    SetDlgItemTextA(Hwnd(), IDC_PART_COUNT, "3");
    SendDlgItemMessageA(Hwnd(), IDC_RESOLUTION, CB_SETCURSEL, 7, 0); // eighth note
    SendDlgItemMessageA(Hwnd(), IDC_PLAY_KIND, CB_SETCURSEL, 1, 0);
    Assign(2, 0);
    Assign(0, 2);
    m_app.Command(IDM_CONVERT);
    ASSERT_TRUE(Probe().messages.empty());

    std::string output = m_folder.PathOf("tool.txt");
    std::string command = "\"" + TestProgramDirectory() + "midi2morvek.exe\" \"" + path +
                          "\" --parts 3 --assign 2,-,0 --resolution 8 --kind \"PLAY HG\" --output \"" + output + "\"";
    ASSERT_EQ(0u, RunCommandLine(command)) << command;
    EXPECT_EQ(ReadWholeFile(output), Window()->GetSourceText());
}

// File > Open Leniently as the user sees it: checked or not.
bool LenientChecked(HWND hwnd)
{
    HMENU menu = GetMenu(hwnd);
    SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    return (GetMenuState(menu, IDM_OPEN_LENIENTLY, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST_F(MainWindowTest, OpenLenientlyRetimesAndConvertsAsTheCommandLineTool)
{
    SongGenerator generator;
    generator.SetTimeBase(1024);
    generator.SetTrackCount(3);
    generator.SetHumanTiming(true);
    const std::vector<uint8_t> song = generator.Build(600);
    const std::string path = m_folder.Write("odd.mid", std::vector<unsigned char>(song.begin(), song.end()));
    EXPECT_FALSE(LenientChecked(Hwnd()));
    Open(path);
    ASSERT_EQ(1u, Probe().messages.size());                     // the time base refusal, as ever
    EXPECT_EQ("1,024", ControlText(Hwnd(), IDC_TIME_BASE));
    Probe().messages.clear();

    m_app.Command(IDM_OPEN_LENIENTLY);
    EXPECT_TRUE(LenientChecked(Hwnd()));
    Open(path);
    ASSERT_TRUE(Probe().messages.empty());
    EXPECT_TRUE(LenientChecked(Hwnd()));
    EXPECT_EQ(FormatText(GetString(kStrRetimedTimeBase), "1,024", 480), ControlText(Hwnd(), IDC_TIME_BASE));
    EXPECT_EQ("1,920", ControlText(Hwnd(), IDC_SPLIT_STEP));
    for (int row = 0; row < 3; ++row)
        Assign(row, row);
    m_app.Command(IDM_CONVERT);
    ASSERT_TRUE(Probe().messages.empty());
    const std::string output = m_folder.PathOf("lenient.txt");
    const std::string command = "\"" + TestProgramDirectory() + "midi2morvek.exe\" --lenient \"" + path +
                                "\" --assign 0,1,2 --output \"" + output + "\"";
    ASSERT_EQ(0u, RunCommandLine(command)) << command;
    EXPECT_EQ(ReadWholeFile(output), Window()->GetSourceText());
    EXPECT_NE(std::string::npos, Window()->GetSourceText().find(" PLAY "));

    m_app.Command(IDM_OPEN_LENIENTLY);
    EXPECT_FALSE(LenientChecked(Hwnd()));
}

struct SettingsFault {
    const char* name;
    const char* split;
    const char* parts;
    const char* firstLine;
    std::string message;
};

class SettingsFaultTest : public MainWindowTest, public ::testing::WithParamInterface<SettingsFault> {};

TEST_P(SettingsFaultTest, ShowsTheFirstFailingCheckAndChangesNothing)
{
    const std::string before = OpenAndConvertSong();
    ASSERT_FALSE(before.empty());

    SetDlgItemTextA(Hwnd(), IDC_SPLIT_STEP, GetParam().split);
    SetDlgItemTextA(Hwnd(), IDC_PART_COUNT, GetParam().parts);
    SetDlgItemTextA(Hwnd(), IDC_FIRST_LINE, GetParam().firstLine);
    m_app.Command(IDM_CONVERT);
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(GetParam().message, Probe().messages[0].text);
    EXPECT_EQ(std::string(kCaption), Probe().messages[0].caption);
    EXPECT_EQ(kWarning, Probe().messages[0].flags);
    EXPECT_EQ(Hwnd(), Probe().messages[0].owner);
    EXPECT_EQ(before, Window()->GetSourceText());
    EXPECT_EQ(before, ControlText(Hwnd(), IDC_SOURCE));
    EXPECT_EQ(7u, Window()->GetCommandState());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, SettingsFaultTest,
    ::testing::Values(
        SettingsFault{"SplitTooLarge", "2,000", "6", "1,000",
                      std::string("分割ステップ数 = 2000\n\n") + GetString(kStrBadSplitStep)},
        SettingsFault{"SplitBeforePartCount", "0", "0", "0",
                      std::string("分割ステップ数 = 0\n\n") + GetString(kStrBadSplitStep)},
        SettingsFault{"PartCountBeforeLine", "1,920", "19", "0",
                      std::string("使用パート数 = 19\n\n") + GetString(kStrBadPartCount)},
        SettingsFault{"PartCountEmpty", "384", "", "1,000",
                      std::string("使用パート数 = 0\n\n") + GetString(kStrBadPartCount)},
        SettingsFault{"LineTooLarge", "384", "6", "32,001",
                      std::string("開始行番号 = 32001\n\n") + GetString(kStrBadFirstLine)},
        SettingsFault{"LineZero", "1", "18", "0",
                      std::string("開始行番号 = 0\n\n") + GetString(kStrBadFirstLine)}),
    [](const ::testing::TestParamInfo<SettingsFault>& info) { return info.param.name; });

struct ConvertFailure {
    const char* name;
    int result;
    int messageId;
};

class ConvertFailureTest : public MainWindowTest, public ::testing::WithParamInterface<ConvertFailure> {};

TEST_P(ConvertFailureTest, IsToldAndKeepsTheSourceAndState)
{
    const std::string before = OpenAndConvertSong();
    ASSERT_FALSE(before.empty());
    Probe().conversionResults.push_back(GetParam().result);
    m_app.Command(IDM_CONVERT);
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(ProgramString(GetParam().messageId), Probe().messages[0].text);
    EXPECT_EQ(kWarning, Probe().messages[0].flags);
    EXPECT_EQ(std::string(kCaption), Probe().messages[0].caption);
    EXPECT_EQ(before, ControlText(Hwnd(), IDC_SOURCE));
    EXPECT_EQ(7u, Window()->GetCommandState());
}

INSTANTIATE_TEST_SUITE_P(
    Results, ConvertFailureTest,
    ::testing::Values(ConvertFailure{"NoMemory", Converter::kConvertNoMemory, kStrConvertNoMemory},
                      ConvertFailure{"BadAssignment", Converter::kConvertBadAssignment, kStrConvertFailed},
                      ConvertFailure{"AnyOther", 7, kStrConvertFailed}),
    [](const ::testing::TestParamInfo<ConvertFailure>& info) { return info.param.name; });

// ---- Save ---------------------------------------------------------------------

class SaveTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        OpenSong(96);
        Assign(0, 0);
        m_app.Command(IDM_CONVERT);
        ASSERT_EQ(7u, Window()->GetCommandState());
    }

    void Save(std::vector<std::string> answers, std::vector<int> questionAnswers = {})
    {
        for (const std::string& answer : answers)
            Probe().saveAnswers.push_back(answer);
        for (int answer : questionAnswers)
            Probe().messageAnswers.push_back(answer);
        m_app.Command(IDM_SAVE);
    }
};

TEST_F(SaveTest, WritesTheBoxTextByteForByte)
{
    std::string path = m_folder.PathOf("out.txt");
    Save({path});
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ(Window()->GetSourceText(), ReadWholeFile(path));

    ASSERT_EQ(1u, Probe().saveCalls.size());
    const DialogCall& call = Probe().saveCalls[0];
    EXPECT_EQ(static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A), call.structSize);
    EXPECT_EQ(Hwnd(), call.owner);
    const char filter[] = "Text file (*.txt)\0*.txt\0All file (*.*)\0*.*\0";
    EXPECT_EQ(std::string(filter, sizeof filter), call.filter);
    EXPECT_EQ(1u, call.filterIndex);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY), call.flags);
    EXPECT_EQ("txt", call.defaultExtension);
    EXPECT_EQ("song.txt", call.proposal);
    EXPECT_EQ(256u, call.bufferSize);
}

TEST_F(SaveTest, WritesWhatTheUserTypedIntoTheBox)
{
    // Japanese text in code page 932, a lone LF and no final line end.
    const std::string edited = std::string("1000 ' 編集しました\r\n1010 PLAY \"cde\"\n") + "1020 '\x83\x5C";
    SetDlgItemTextA(Hwnd(), IDC_SOURCE, edited.c_str());
    std::string path = m_folder.PathOf("edited.txt");
    Save({path});
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ(edited, ReadWholeFile(path));
    // The next Save proposes the file's own name again, not the one chosen.
    Save({""});
    EXPECT_EQ("song.txt", Probe().saveCalls.back().proposal);
}

TEST_F(SaveTest, EmptyBoxGivesMessage1237AndAsksForNoName)
{
    SetDlgItemTextA(Hwnd(), IDC_SOURCE, "");
    Save({m_folder.PathOf("never.txt")});
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(std::string(GetString(kStrEmptySource)), Probe().messages[0].text);
    EXPECT_EQ(std::string(kCaption), Probe().messages[0].caption);
    EXPECT_EQ(kWarning, Probe().messages[0].flags);
    EXPECT_TRUE(Probe().saveCalls.empty());
    EXPECT_FALSE(FileIsThere(m_folder.PathOf("never.txt")));
}

TEST_F(SaveTest, YesReplacesAnExistingFile)
{
    std::string path = m_folder.Write("old.txt", std::string("old text, rather long so that it would show"));
    Save({path}, {IDYES});
    ASSERT_EQ(1u, Probe().messages.size());
    // "%s\n\n%s": the name, then 1225.
    EXPECT_EQ(path + "\n\n" +
                  "\x82\xB1\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x82\xB7\x82\xC5\x82\xC9\x91\xB6\x8D\xDD"
                  "\x82\xB5\x82\xDC\x82\xB7\x81\x42\n\x8F\xE3\x8F\x91\x82\xAB\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48",
              Probe().messages[0].text);
    EXPECT_EQ(kQuestion, Probe().messages[0].flags);
    EXPECT_EQ(std::string(kCaption), Probe().messages[0].caption);
    EXPECT_EQ(Hwnd(), Probe().messages[0].owner);
    EXPECT_EQ(Window()->GetSourceText(), ReadWholeFile(path));
}

TEST_F(SaveTest, CancelEndsSaveWithoutWriting)
{
    std::string path = m_folder.Write("old.txt", std::string("old"));
    Save({path, m_folder.PathOf("other.txt")}, {IDCANCEL});
    EXPECT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(1u, Probe().saveCalls.size());
    EXPECT_EQ("old", ReadWholeFile(path));
    EXPECT_FALSE(FileIsThere(m_folder.PathOf("other.txt")));
}

TEST_F(SaveTest, NoAsksForAnotherNameStartingFromTheOneChosen)
{
    std::string path = m_folder.Write("old.txt", std::string("old"));
    std::string other = m_folder.PathOf("new.txt");
    Save({path, other}, {IDNO});
    ASSERT_EQ(2u, Probe().saveCalls.size());
    EXPECT_EQ(path, Probe().saveCalls[1].proposal);
    EXPECT_EQ(1u, Probe().messages.size()); // the new name exists not: no question
    EXPECT_EQ("old", ReadWholeFile(path));
    EXPECT_EQ(Window()->GetSourceText(), ReadWholeFile(other));
}

TEST_F(SaveTest, NoThenYesOnTheSameNameReplacesIt)
{
    std::string path = m_folder.Write("old.txt", std::string("old"));
    Save({path, path}, {IDNO, IDYES});
    EXPECT_EQ(2u, Probe().saveCalls.size());
    EXPECT_EQ(2u, Probe().messages.size());
    EXPECT_EQ(Window()->GetSourceText(), ReadWholeFile(path));
}

TEST_F(SaveTest, CancelledDialogWritesNothing)
{
    Save({""});
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ(1u, Probe().saveCalls.size());
}

TEST_F(SaveTest, FileHeldOpenElsewhereIsAskedAboutAndTheRefusedWriteIsReported)
{
    // Another program holds the file: it cannot be read either, yet it is
    // there and its owner is asked before anything happens to it.
    std::string path = m_folder.Write("held.txt", std::string("kept"));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Save({path}, {IDYES});
    CloseHandle(held);
    ASSERT_EQ(2u, Probe().messages.size());
    EXPECT_EQ(kQuestion, Probe().messages[0].flags);
    std::string lead = path + "\n\n" + GetString(kStrWriteFailed) + "\n";
    EXPECT_EQ(lead + DiskFile().DescribeError(ERROR_SHARING_VIOLATION), Probe().messages[1].text);
    EXPECT_EQ(kWarning, Probe().messages[1].flags);
    EXPECT_EQ("kept", ReadWholeFile(path));
}

TEST_F(SaveTest, FileInAMissingFolderIsReported)
{
    std::string path = m_folder.PathOf("missing\\out.txt");
    Save({path});
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(path + "\n\n" + GetString(kStrWriteFailed) + "\n" + DiskFile().DescribeError(ERROR_PATH_NOT_FOUND),
              Probe().messages[0].text);
}

using WriteFailure = FailingDiskFile::Case;

class WriteFailureTest : public SaveTest, public ::testing::WithParamInterface<WriteFailure> {};

TEST_P(WriteFailureTest, IsReportedWithTheFileAndTheReason)
{
    const WriteFailure failure = GetParam();
    Probe().diskFileFactory = [failure]() { return new FailingDiskFile(failure.failure, failure.code); };
    std::string path = m_folder.PathOf("out.txt");
    Save({path});
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(path + "\n\n" + GetString(kStrWriteFailed) + "\n" + DiskFile().DescribeError(failure.expected),
              Probe().messages[0].text);
    EXPECT_EQ(kWarning, Probe().messages[0].flags);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, WriteFailureTest,
    ::testing::Values(WriteFailure{"CreateDenied", FailingDiskFile::kOpen, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
                      WriteFailure{"DiskFull", FailingDiskFile::kWrite, ERROR_DISK_FULL, ERROR_DISK_FULL},
                      WriteFailure{"ShortWrite", FailingDiskFile::kShortWrite, 0, ERROR_WRITE_FAULT},
                      WriteFailure{"CloseFails", FailingDiskFile::kClose, ERROR_NETNAME_DELETED, ERROR_NETNAME_DELETED}),
    [](const ::testing::TestParamInfo<WriteFailure>& info) { return info.param.name; });

// A failed save loses nothing: the old file keeps every byte and no
// temporary file stays beside it.
std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

class SafeSaveTest : public SaveTest, public ::testing::WithParamInterface<WriteFailure> {};

TEST_P(SafeSaveTest, FailedWriteKeepsTheOldFileWholeAndLeavesNoTemporaryFile)
{
    const WriteFailure failure = GetParam();
    const std::string old = std::string("1000 ' the old program\r\n\0\x83\x5C", 26);
    std::string path = m_folder.Write("old.txt", old);
    Probe().diskFileFactory = [failure]() { return new FailingDiskFile(failure.failure, failure.code); };
    Save({path}, {IDYES});
    ASSERT_EQ(2u, Probe().messages.size());
    EXPECT_EQ(path + "\n\n" + GetString(kStrWriteFailed) + "\n" + DiskFile().DescribeError(failure.expected),
              Probe().messages[1].text);
    EXPECT_EQ(old, ReadWholeFile(path));
    EXPECT_EQ((std::vector<std::string>{"old.txt", "song.mid"}), FolderNames(m_folder.PathOf("")));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SafeSaveTest,
    ::testing::Values(WriteFailure{"CreateDenied", FailingDiskFile::kOpen, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
                      WriteFailure{"DiskFull", FailingDiskFile::kWrite, ERROR_DISK_FULL, ERROR_DISK_FULL},
                      WriteFailure{"ShortWrite", FailingDiskFile::kShortWrite, 0, ERROR_WRITE_FAULT},
                      WriteFailure{"CloseFails", FailingDiskFile::kClose, ERROR_NETNAME_DELETED, ERROR_NETNAME_DELETED},
                      WriteFailure{"ReplaceDenied", FailingDiskFile::kReplace, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED}),
    [](const ::testing::TestParamInfo<WriteFailure>& info) { return info.param.name; });

TEST_F(SaveTest, ReplacingLeavesOnlyTheNewFileBehind)
{
    std::string path = m_folder.Write("old.txt", std::string("old text, rather long so that it would show"));
    Save({path}, {IDYES});
    EXPECT_EQ(Window()->GetSourceText(), ReadWholeFile(path));
    EXPECT_EQ((std::vector<std::string>{"old.txt", "song.mid"}), FolderNames(m_folder.PathOf("")));
}

// ---- Dropped files ------------------------------------------------------------

// A real HDROP as the shell hands it over: DROPFILES, then the ANSI names,
// each ending in a NUL, and one more NUL.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        size += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, size);
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char* names = reinterpret_cast<char*>(header + 1);
    for (const std::string& path : paths) {
        std::memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

class DropTest : public MainWindowTest {
protected:
    // Posts WM_DROPFILES as the shell does and lets the window take it.
    void Drop(const std::vector<std::string>& paths)
    {
        ASSERT_TRUE(PostMessageA(Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // What the window shows and was told since message first.
    std::string Outcome(size_t first)
    {
        std::string text = WindowText(Hwnd()) + "|" + ControlText(Hwnd(), IDC_FILE_NAME) + "|" +
                           ControlText(Hwnd(), IDC_FORMAT) + "|" + ControlText(Hwnd(), IDC_TIME_BASE) + "|" +
                           std::to_string(Window()->GetCommandState()) + "|" +
                           std::to_string(Window()->GetMidiChannelList().GetItemCount());
        for (size_t i = first; i < Probe().messages.size(); ++i)
            text += "|" + Probe().messages[i].text;
        return text;
    }
};

TEST_F(DropTest, TheWindowTakesDroppedFiles)
{
    EXPECT_NE(0, GetWindowLongA(Hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DropTest, DroppedSongOpensWithoutTheOpenDialog)
{
    std::string path = m_folder.Write("song.mid", ThreeListSong(96));
    Drop({path});
    EXPECT_TRUE(Probe().openCalls.empty());
    EXPECT_TRUE(Probe().messages.empty());
    EXPECT_EQ(std::string(kCaption) + " - " + path + "|song.mid|1|96|3|3", Outcome(0));
    EXPECT_EQ(path, Window()->GetMidiPath());
}

struct DroppedFile {
    const char* name;
    std::string bytes; // "<none>": the file is not there
};

std::string SongBytes(int timeBase, int format = 1)
{
    std::vector<unsigned char> bytes = ThreeListSong(timeBase, format);
    return std::string(bytes.begin(), bytes.end());
}

class DroppedFileTest : public DropTest, public ::testing::WithParamInterface<DroppedFile> {};

TEST_P(DroppedFileTest, EndsExactlyAsOpenEnds)
{
    std::string path = m_folder.PathOf("dropped.mid");
    if (GetParam().bytes != "<none>")
        m_folder.Write("dropped.mid", GetParam().bytes);
    OpenSong(96, "before.mid");
    size_t first = Probe().messages.size();
    Open(path);
    std::string opened = Outcome(first);

    OpenSong(96, "before.mid");
    first = Probe().messages.size();
    Drop({path});
    EXPECT_EQ(opened, Outcome(first));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DroppedFileTest,
    ::testing::Values(DroppedFile{"Song", SongBytes(480)},
                      DroppedFile{"NotMidi", "not a MIDI file"},
                      DroppedFile{"Format2", SongBytes(96, 2)},
                      DroppedFile{"TimeBase120", SongBytes(120)},
                      DroppedFile{"Missing", "<none>"}),
    [](const ::testing::TestParamInfo<DroppedFile>& info) { return std::string(info.param.name); });

TEST_F(DropTest, RefusedDropIsToldWithOpensMessage)
{
    std::string path = m_folder.Write("notes.mid", std::string("not a MIDI file"));
    Drop({path});
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(std::string(GetString(kStrNotMidi)), Probe().messages[0].text);
    EXPECT_EQ(1u, Window()->GetCommandState());
}

TEST_F(DropTest, SeveralFilesOpenTheFirstAfterSayingSo)
{
    std::string first = m_folder.Write("first.mid", ThreeListSong(96));
    std::string second = m_folder.Write("second.mid", ThreeListSong(480));
    Drop({first, second, m_folder.PathOf("third.mid")});
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(first + "\n\n" + GetString(kStrDropOneFile), Probe().messages[0].text);
    EXPECT_EQ(0x30u, Probe().messages[0].flags);
    EXPECT_EQ("first.mid", ControlText(Hwnd(), IDC_FILE_NAME));
    EXPECT_EQ(3u, Window()->GetCommandState());
}

// ---- Help ---------------------------------------------------------------------

struct HelpCase {
    const char* name;
    bool helpFile;
    bool manual;
    BOOL winHelpResult;
    BOOL documentResult;
    std::vector<std::string> shown; // with "HLP" and "MANUAL" for the paths
    bool told;
};

class HelpChoiceTest : public MainWindowTest, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(HelpChoiceTest, HelpFileThenManualThenAMessage)
{
    const HelpCase& c = GetParam();
    std::string help = m_folder.PathOf("KALTON.HLP");
    std::string manual = m_folder.PathOf("index.html");
    if (c.helpFile)
        m_folder.Write("KALTON.HLP", std::string("?_"));
    if (c.manual)
        m_folder.Write("index.html", std::string("<html></html>"));
    Window()->SetHelpPath(help.c_str());
    Window()->SetManualPath(manual);
    Probe().helpChoice = true;
    Probe().winHelpResult = c.winHelpResult;
    Probe().documentResult = c.documentResult;
    m_app.Command(IDM_HELP);

    std::vector<std::string> shown;
    for (const std::string& s : c.shown)
        shown.push_back(s == "HLP" ? "WinHelp " + help : "open " + manual);
    EXPECT_EQ(shown, Probe().helpShown);
    if (c.told) {
        // Not found names both paths; found but not opened names the manual.
        std::string told = c.manual ? std::string(GetString(kStrManualNotOpened)) + "\n\n" + manual
                                    : std::string(GetString(kStrNoHelp)) + "\n\n" + help + "\n" + manual;
        ASSERT_EQ(1u, Probe().messages.size());
        EXPECT_EQ(told, Probe().messages[0].text);
        EXPECT_EQ(0x30u, Probe().messages[0].flags);
    } else {
        EXPECT_TRUE(Probe().messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, HelpChoiceTest,
    ::testing::Values(HelpCase{"HelpFileFirst", true, true, TRUE, TRUE, {"HLP"}, false},
                      HelpCase{"ManualWithoutHelpFile", false, true, TRUE, TRUE, {"MANUAL"}, false},
                      HelpCase{"ManualWhenNoViewerTookTheHelpFile", true, true, FALSE, TRUE, {"HLP", "MANUAL"}, false},
                      HelpCase{"NeitherFile", false, false, TRUE, TRUE, {}, true},
                      HelpCase{"NoBrowserForTheManual", false, true, TRUE, FALSE, {"MANUAL"}, true}),
    [](const ::testing::TestParamInfo<HelpCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ManualIsTheJapanesePageBesideTheProgram)
{
    EXPECT_EQ(TestProgramDirectory() + "manual\\ja\\index.html", Window()->GetManualPath());
}

// ---- Caption, help, About, activation -----------------------------------------

TEST_F(MainWindowTest, LongPathIsShortenedInTheCaptionKeepingTheFileName)
{
    std::string folder = "C:\\" + std::string(200, 'd') + "\\";
    std::string path = folder + std::string(40, 'n') + ".mid";
    Window()->SetCaption(path.c_str());
    std::string caption = WindowText(Hwnd());
    EXPECT_EQ(255u, caption.size());
    EXPECT_EQ(0u, caption.find("MIDI to MORVEK - ..."));
    EXPECT_EQ(std::string(40, 'n') + ".mid", caption.substr(caption.size() - 44));
    EXPECT_EQ(std::string(kCaption), Window()->GetText());
}

TEST_F(MainWindowTest, HelpAndAboutWorkInEveryState)
{
    m_app.Command(IDM_HELP);
    m_app.Command(IDM_ABOUT);
    OpenSong(96);
    m_app.Command(IDM_CONVERT);
    m_app.Command(IDM_HELP);
    m_app.Command(IDM_ABOUT);
    EXPECT_EQ(2, Probe().helpCalls);
    EXPECT_EQ(2, Probe().aboutCalls);
    std::string help = Probe().helpPath;
    EXPECT_EQ(TestProgramDirectory() + "KALTON.HLP", help);
}

TEST_F(MainWindowTest, ActivationMakesTheWindowTheLoopsTargetAndRestoresTheFocus)
{
    ActiveTarget& target = m_app.GetTarget();
    target.SetTargetWindow(nullptr);
    target.SetAccelerators(nullptr);
    SendMessageA(Hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(nullptr, target.GetTargetWindow());

    HWND field = GetDlgItem(Hwnd(), IDC_SPLIT_STEP);
    Window()->SetLastFocus(field);
    SendMessageA(Hwnd(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(Hwnd(), target.GetTargetWindow());
    EXPECT_NE(nullptr, target.GetAccelerators());
    EXPECT_EQ(Window()->GetAccelerators(), target.GetAccelerators());
    EXPECT_EQ(field, GetFocus());

    // A control that is gone is not given the focus.
    Window()->SetLastFocus(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFE)));
    SendMessageA(Hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(field, GetFocus());
}

TEST_F(MainWindowTest, ExitDestroysTheWindowAndDeletesItsHandler)
{
    m_app.Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(Hwnd()));
    EXPECT_EQ(1, Probe().deleted);
    EXPECT_EQ(0, m_app.GetApp().GetCount());
}

// ---- Preview ------------------------------------------------------------------

// What the window's player was asked to do; shared with the test, since the
// window deletes its player when it goes.
struct PlayerLog {
    UINT devices = 1;
    std::vector<std::string> played; // the images PlaySoundA got
    int stops = 0;
};

class LoggingPlayer : public PreviewPlayer {
public:
    explicit LoggingPlayer(std::shared_ptr<PlayerLog> log) : m_log(log) {}
    ~LoggingPlayer() override { Stop(); }

    UINT GetDeviceCount() override { return m_log->devices; }
    BOOL PlaySoundImage(const char* sound, DWORD) override
    {
        if (sound != nullptr)
            m_log->played.push_back(GetImage());
        else
            ++m_log->stops;
        return TRUE;
    }

private:
    std::shared_ptr<PlayerLog> m_log;
};

// Quarter notes c d e g at time base 240, 150 quarter notes a minute.
std::vector<unsigned char> TuneAt150()
{
    SmfBuilder smf(0, 240);
    int t = smf.AddTrack();
    smf.Tempo(t, 0, 400000);
    for (int key : {60, 62, 64, 67}) {
        smf.NoteOn(t, 0, 0, key, 100);
        smf.NoteOff(t, 240, 0, key);
    }
    smf.EndOfTrack(t);
    std::vector<uint8_t> bytes = smf.Build();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

struct PreviewStates {
    bool play, stop, saveWav;
    bool operator==(const PreviewStates& o) const
    {
        return play == o.play && stop == o.stop && saveWav == o.saveWav;
    }
};

void PrintTo(const PreviewStates& s, std::ostream* os)
{
    *os << (s.play ? "Play " : "-play ") << (s.stop ? "Stop " : "-stop ") << (s.saveWav ? "SaveWav" : "-saveWav");
}

class PreviewTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Window()->SetPreviewPlayer(std::unique_ptr<PreviewPlayer>(new LoggingPlayer(m_log)));
        m_song = m_folder.Write("tune.mid", TuneAt150());
        Open(m_song);
        Assign(0, 0);
    }

    void Convert()
    {
        m_app.Command(IDM_CONVERT);
        ASSERT_TRUE(Probe().messages.empty());
    }

    // The menu items as the user sees them when the menu opens.
    PreviewStates States()
    {
        HMENU menu = GetMenu(Hwnd());
        SendMessageA(Hwnd(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        return {MenuEnabled(menu, IDM_PLAY), MenuEnabled(menu, IDM_STOP), MenuEnabled(menu, IDM_SAVE_WAV)};
    }

    // The preview of text as the window makes it for this song.
    std::string PreviewOf(const std::string& text)
    {
        PreviewTempo tempo;
        tempo.SetMicrosecondsPerQuarter(400000);
        ProgramPreview preview;
        preview.SetTempo(tempo);
        std::string image;
        EXPECT_EQ(ProgramPreview::kPreviewOk, preview.Make(text.data(), text.size(), 240, image));
        return image;
    }

    std::shared_ptr<PlayerLog> m_log = std::make_shared<PlayerLog>();
    std::string m_song;
};

TEST_F(PreviewTest, CommandsFollowTheSourceAndThePlaying)
{
    EXPECT_EQ((PreviewStates{false, false, false}), States());
    m_app.Command(IDM_PLAY);                          // a key of a disabled command does nothing
    m_app.Command(IDM_SAVE_WAV);
    EXPECT_TRUE(m_log->played.empty());
    EXPECT_TRUE(Probe().saveCalls.empty());

    Convert();
    EXPECT_EQ((PreviewStates{true, false, true}), States());
    m_app.Command(IDM_PLAY);
    EXPECT_EQ((PreviewStates{true, true, true}), States());
    EXPECT_TRUE(Window()->GetPreviewPlayer().IsPlaying());
    m_app.Command(IDM_STOP);
    EXPECT_EQ((PreviewStates{true, false, true}), States());
    EXPECT_FALSE(Window()->GetPreviewPlayer().IsPlaying());
    EXPECT_EQ(1, m_log->stops);
    m_app.Command(IDM_STOP);
    EXPECT_EQ(1, m_log->stops);

    // The sound runs out: the timer frees the image and disables Stop.
    m_app.Command(IDM_PLAY);
    SendMessageA(Hwnd(), WM_TIMER, MainWindow::kPreviewTimer, 0);
    EXPECT_EQ((PreviewStates{true, false, true}), States());
    EXPECT_FALSE(Window()->GetPreviewPlayer().IsPlaying());
    EXPECT_EQ(2, m_log->stops);

    // Another file opened stops the preview with the rest of the window.
    m_app.Command(IDM_PLAY);
    Open(m_song);
    EXPECT_EQ((PreviewStates{false, false, false}), States());
    EXPECT_EQ(3, m_log->stops);
    EXPECT_EQ(3u, m_log->played.size());
    EXPECT_TRUE(Probe().messages.empty());
}

TEST_F(PreviewTest, PlayPlaysTheSourceBoxWithItsEdits)
{
    Convert();
    m_app.Command(IDM_PLAY);
    ASSERT_EQ(1u, m_log->played.size());
    EXPECT_EQ(PreviewOf(Window()->GetSourceText()), m_log->played[0]);

    std::string edited = ControlText(Hwnd(), IDC_SOURCE);
    const size_t melody = edited.find("cdeg");
    ASSERT_NE(std::string::npos, melody) << edited;
    edited.replace(melody, 4, "cdea");
    SetDlgItemTextA(Hwnd(), IDC_SOURCE, edited.c_str());
    m_app.Command(IDM_PLAY);
    ASSERT_EQ(2u, m_log->played.size());
    EXPECT_EQ(PreviewOf(edited), m_log->played[1]);
    EXPECT_NE(m_log->played[0], m_log->played[1]);
    EXPECT_EQ(1, m_log->stops);                       // the first sound stopped for the second
}

TEST_F(PreviewTest, SavedPreviewIsTheCommandLineToolsWav)
{
    Convert();
    const std::string path = m_folder.PathOf("saved.wav");
    Probe().saveAnswers.push_back(path);
    m_app.Command(IDM_SAVE_WAV);
    EXPECT_TRUE(Probe().messages.empty());
    ASSERT_EQ(1u, Probe().saveCalls.size());
    const DialogCall& call = Probe().saveCalls[0];
    const char filter[] = "WAV file (*.wav)\0*.wav\0All file (*.*)\0*.*\0";
    EXPECT_EQ(std::string(filter, sizeof filter), call.filter);
    EXPECT_EQ("tune.wav", call.proposal);
    EXPECT_EQ("wav", call.defaultExtension);
    EXPECT_EQ(PreviewOf(Window()->GetSourceText()), ReadWholeFile(path));

    const std::string tool = m_folder.PathOf("tool.wav");
    std::string command = "\"" + TestProgramDirectory() + "midi2morvek.exe\" \"" + m_song +
                          "\" --assign 0 --output \"" + m_folder.PathOf("tool.txt") + "\" --wav \"" + tool + "\"";
    ASSERT_EQ(0u, RunCommandLine(command)) << command;
    EXPECT_EQ(ReadWholeFile(m_folder.PathOf("tool.txt")), Window()->GetSourceText());
    EXPECT_EQ(ReadWholeFile(tool), ReadWholeFile(path));
}

TEST_F(PreviewTest, UnreadableSourceIsNamedWithLineAndColumn)
{
    Convert();
    const std::string text = "1100 PLAY \"c\"\r\n1110 PLAY \"cx\"\r\n";
    SetDlgItemTextA(Hwnd(), IDC_SOURCE, text.c_str());
    ProgramPreview preview;
    std::string image;
    ASSERT_EQ(ProgramPreview::kPreviewUnreadable, preview.Make(text.data(), text.size(), 240, image));
    ASSERT_EQ(2, preview.GetStatus().GetLine());
    ASSERT_EQ(13, preview.GetStatus().GetColumn());
    const std::string expected = FormatText(ProgramString(kStrPreviewUnreadable).c_str(), 2, 13,
                                            ProgramString(kStrReasonNotMml).c_str());

    m_app.Command(IDM_PLAY);
    m_app.Command(IDM_SAVE_WAV);
    ASSERT_EQ(2u, Probe().messages.size());
    for (const ShownMessage& message : Probe().messages) {
        EXPECT_EQ(expected, message.text);
        EXPECT_EQ(kCaption, message.caption);
        EXPECT_EQ(kWarning, message.flags);
    }
    EXPECT_TRUE(m_log->played.empty());
    EXPECT_TRUE(Probe().saveCalls.empty());
    EXPECT_EQ((PreviewStates{true, false, true}), States());
}

TEST_F(PreviewTest, NoSoundDeviceIsToldAndTheWindowGoesOn)
{
    Convert();
    m_log->devices = 0;
    m_app.Command(IDM_PLAY);
    ASSERT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(ProgramString(kStrNoSoundDevice), Probe().messages[0].text);
    EXPECT_EQ(kWarning, Probe().messages[0].flags);
    EXPECT_TRUE(m_log->played.empty());
    EXPECT_EQ((PreviewStates{true, false, true}), States());

    // Saving needs no device.
    const std::string path = m_folder.PathOf("saved.wav");
    Probe().saveAnswers.push_back(path);
    m_app.Command(IDM_SAVE_WAV);
    EXPECT_EQ(1u, Probe().messages.size());
    EXPECT_EQ(PreviewOf(Window()->GetSourceText()), ReadWholeFile(path));
}

TEST_F(PreviewTest, SourceWithoutNotesHasNothingToPlay)
{
    Convert();
    for (const char* text : {"", "1000 CLEAR 300,&H5600\r\n", "1100 PLAY \"\",\"\"\r\n"}) {
        Probe().messages.clear();
        SetDlgItemTextA(Hwnd(), IDC_SOURCE, text);
        m_app.Command(IDM_PLAY);
        ASSERT_EQ(1u, Probe().messages.size()) << text;
        EXPECT_EQ(ProgramString(kStrPreviewEmpty), Probe().messages[0].text);
    }
    EXPECT_TRUE(m_log->played.empty());
}

} // namespace
