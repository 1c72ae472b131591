// A few hundred random steps over the real main window, hidden and reused
// for all of them: Open of good, broken and unreadable files, Add and Remove
// on random rows (also with no focused row), Convert with random field texts
// and drop-down choices, Save to writable and unwritable places, and edits of
// the source box. Every message box is answered through the window's seams.
// After each step the window must match a model of what the user has done:
// the command state and the enabling of buttons and menu items, the lists,
// the source box, the messages shown, and the files in the output folder,
// which hold only what a successful Save wrote.
//
// The seed is printed; MORVEK_UI_SEED repeats a run and MORVEK_UI_STEPS
// changes the number of steps, MORVEK_UI_VERBOSE=1 lists them.
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "settings/SettingsCheck.h"
#include "text/Texts.h"
#include "gen/SongGenerator.h"
#include "midi/MidiFile.h"
#include "resources/ResourceIds.h"
#include "score/NoteListSet.h"
#include "tests/framework/WindowTestSupport.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/AnsiText.h"

namespace {

const char kCaption[] = "MIDI to MORVEK";
const UINT kWarning = 0x30;   // MB_OK | MB_ICONEXCLAMATION
const UINT kQuestion = 0x133; // MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2
const unsigned kDefaultSeed = 20240613u;
const int kDefaultSteps = 300;
const int kPartRows = 18;
// Conversions whose program would be larger are not run: the edit control
// under Wine makes them slow, and they prove nothing more.
const size_t kLargestSource = 512 * 1024;

const unsigned kEmpty = 1;
const unsigned kLoaded = 3;
const unsigned kConverted = 7;

unsigned long EnvironmentNumber(const char* name, unsigned long fallback)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return fallback;
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 0);
    return end != text ? value : fallback;
}

std::string Bytes(const std::vector<unsigned char>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string Format(const char* format, const std::string& text, int value, const std::string& tail)
{
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, format, text.c_str(), value, tail.c_str());
    return buffer;
}

// Names in a folder: files with their bytes, folders with an empty text and
// a trailing backslash.
std::map<std::string, std::string> FolderContents(const std::string& folder)
{
    std::map<std::string, std::string> contents;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return contents;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            contents[name + "\\"] = "";
        else
            contents[name] = ReadWholeFile(folder + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return contents;
}

// A short printable view of bytes for failure messages.
std::string Preview(const std::string& bytes)
{
    std::string view;
    for (size_t i = 0; i < bytes.size() && i < 60; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F) {
            view += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            view += hex;
        }
    }
    if (bytes.size() > 60)
        view += "... (" + std::to_string(bytes.size()) + " bytes)";
    return view;
}

struct ExpectedMessage {
    std::string text;
    UINT flags;
    bool prefixOnly; // the system's reason follows the text
};

// What the window should show, built up by the steps.
struct Model {
    unsigned state = kEmpty;
    std::string image;       // the loaded file's bytes (Loaded and Converted)
    std::string fileName;    // the information field's name
    std::string proposal;    // the last file that passed the reader
    std::string outputName;  // what Save proposes
    int listCount = 0;
    std::vector<int> parts;  // list ordinal of each part row, -1 unassigned
    std::string source;      // the program of the last conversion
    std::string caption = kCaption;
    int helpCalls = 0;
    int aboutCalls = 0;
};

class WindowRobustnessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_seed = static_cast<unsigned>(EnvironmentNumber("MORVEK_UI_SEED", kDefaultSeed));
        m_steps = static_cast<int>(EnvironmentNumber("MORVEK_UI_STEPS", kDefaultSteps));
        m_verbose = EnvironmentNumber("MORVEK_UI_VERBOSE", 0) != 0;
        std::printf("[ seed     ] %u (MORVEK_UI_SEED), %d steps (MORVEK_UI_STEPS)\n", m_seed, m_steps);
        RecordProperty("seed", std::to_string(m_seed));
        m_random.seed(m_seed);

        ASSERT_NE(nullptr, m_app.GetHandle());
        ASSERT_NE(nullptr, Window());
        m_in = m_inputs.PathOf("");
        m_out = m_outputs.PathOf("");
        ASSERT_TRUE(CreateDirectoryA((m_in + "folder.mid").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((m_out + "sub").c_str(), nullptr));
        m_outFiles["sub\\"] = "";
        m_outFiles["held.txt"] = "held elsewhere";
        m_outputs.Write("held.txt", m_outFiles["held.txt"]);
        m_outFiles["readonly.txt"] = "read only";
        m_outputs.Write("readonly.txt", m_outFiles["readonly.txt"]);
        ASSERT_TRUE(SetFileAttributesA((m_out + "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        m_readOnlyReplaceable = ReadOnlyFileCanBeReplaced();
        if (m_readOnlyReplaceable)
            std::printf("[ note     ] read-only files can be replaced here (Wine as root)\n");
        std::fflush(stdout);
        m_inFiles["folder.mid\\"] = "";
    }

    void TearDown() override
    {
        // The folders go with their files; the sub-folders must go first.
        RemoveDirectoryA((m_in + "folder.mid").c_str());
        RemoveDirectoryA((m_out + "sub").c_str());
    }

    // Windows refuses to replace a read-only file; Wine run by root leaves
    // it to the file system, which lets root write anything.
    bool ReadOnlyFileCanBeReplaced()
    {
        std::string path = m_inputs.Write("probe.txt", std::string("probe"));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool replaced = file != INVALID_HANDLE_VALUE;
        if (replaced)
            CloseHandle(file);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return replaced;
    }

    HWND Hwnd() { return m_app.GetHandle(); }
    TestMainWindow* Window() { return m_app.GetWindow(); }
    UiProbe& Probe() { return m_app.GetProbe(); }

    int Below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    bool ButtonEnabled(int id) { return IsWindowEnabled(GetDlgItem(Hwnd(), id)) != FALSE; }

    std::string WriteInput(const std::string& name, const std::string& bytes)
    {
        m_inFiles[name] = bytes;
        return m_inputs.Write(name, bytes);
    }

    std::string BoxText() { return ControlText(Hwnd(), IDC_SOURCE); }

    int ComboChoice(int id)
    {
        LRESULT index = SendDlgItemMessageA(Hwnd(), id, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR)
            return -1;
        return static_cast<int>(SendDlgItemMessageA(Hwnd(), id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    }

    void ClearFocus(int listId)
    {
        LVITEMA item = {};
        item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        item.state = 0;
        SendDlgItemMessageA(Hwnd(), listId, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(&item));
    }

    // ---- Steps ------------------------------------------------------------------

    std::string StepOpen();
    std::string StepAddOrRemove(bool add);
    std::string StepConvert();
    std::string StepSave();
    std::string StepEdit();
    std::string StepHelpOrAbout();
    // One step, chosen with weights by state: in Empty the user mostly
    // opens files, with a file loaded mostly works on it.
    std::string RunRandomStep();

    // A random image of one of the kinds Open meets; names its kind.
    std::string MakeImage(std::string& kind);
    std::string RandomFieldText(int field);
    std::string RandomBoxText();

    // ---- Checks -----------------------------------------------------------------

    void ExpectMessagesSince(size_t first, const std::vector<ExpectedMessage>& expected);
    void ExpectAnswersUsed();
    void ExpectWindowMatchesModel();
    void ExpectFoldersMatch();

    unsigned m_seed = 0;
    int m_steps = 0;
    bool m_verbose = false;
    bool m_readOnlyReplaceable = false;
    std::mt19937 m_random;
    TempFolder m_inputs;
    TempFolder m_outputs;
    std::string m_in;
    std::string m_out;
    std::map<std::string, std::string> m_inFiles;
    std::map<std::string, std::string> m_outFiles;
    Model m_model;
    AppWindow m_app;
};

std::string WindowRobustnessTest::MakeImage(std::string& kind)
{
    static const int kTimeBases[] = {48, 96, 240, 480};
    static const int kOddTimeBases[] = {120, 0, 1, 960, 0x7FFF, 0xE728};
    const int timeBase = kTimeBases[Below(4)];
    switch (Below(14)) {
    case 0:
    case 11:
        kind = "three lists, time base " + std::to_string(timeBase);
        return Bytes(ThreeListSong(timeBase, Below(2)));
    case 1:
    case 2:
    case 12:
    case 13: {
        SongGenerator generator;
        generator.SetTrackCount(1 + Below(5));
        generator.SetTimeBase(timeBase);
        generator.SetSeed(m_random());
        kind = "generated song, time base " + std::to_string(timeBase);
        return Bytes(generator.Build(40 + Below(300)));
    }
    case 3:
        kind = "no notes";
        return Bytes(SongWithoutNotes(timeBase));
    case 4: {
        std::string image = Bytes(ThreeListSong(timeBase));
        kind = "truncated";
        return image.substr(0, static_cast<size_t>(Below(static_cast<int>(image.size()))));
    }
    case 5:
    case 6: {
        SongGenerator generator;
        generator.SetTrackCount(1 + Below(3));
        generator.SetTimeBase(timeBase);
        generator.SetSeed(m_random());
        std::string image = Bytes(generator.Build(60));
        int flips = 1 + Below(4);
        for (int i = 0; i < flips; ++i)
            image[static_cast<size_t>(Below(static_cast<int>(image.size())))] = static_cast<char>(Below(256));
        kind = "corrupted";
        return image;
    }
    case 7:
        kind = "format 2";
        return Bytes(ThreeListSong(timeBase, 2));
    case 8: {
        int odd = kOddTimeBases[Below(6)];
        kind = "time base " + std::to_string(odd);
        return Bytes(ThreeListSong(odd));
    }
    case 9: {
        kind = "random bytes";
        std::string image = Chance(50) ? std::string("MThd") : std::string();
        int length = Below(64);
        for (int i = 0; i < length; ++i)
            image += static_cast<char>(Below(256));
        return image;
    }
    default:
        kind = "empty file";
        return std::string();
    }
}

std::string WindowRobustnessTest::StepOpen()
{
    const size_t firstMessage = Probe().messages.size();
    const std::string boxBefore = BoxText();
    const int choice = Below(12);
    if (choice == 0) {
        Probe().openAnswers.push_back(""); // the dialog is cancelled
        m_app.Command(IDM_OPEN);
        ExpectMessagesSince(firstMessage, {});
        EXPECT_EQ(boxBefore, BoxText());
        EXPECT_EQ(m_model.proposal, Probe().openCalls.back().proposal);
        return "Open, cancelled";
    }

    std::string description;
    std::string path;
    HANDLE held = INVALID_HANDLE_VALUE;
    bool readable = true;
    std::string image;
    if (choice == 1) {
        path = m_in + "folder.mid";
        readable = false;
        description = "Open a folder";
    } else {
        std::string kind;
        image = MakeImage(kind);
        const char* names[] = {"song.mid", "a.b.mid", "noext", "\x8B\xC8.mid", "song.smf"};
        std::string name = names[Below(5)];
        path = WriteInput(name, image);
        description = "Open " + name + ": " + kind;
        if (choice == 2) {
            held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            EXPECT_NE(INVALID_HANDLE_VALUE, held);
            readable = false;
            description += ", held open elsewhere";
        }
    }

    Probe().openAnswers.push_back(path);
    m_app.Command(IDM_OPEN);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    EXPECT_EQ(m_model.proposal, Probe().openCalls.back().proposal);

    // The confirmed Open resets the window whatever comes of the file.
    m_model.state = kEmpty;
    m_model.caption = std::string(kCaption) + " - " + path;
    m_model.parts.clear();
    m_model.listCount = 0;
    m_model.fileName.clear();
    m_model.image.clear();
    m_model.source.clear();
    EXPECT_EQ("", BoxText());

    if (!readable) {
        const std::string lead = path + "\n\n" + GetString(kStrReadFailed) + "\n";
        ExpectMessagesSince(firstMessage, {{lead, kWarning, true}});
        EXPECT_EQ(nullptr, Window()->GetMidiFile());
        return description;
    }

    // What the engine makes of the same bytes decides the outcome.
    Converter oracle;
    MidiFile* file = oracle.LoadMidiFile(reinterpret_cast<const unsigned char*>(image.data()),
                                         static_cast<unsigned long>(image.size()));
    if (file == nullptr) {
        ExpectMessagesSince(firstMessage, {{GetString(kStrNotMidi), kWarning, false}});
        return description + " (not a MIDI file)";
    }
    NoteListSet* set = oracle.BuildNoteListSet(file, Window()->GetSettings());
    const int listCount = set != nullptr ? oracle.GetListCount(*set) : 0;
    const int format = file->GetFormat();
    const int timeBase = file->GetTimeBase();
    oracle.FreeNoteListSet(set);
    oracle.FreeMidiFile(file);

    m_model.proposal = path;
    m_model.fileName = FindFileName(path.c_str());
    if (!oracle.IsSupportedFormat(format)) {
        ExpectMessagesSince(firstMessage, {{Format("FILE NAME = %s\nFORMAT = %d\n\n%s", m_model.fileName, format,
                                                   GetString(kStrBadFormat)),
                                            kWarning, false}});
        return description + " (format refused)";
    }
    if (!oracle.IsSupportedTimeBase(timeBase)) {
        ExpectMessagesSince(firstMessage, {{Format("FILE NAME = %s\nTIME BASE = %d\n\n%s", m_model.fileName,
                                                   timeBase, GetString(kStrBadTimeBase)),
                                            kWarning, false}});
        return description + " (time base refused)";
    }
    ExpectMessagesSince(firstMessage, {});
    m_model.state = kLoaded;
    m_model.image = image;
    m_model.listCount = listCount;
    m_model.parts.assign(kPartRows, -1);
    m_model.outputName = BaseName(path.c_str()) + ".txt";
    EXPECT_EQ(listCount > 0 ? 0 : -1, Window()->GetMidiChannelList().GetFocusedItem());
    EXPECT_EQ(0, Window()->GetPartList().GetFocusedItem());
    return description + " (loaded, " + std::to_string(listCount) + " lists)";
}

std::string WindowRobustnessTest::StepAddOrRemove(bool add)
{
    ListViewCtrl& channels = Window()->GetMidiChannelList();
    ListViewCtrl& parts = Window()->GetPartList();
    std::string description = add ? "Add" : "Remove";
    // The rows the user clicks first, or a list left without a focused row.
    switch (Below(6)) {
    case 0:
        ClearFocus(IDC_CHANNEL_LIST);
        description += ", no channel focused";
        break;
    case 1:
        ClearFocus(IDC_PART_LIST);
        description += ", no part focused";
        break;
    case 2:
        break;
    default:
        if (channels.GetItemCount() > 0)
            channels.SelectItem(Below(channels.GetItemCount()));
        if (parts.GetItemCount() > 0)
            parts.SelectItem(Below(parts.GetItemCount()));
        break;
    }
    const int m = channels.GetFocusedItem();
    const int p = parts.GetFocusedItem();
    description += " (channel row " + std::to_string(m) + ", part row " + std::to_string(p) + ")";
    const bool enabled = ButtonEnabled(add ? IDM_ADD : IDM_REMOVE);
    if (!enabled)
        description += ", disabled";

    const size_t firstMessage = Probe().messages.size();
    m_app.Command(add ? IDM_ADD : IDM_REMOVE);
    ExpectMessagesSince(firstMessage, {});
    if ((m_model.state & 2) == 0 || p < 0 || (add && m < 0)) {
        // Nothing to do: the focus stays where it was.
        EXPECT_EQ(m, channels.GetFocusedItem());
        EXPECT_EQ(p, parts.GetFocusedItem());
        return description;
    }
    m_model.parts[static_cast<size_t>(p)] = add ? m : -1;
    if (add)
        EXPECT_EQ(m + 1 < m_model.listCount ? m + 1 : m, channels.GetFocusedItem());
    else
        EXPECT_EQ(m, channels.GetFocusedItem());
    EXPECT_EQ(p + 1 < kPartRows ? p + 1 : p, parts.GetFocusedItem());
    return description;
}

std::string WindowRobustnessTest::RandomFieldText(int field)
{
    // field 0: part count, 1: split step count, 2: first line number.
    static const int kLimits[3] = {18, 1920, 32000};
    const int limit = kLimits[field];
    switch (Below(12)) {
    case 0:
        return "";
    case 1:
        return "1234567890123456789012345678901234567890";
    case 2:
        return "abc";
    case 3:
        return "\x82\x50\x82\x51"; // full-width digits are no digits
    case 4:
        return std::to_string(Below(2) == 0 ? 0 : limit + 1 + Below(100000));
    case 5:
        return "-" + std::to_string(1 + Below(limit));
    case 6:
        return " " + std::to_string(1 + Below(limit)) + "x";
    default: {
        // Mostly valid values; short split counts make long programs.
        int value = field == 1 ? 24 + Below(limit - 23) : 1 + Below(limit);
        std::string text = std::to_string(value);
        if (value >= 1000 && Chance(50))
            text.insert(text.size() - 3, ",");
        return text;
    }
    }
}

std::string WindowRobustnessTest::StepConvert()
{
    static const int kFields[3] = {IDC_PART_COUNT, IDC_SPLIT_STEP, IDC_FIRST_LINE};
    std::string description = "Convert";
    for (int field = 0; field < 3; ++field) {
        if (Chance(25))
            SetDlgItemTextA(Hwnd(), kFields[field], RandomFieldText(field).c_str());
    }
    if (Chance(40))
        SendDlgItemMessageA(Hwnd(), IDC_RESOLUTION, CB_SETCURSEL, static_cast<WPARAM>(Below(18)), 0);
    if (Chance(40))
        SendDlgItemMessageA(Hwnd(), IDC_PLAY_KIND, CB_SETCURSEL, static_cast<WPARAM>(Below(3)), 0);
    const std::string partText = ControlText(Hwnd(), IDC_PART_COUNT);
    const std::string splitText = ControlText(Hwnd(), IDC_SPLIT_STEP);
    const std::string firstText = ControlText(Hwnd(), IDC_FIRST_LINE);
    description += " [" + partText + "|" + splitText + "|" + firstText + "|" +
                   std::to_string(ComboChoice(IDC_RESOLUTION)) + "|" + std::to_string(ComboChoice(IDC_PLAY_KIND)) +
                   "]";

    const size_t firstMessage = Probe().messages.size();
    const std::string boxBefore = BoxText();
    if ((m_model.state & 2) == 0) {
        m_app.Command(IDM_CONVERT);
        ExpectMessagesSince(firstMessage, {});
        EXPECT_EQ(boxBefore, BoxText());
        return description + ", disabled";
    }

    SettingsCheck check;
    ConvertSettings settings;
    if (check.CheckFields(splitText.c_str(), partText.c_str(), firstText.c_str(), settings) !=
        SettingsCheck::kSettingsValid) {
        m_app.Command(IDM_CONVERT);
        ExpectMessagesSince(firstMessage, {{check.GetMessageText(), kWarning, false}});
        EXPECT_EQ(boxBefore, BoxText());
        return description + ", settings refused";
    }
    settings.SetMinimumResolution(ComboChoice(IDC_RESOLUTION));
    settings.SetPlayKind(ComboChoice(IDC_PLAY_KIND));
    std::vector<int> assignment(m_model.parts.begin(), m_model.parts.begin() + settings.GetPartCount());

    if (Chance(8)) {
        // The engine refuses: no memory, or music too long for the count.
        const int result = Chance(50) ? Converter::kConvertNoMemory : Converter::kConvertTooLarge;
        Probe().conversionResults.push_back(result);
        m_app.Command(IDM_CONVERT);
        ExpectMessagesSince(firstMessage, {{GetString(result == Converter::kConvertNoMemory ? kStrConvertNoMemory
                                                                                            : kStrConvertFailed),
                                            kWarning, false}});
        EXPECT_EQ(boxBefore, BoxText());
        return description + ", engine refusal " + std::to_string(result);
    }

    Converter oracle;
    MidiFile* file = oracle.LoadMidiFile(reinterpret_cast<const unsigned char*>(m_model.image.data()),
                                         static_cast<unsigned long>(m_model.image.size()));
    EXPECT_NE(nullptr, file);
    if (file == nullptr)
        return description;
    settings.SetVoiceCount(Window()->GetSettings().GetVoiceCount());
    const ConversionResult conversion = oracle.Convert(*file, settings, assignment);
    const int result = conversion.GetResult();
    const std::string& text = conversion.GetText();
    oracle.FreeMidiFile(file);
    if (result == Converter::kConvertOk && text.size() > kLargestSource)
        return description + ", not pressed (" + std::to_string(text.size()) + " bytes of program)";

    m_app.Command(IDM_CONVERT);
    if (result != Converter::kConvertOk) {
        ExpectMessagesSince(firstMessage, {{GetString(result == Converter::kConvertNoMemory ? kStrConvertNoMemory
                                                                                            : kStrConvertFailed),
                                            kWarning, false}});
        EXPECT_EQ(boxBefore, BoxText());
        return description + ", refused " + std::to_string(result);
    }
    ExpectMessagesSince(firstMessage, {});
    m_model.state = kConverted;
    m_model.source = text;
    EXPECT_EQ(text, Window()->GetSourceText());
    EXPECT_EQ(text, BoxText());
    return description + ", " + std::to_string(text.size()) + " bytes";
}

std::string WindowRobustnessTest::StepSave()
{
    if (!ButtonEnabled(IDM_SAVE))
        return "Save disabled: not clicked";
    const std::string box = BoxText();
    const size_t firstMessage = Probe().messages.size();
    const size_t firstCall = Probe().saveCalls.size();
    if (box.empty()) {
        m_app.Command(IDM_SAVE);
        ExpectMessagesSince(firstMessage, {{GetString(kStrEmptySource), kWarning, false}});
        EXPECT_EQ(firstCall, Probe().saveCalls.size());
        return "Save with an empty box";
    }

    static const char* const kNames[] = {"out.txt", "song.txt", "a.b.txt", "\x8F\x6F\x97\xCD.txt", "x"};
    const std::string question = std::string("\n\n") + GetString(kStrOverwrite);
    const std::string failure = std::string("\n\n") + GetString(kStrWriteFailed) + "\n";
    // A name that does not exist yet, or "" when every one does.
    auto freshName = [this]() -> std::string {
        std::vector<std::string> fresh;
        for (const char* name : kNames) {
            if (m_outFiles.count(name) == 0)
                fresh.push_back(name);
        }
        return fresh.empty() ? std::string() : fresh[static_cast<size_t>(Below(static_cast<int>(fresh.size())))];
    };

    std::vector<ExpectedMessage> expected;
    std::string written;     // the name a successful Save writes, relative to the folder
    std::string description;
    HANDLE held = INVALID_HANDLE_VALUE;
    const int target = Below(8);
    std::string name;
    bool exists = false;
    bool writable = true;
    switch (target) {
    case 0:
        Probe().saveAnswers.push_back("");
        m_app.Command(IDM_SAVE);
        ExpectMessagesSince(firstMessage, {});
        EXPECT_EQ(firstCall + 1, Probe().saveCalls.size());
        return "Save, dialog cancelled";
    case 1:
        name = "missing\\out.txt";
        writable = false;
        break;
    case 2:
        name = "sub";
        exists = true;
        writable = false;
        break;
    case 3:
        name = "held.txt";
        exists = true;
        writable = false;
        held = CreateFileA((m_out + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, held);
        break;
    case 4:
        name = "readonly.txt";
        exists = true;
        writable = m_readOnlyReplaceable;
        break;
    default:
        name = kNames[Below(5)];
        exists = m_outFiles.count(name) != 0;
        break;
    }
    description = "Save to " + name;
    const std::string path = m_out + name;
    Probe().saveAnswers.push_back(path);
    bool write = true;
    if (exists) {
        expected.push_back({path + question, kQuestion, false});
        const int answer = Below(3);
        if (answer == 0) {
            Probe().messageAnswers.push_back(IDYES);
            description += ", Yes";
        } else if (answer == 1) {
            Probe().messageAnswers.push_back(IDCANCEL);
            description += ", Cancel";
            write = false;
        } else {
            // No: the dialog comes again with the name just chosen.
            Probe().messageAnswers.push_back(IDNO);
            std::string other = Chance(70) ? freshName() : std::string();
            Probe().saveAnswers.push_back(other.empty() ? std::string() : m_out + other);
            description += ", No, then " + (other.empty() ? std::string("cancelled") : other);
            if (other.empty()) {
                write = false;
            } else {
                name = other;
                writable = true;
            }
        }
    }
    if (write) {
        if (writable)
            written = name;
        else
            expected.push_back({m_out + name + failure, kWarning, true});
    }

    m_app.Command(IDM_SAVE);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    ExpectMessagesSince(firstMessage, expected);
    EXPECT_LT(firstCall, Probe().saveCalls.size());
    if (Probe().saveCalls.size() > firstCall) {
        EXPECT_EQ(m_model.outputName, Probe().saveCalls[firstCall].proposal);
    }
    if (!written.empty())
        m_outFiles[written] = box;
    return description;
}

std::string WindowRobustnessTest::RandomBoxText()
{
    static const char* const kPieces[] = {
        "1000 PLAY \"cde\"", "\r\n", "\n", " ", "'", "\x82\xA0",  // あ
        "\x83\x5C",                                                // ソ, trail byte a backslash
        "\x95\x5C",                                                // 表
        "\xB1\xB2",                                                // half-width katakana
        "x", "9", "\t", "\"", ",",
    };
    std::string text;
    int pieces = Below(20);
    for (int i = 0; i < pieces; ++i)
        text += kPieces[Below(static_cast<int>(sizeof kPieces / sizeof kPieces[0]))];
    return text;
}

std::string WindowRobustnessTest::StepEdit()
{
    HWND box = GetDlgItem(Hwnd(), IDC_SOURCE);
    const int length = GetWindowTextLengthA(box);
    const size_t firstMessage = Probe().messages.size();
    std::string description;
    switch (Below(5)) {
    case 0:
        SetWindowTextA(box, "");
        description = "Edit: box emptied";
        break;
    case 1: {
        std::string text = RandomBoxText();
        SetWindowTextA(box, text.c_str());
        description = "Edit: box replaced by \"" + Preview(text) + "\"";
        break;
    }
    case 2: {
        std::string text = RandomBoxText();
        SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(length), length);
        SendMessageA(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        description = "Edit: appended \"" + Preview(text) + "\"";
        break;
    }
    default: {
        int from = Below(length + 1);
        int to = from + Below(length - from + 1);
        std::string text = RandomBoxText();
        SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(from), to);
        SendMessageA(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        description = "Edit: " + std::to_string(from) + ".." + std::to_string(to) + " replaced by \"" +
                      Preview(text) + "\"";
        break;
    }
    }
    ExpectMessagesSince(firstMessage, {});
    return description;
}

std::string WindowRobustnessTest::StepHelpOrAbout()
{
    const size_t firstMessage = Probe().messages.size();
    if (Chance(50)) {
        m_app.Command(IDM_HELP);
        ++m_model.helpCalls;
        ExpectMessagesSince(firstMessage, {});
        return "Help";
    }
    m_app.Command(IDM_ABOUT);
    ++m_model.aboutCalls;
    ExpectMessagesSince(firstMessage, {});
    return "About";
}

std::string WindowRobustnessTest::RunRandomStep()
{
    enum { kOpen, kAdd, kRemove, kConvert, kSave, kEdit, kHelp, kActionCount };
    static const int kWeights[3][kActionCount] = {
        {45, 8, 5, 10, 5, 20, 7},    // Empty
        {12, 25, 10, 35, 3, 12, 3},  // Loaded
        {10, 15, 8, 20, 30, 14, 3},  // Converted
    };
    const int* weights = kWeights[m_model.state == kEmpty ? 0 : m_model.state == kLoaded ? 1 : 2];
    int pick = Below(100);
    int action = 0;
    while (action < kActionCount - 1 && pick >= weights[action])
        pick -= weights[action++];
    switch (action) {
    case kOpen:
        return StepOpen();
    case kAdd:
        return StepAddOrRemove(true);
    case kRemove:
        return StepAddOrRemove(false);
    case kConvert:
        return StepConvert();
    case kSave:
        return StepSave();
    case kEdit:
        return StepEdit();
    default:
        return StepHelpOrAbout();
    }
}

// ---- Checks -------------------------------------------------------------------

void WindowRobustnessTest::ExpectMessagesSince(size_t first, const std::vector<ExpectedMessage>& expected)
{
    const std::vector<ShownMessage>& messages = Probe().messages;
    ASSERT_LE(first, messages.size());
    EXPECT_EQ(expected.size(), messages.size() - first) << "messages shown in this step";
    for (size_t i = first; i < messages.size(); ++i) {
        const ShownMessage& shown = messages[i];
        EXPECT_EQ(Hwnd(), shown.owner);
        EXPECT_EQ(std::string(kCaption), shown.caption);
        if (i - first >= expected.size()) {
            ADD_FAILURE() << "unexpected message: " << Preview(shown.text);
            continue;
        }
        const ExpectedMessage& wanted = expected[i - first];
        EXPECT_EQ(wanted.flags, shown.flags);
        if (wanted.prefixOnly) {
            EXPECT_EQ(Preview(wanted.text), Preview(shown.text.substr(0, wanted.text.size())));
            EXPECT_LT(wanted.text.size(), shown.text.size()) << "the system's reason is missing";
        } else {
            EXPECT_EQ(wanted.text, shown.text);
        }
    }
}

void WindowRobustnessTest::ExpectAnswersUsed()
{
    EXPECT_TRUE(Probe().openAnswers.empty());
    EXPECT_TRUE(Probe().saveAnswers.empty());
    EXPECT_TRUE(Probe().messageAnswers.empty());
    EXPECT_TRUE(Probe().conversionResults.empty());
    // Leftovers would answer the next step's boxes.
    Probe().openAnswers.clear();
    Probe().saveAnswers.clear();
    Probe().messageAnswers.clear();
    Probe().conversionResults.clear();
}

bool MenuEnabled(HMENU menu, UINT id)
{
    UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void WindowRobustnessTest::ExpectWindowMatchesModel()
{
    ASSERT_TRUE(IsWindow(Hwnd()));
    ASSERT_NE(nullptr, Window());
    EXPECT_EQ(m_model.state, Window()->GetCommandState());

    // Buttons, and the menu as the user sees it when opening it.
    const bool canConvert = (m_model.state & 2) != 0;
    const bool canSave = (m_model.state & 4) != 0;
    EXPECT_TRUE(ButtonEnabled(IDM_OPEN));
    EXPECT_EQ(canConvert, ButtonEnabled(IDM_CONVERT));
    EXPECT_EQ(canConvert, ButtonEnabled(IDM_ADD));
    EXPECT_EQ(canConvert, ButtonEnabled(IDM_REMOVE));
    EXPECT_EQ(canSave, ButtonEnabled(IDM_SAVE));
    HMENU menu = GetMenu(Hwnd());
    ASSERT_NE(nullptr, menu);
    SendMessageA(Hwnd(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_TRUE(MenuEnabled(menu, IDM_OPEN));
    EXPECT_EQ(canConvert, MenuEnabled(menu, IDM_CONVERT));
    EXPECT_EQ(canConvert, MenuEnabled(menu, IDM_ADD));
    EXPECT_EQ(canConvert, MenuEnabled(menu, IDM_REMOVE));
    EXPECT_EQ(canSave, MenuEnabled(menu, IDM_SAVE));
    EXPECT_TRUE(MenuEnabled(menu, IDM_HELP));
    EXPECT_TRUE(MenuEnabled(menu, IDM_ABOUT));
    EXPECT_TRUE(MenuEnabled(menu, IDM_EXIT));

    EXPECT_EQ(m_model.caption, WindowText(Hwnd()));
    EXPECT_EQ(m_model.fileName, ControlText(Hwnd(), IDC_FILE_NAME));
    // A file refused for its format or time base stays held; an accepted
    // one must be there with its lists.
    if (m_model.state != kEmpty) {
        EXPECT_NE(nullptr, Window()->GetMidiFile());
        EXPECT_NE(nullptr, Window()->GetNoteListSet());
    }

    ListViewCtrl& channels = Window()->GetMidiChannelList();
    ListViewCtrl& parts = Window()->GetPartList();
    EXPECT_EQ(m_model.listCount, channels.GetItemCount());
    EXPECT_EQ(static_cast<int>(m_model.parts.size()), parts.GetItemCount());
    for (int row = 0; row < parts.GetItemCount() && row < static_cast<int>(m_model.parts.size()); ++row)
        EXPECT_EQ(m_model.parts[static_cast<size_t>(row)], static_cast<int>(parts.GetItemData(row))) << "part row " << row;

    EXPECT_EQ(m_model.source, Window()->GetSourceText());
    EXPECT_EQ(m_model.helpCalls, Probe().helpCalls);
    EXPECT_EQ(m_model.aboutCalls, Probe().aboutCalls);
}

void WindowRobustnessTest::ExpectFoldersMatch()
{
    std::map<std::string, std::string> out = FolderContents(m_out);
    for (const auto& entry : out) {
        auto wanted = m_outFiles.find(entry.first);
        if (wanted == m_outFiles.end())
            ADD_FAILURE() << "written without a successful Save: " << entry.first;
        else
            EXPECT_EQ(Preview(wanted->second), Preview(entry.second)) << entry.first;
        if (wanted != m_outFiles.end() && wanted->second != entry.second)
            ADD_FAILURE() << entry.first << " differs from the box's text when it was saved";
    }
    for (const auto& wanted : m_outFiles)
        EXPECT_EQ(1u, out.count(wanted.first)) << "missing: " << wanted.first;
    EXPECT_TRUE(FolderContents(m_out + "sub\\").empty());
    EXPECT_TRUE(FolderContents(m_in + "folder.mid\\").empty());
    EXPECT_EQ(m_inFiles, FolderContents(m_in)) << "the input folder changed";
}

// ---- The run ------------------------------------------------------------------

TEST_F(WindowRobustnessTest, RandomStepsKeepTheWindowConsistentAndWriteOnlyWhatSaveSaid)
{
    ExpectWindowMatchesModel();
    std::map<std::string, int> counts;
    for (int step = 0; step < m_steps; ++step) {
        std::string description;
        description = RunRandomStep();
        ++counts[description.substr(0, description.find_first_of(" ,:"))];
        if (m_verbose)
            std::printf("%4d %s\n", step, description.c_str());
        SCOPED_TRACE("seed " + std::to_string(m_seed) + ", step " + std::to_string(step) + ": " + description);
        ExpectAnswersUsed();
        ExpectWindowMatchesModel();
        ExpectFoldersMatch();
        if (HasFailure()) {
            ADD_FAILURE() << "stopped at step " << step << " (" << description << "); repeat with MORVEK_UI_SEED="
                          << m_seed;
            return;
        }
    }
    std::string summary;
    for (const auto& count : counts)
        summary += " " + count.first + "=" + std::to_string(count.second);
    std::printf("[ steps    ]%s\n", summary.c_str());
    // The run reached the states and places it is meant to try.
    EXPECT_GT(counts["Open"], 0);
    EXPECT_GT(counts["Save"], 0);
}

} // namespace
