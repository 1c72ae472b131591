#include "ui/MainWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <memory>

#include "engine/ConversionReport.h"
#include "settings/NoteValueTable.h"
#include "text/NumberText.h"
#include "settings/PlayKindTable.h"
#include "settings/SettingsCheck.h"
#include "text/TextFormat.h"
#include "text/Texts.h"
#include "framework/ActiveTarget.h"
#include "framework/OwnedString.h"
#include "base/DiskFile.h"
#include "base/FileImage.h"
#include "midi/MidiFile.h"
#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"
#include "preview/TempoFinder.h"
#include "base/SafeFileWriter.h"
#include "resources/ResourceIds.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "ui/AnsiText.h"
#include "ui/FileDialog.h"
#include "ui/ReportDialogHost.h"
#include "ui/WindowTextTable.h"

namespace {

const UINT kWarningFlags = MB_OK | MB_ICONEXCLAMATION;                      // 0x30
const UINT kOverwriteFlags = MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2; // 0x133

const char kFormatRefusal[] = "FILE NAME = %s\nFORMAT = %d\n\n%s";
const char kTimeBaseRefusal[] = "FILE NAME = %s\nTIME BASE = %d\n\n%s";

// An up-down control beside its edit field, made at creation.
struct SpinControl {
    int id;
    int buddy;
    int y;
    int lower;
    int upper;
    int start;
    int accelerationStep; // 0: the control's default acceleration
};

const int kSpinX = 285;
const int kSpinWidth = 15;
const int kSpinHeight = 12;
const DWORD kSpinStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ALIGNRIGHT | UDS_SETBUDDYINT;

const SpinControl kSpinControls[] = {
    {IDC_PART_COUNT_SPIN, IDC_PART_COUNT, 15, ConvertSettings::kMinPartCount,
     ConvertSettings::kMaxPartCount, ConvertSettings::kDefaultPartCount, 0},
    {IDC_SPLIT_STEP_SPIN, IDC_SPLIT_STEP, 45, ConvertSettings::kMinSplitStepCount,
     ConvertSettings::kMaxSplitStepCount, ConvertSettings::kMaxSplitStepCount, 48},
    {IDC_FIRST_LINE_SPIN, IDC_FIRST_LINE, 75, ConvertSettings::kMinFirstLineNumber,
     ConvertSettings::kMaxFirstLineNumber, ConvertSettings::kDefaultFirstLineNumber, 10},
};

// The items of List > Voices and the voice counts they choose.
struct VoiceChoice {
    WORD id;
    int voices;
};

const VoiceChoice kVoiceChoices[] = {
    {IDM_VOICES_1, 1}, {IDM_VOICES_2, 2}, {IDM_VOICES_3, 3}, {IDM_VOICES_4, 4},
    {IDM_VOICES_6, 6}, {IDM_VOICES_8, 8}, {IDM_VOICES_12, 12}, {IDM_VOICES_18, 18},
};

// Columns of a note list's row texts, in the order both lists show them.
enum { kColumnNo, kColumnTrack, kColumnChannel, kColumnStep, kListColumnCount };

// The window's commands: the handler of each, and the bit of the command
// state that enables its button and its menu item alike. Help, About and
// Exit, which every state allows, are WindowHandler::OnCommand's.
struct Command {
    WORD id;
    LRESULT (MainWindow::*handler)(HWND, WPARAM, LPARAM);
    unsigned enabledBy;
};

const Command kCommands[] = {
    {IDM_OPEN, &MainWindow::OnOpen, MainWindow::kCanOpen},
    {IDM_CONVERT, &MainWindow::OnConvert, MainWindow::kCanConvert},
    {IDM_ADD, &MainWindow::OnAdd, MainWindow::kCanConvert},
    {IDM_REMOVE, &MainWindow::OnRemove, MainWindow::kCanConvert},
    {IDM_SAVE, &MainWindow::OnSave, MainWindow::kCanSave},
    {IDM_REPORT, &MainWindow::OnReport, MainWindow::kCanSave}, // a menu item only
    {IDM_PLAY, &MainWindow::OnPlay, MainWindow::kCanSave},
    {IDM_STOP, &MainWindow::OnStop, MainWindow::kCanStop},
    {IDM_SAVE_WAV, &MainWindow::OnSavePreview, MainWindow::kCanSave},
};

// The box's text when the file gave no time base or tempo: 480 ticks to the
// quarter note, as midi2morvek --render reads a text.
const int kPreviewTimeBase = 480;
// The timer runs this much past the sound, which starts a little late.
const UINT kPreviewMargin = 250;

// The source box's text as it is now, in the ANSI code page.
std::string SourceBoxText(HWND hwnd)
{
    HWND box = GetDlgItem(hwnd, IDC_SOURCE);
    int length = GetWindowTextLengthA(box);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
    int size = GetWindowTextA(box, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), static_cast<size_t>(size > 0 ? size : 0));
}

std::string DecimalText(int value)
{
    return FormatText("%d", value);
}

std::string ItemText(HWND hwnd, int id)
{
    HWND control = GetDlgItem(hwnd, id);
    int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return std::string(text.data());
}

// Item data of the selected entry of a drop-down list; -1 without one.
int SelectedItemData(HWND hwnd, int id)
{
    LRESULT index = SendDlgItemMessageA(hwnd, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return -1;
    return static_cast<int>(SendDlgItemMessageA(hwnd, id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

UINT MenuState(bool enabled)
{
    return MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
}

} // namespace

MainWindow::MainWindow()
    : m_midiFile(nullptr), m_noteListSet(nullptr), m_commandState(kCanOpen), m_midiPath(nullptr),
      m_lastFocus(nullptr), m_player(new PreviewPlayer), m_lastVoiceCount(1), m_reportOn(false)
{
}

MainWindow::~MainWindow()
{
    m_player.reset();                                // silent before anything else goes
    m_converter.FreeNoteListSet(m_noteListSet);
    m_converter.FreeMidiFile(m_midiFile);
    FreeMidiPath();
}

// ---- Attributes ---------------------------------------------------------------

Converter& MainWindow::GetConverter()
{
    return m_converter;
}

const MidiFile* MainWindow::GetMidiFile() const
{
    return m_midiFile;
}

const NoteListSet* MainWindow::GetNoteListSet() const
{
    return m_noteListSet;
}

ListViewCtrl& MainWindow::GetMidiChannelList()
{
    return m_midiChannelList;
}

ListViewCtrl& MainWindow::GetPartList()
{
    return m_partList;
}

MidiFileInfo& MainWindow::GetFileInfo()
{
    return m_fileInfo;
}

ConvertSettings& MainWindow::GetSettings()
{
    return m_settings;
}

const std::string& MainWindow::GetSourceText() const
{
    return m_sourceText;
}

unsigned MainWindow::SetCommandState(unsigned state)
{
    unsigned old = m_commandState;
    m_commandState = state;
    return old;
}

unsigned MainWindow::GetCommandState() const
{
    return m_commandState;
}

HWND MainWindow::SetLastFocus(HWND focus)
{
    HWND old = m_lastFocus;
    m_lastFocus = focus;
    return old;
}

HWND MainWindow::GetLastFocus() const
{
    return m_lastFocus;
}

int MainWindow::SetMidiPath(const char* path)
{
    return ReplaceOwnedString(m_midiPath, path);
}

const char* MainWindow::GetMidiPath() const
{
    return m_midiPath;
}

void MainWindow::FreeMidiPath()
{
    delete[] m_midiPath;
    m_midiPath = nullptr;
}

std::string MainWindow::SetManualPath(const std::string& path)
{
    std::string old = m_manualPath;
    m_manualPath = path;
    return old;
}

const std::string& MainWindow::GetManualPath() const
{
    return m_manualPath;
}

std::string MainWindow::SetCaption(const char* path)
{
    HWND hwnd = GetHandle();
    std::vector<char> old(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1);
    GetWindowTextA(hwnd, old.data(), static_cast<int>(old.size()));
    std::string caption = ComposeCaption(GetText(), path, kTextSize);
    SetWindowTextA(hwnd, caption.c_str());
    return std::string(old.data());
}

std::unique_ptr<PreviewPlayer> MainWindow::SetPreviewPlayer(std::unique_ptr<PreviewPlayer> player)
{
    StopPreview(GetHandle());
    m_player.swap(player);
    return player;
}

PreviewPlayer& MainWindow::GetPreviewPlayer()
{
    return *m_player;
}

// ---- Window set-up ------------------------------------------------------------

int MainWindow::CenterWindow(HWND hwnd)
{
    RECT rect;
    if (!GetWindowRect(hwnd, &rect))
        return 1;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = ((GetSystemMetrics(SM_CXSCREEN) - width) / 2 + 4) & ~7;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    MoveWindow(hwnd, x, y, width, height, FALSE);
    return 0;
}

int MainWindow::FillComboFromStrings(HWND combo, int count, int firstStringId)
{
    for (int i = 0; i < count; ++i) {
        std::string text = LoadText(firstStringId + i);
        LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0)
            SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), i);
    }
    return count;
}

int MainWindow::CreateSpinControls(HWND hwnd)
{
    int created = 0;
    for (const SpinControl& spin : kSpinControls) {
        HWND control = CreateUpDownControl(kSpinStyle, kSpinX, spin.y, kSpinWidth, kSpinHeight, hwnd,
                                           spin.id, GetInstance(), GetDlgItem(hwnd, spin.buddy),
                                           spin.upper, spin.lower, spin.start);
        if (control == nullptr)
            continue;
        ++created;
        if (spin.accelerationStep != 0) {
            UDACCEL acceleration = {1, static_cast<UINT>(spin.accelerationStep)};
            SendMessageA(control, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&acceleration));
        }
    }
    return created;
}

void MainWindow::ResetFileInfo()
{
    m_fileInfo.Reset();
}

void MainWindow::ResetSettings()
{
    m_settings.Reset();
}

BOOL MainWindow::ClearMidiChannelList()
{
    return m_midiChannelList.DeleteAllItems();
}

BOOL MainWindow::ClearPartList()
{
    return m_partList.DeleteAllItems();
}

void MainWindow::ClearSource()
{
    m_sourceText.clear();
}

void MainWindow::ResetWindow()
{
    StopPreview(GetHandle());
    ResetFileInfo();
    ShowFileInfo();
    ResetSettings();
    ShowSettings();
    ClearMidiChannelList();
    ClearPartList();
    ClearSource();
    ShowSource();
    SetCommandState(kCanOpen);
    UpdateCommandButtons();
}

// ---- Showing the state --------------------------------------------------------

void MainWindow::ShowFileInfo()
{
    HWND hwnd = GetHandle();
    SetDlgItemTextA(hwnd, IDC_FILE_NAME, m_fileInfo.GetName());
    SetDlgItemTextA(hwnd, IDC_FORMAT, FormatText("%1d", m_fileInfo.GetFormat()).c_str());
    const std::string timeBase = FormatThousands(m_fileInfo.GetTimeBase());
    SetDlgItemTextA(hwnd, IDC_TIME_BASE,
                    m_fileInfo.GetRetimedFrom() == 0
                        ? timeBase.c_str()
                        : FormatText(LoadText(kStrRetimedTimeBase).c_str(),
                                     FormatThousands(m_fileInfo.GetRetimedFrom()).c_str(),
                                     m_fileInfo.GetTimeBase()).c_str());
    SetDlgItemTextA(hwnd, IDC_USED_CHANNELS, DecimalText(m_fileInfo.GetUsedChannelCount()).c_str());
}

void MainWindow::ShowSettings()
{
    HWND hwnd = GetHandle();
    SetDlgItemTextA(hwnd, IDC_PART_COUNT, DecimalText(m_settings.GetPartCount()).c_str());
    SendDlgItemMessageA(hwnd, IDC_RESOLUTION, CB_SETCURSEL, m_settings.GetMinimumResolution(), 0);
    SetDlgItemTextA(hwnd, IDC_SPLIT_STEP, FormatThousands(m_settings.GetSplitStepCount()).c_str());
    SetDlgItemTextA(hwnd, IDC_FIRST_LINE, FormatThousands(m_settings.GetFirstLineNumber()).c_str());
    SendDlgItemMessageA(hwnd, IDC_PLAY_KIND, CB_SETCURSEL, m_settings.GetPlayKind(), 0);
}

void MainWindow::ShowSource()
{
    SetDlgItemTextA(GetHandle(), IDC_SOURCE, m_sourceText.c_str());
}

void MainWindow::UpdateCommandButtons()
{
    HWND hwnd = GetHandle();
    for (const Command& command : kCommands) {
        // The preview's commands are menu items and keys only.
        if (HWND button = GetDlgItem(hwnd, command.id))
            EnableWindow(button, IsCommandEnabled(command.id));
    }
}

bool MainWindow::IsCommandEnabled(int id) const
{
    for (const Command& command : kCommands) {
        if (command.id == id)
            return (m_commandState & command.enabledBy) != 0;
    }
    return true; // Help, About and Exit
}

void MainWindow::ShowListColumns(ListViewCtrl& list, int row, int firstColumn, int ordinal)
{
    const NoteList* noteList = m_noteListSet != nullptr ? m_noteListSet->GetList(ordinal) : nullptr;
    if (noteList == nullptr)
        return;
    list.SetItemText(row, firstColumn + kColumnNo, DecimalText(ordinal).c_str());
    list.SetItemText(row, firstColumn + kColumnTrack, DecimalText(noteList->GetTrackIndex()).c_str());
    list.SetItemText(row, firstColumn + kColumnChannel,
                     (m_converter.GetVoiceCount() > 1
                          ? FormatText("%d.%d", noteList->GetChannel(), noteList->GetVoice() + 1)
                          : DecimalText(noteList->GetChannel()))
                         .c_str());
    list.SetItemText(row, firstColumn + kColumnStep, FormatThousands(noteList->GetTotalTicks()).c_str());
}

int MainWindow::FillMidiChannelList()
{
    const int count = m_noteListSet != nullptr ? m_converter.GetListCount(*m_noteListSet) : 0;
    int rows = 0;
    for (int i = 0; i < count; ++i) {
        // The row's item data stays 0: Add goes by the row's position.
        int row = m_midiChannelList.InsertItem(i, DecimalText(i).c_str(), 0);
        if (row < 0)
            continue;
        ShowListColumns(m_midiChannelList, row, 0, i);
        ++rows;
    }
    return rows;
}

int MainWindow::FillPartList()
{
    int rows = 0;
    for (int i = 0; i < kPartRowCount; ++i) {
        if (m_partList.InsertItem(i, DecimalText(i).c_str(), kUnassigned) >= 0)
            ++rows;
    }
    return rows;
}

int MainWindow::RebuildNoteLists()
{
    m_converter.FreeNoteListSet(m_noteListSet);
    m_noteListSet = m_midiFile != nullptr ? m_converter.BuildNoteListSet(m_midiFile) : nullptr;
    m_fileInfo.SetUsedChannelCount(m_noteListSet != nullptr ? m_noteListSet->GetChannelCount() : 0);
    ShowFileInfo();
    ClearMidiChannelList();
    ClearPartList();
    // A refused file shows no rows, as after Open.
    if ((m_commandState & kCanConvert) == 0)
        return 0;
    const int rows = FillMidiChannelList();
    if (rows > 0)
        m_midiChannelList.SelectItem(0);
    FillPartList();
    m_partList.SelectItem(0);
    return rows;
}

// ---- Checks -------------------------------------------------------------------

bool MainWindow::IsSupportedFormat(int format) const
{
    return m_converter.IsSupportedFormat(format);
}

bool MainWindow::IsSupportedTimeBase(int timeBase) const
{
    return m_converter.IsSupportedTimeBase(timeBase);
}

bool MainWindow::ReadSettings(HWND hwnd, ConvertSettings& settings)
{
    SettingsCheck check;
    if (check.CheckFields(ItemText(hwnd, IDC_SPLIT_STEP).c_str(), ItemText(hwnd, IDC_PART_COUNT).c_str(),
                          ItemText(hwnd, IDC_FIRST_LINE).c_str(), settings) != SettingsCheck::kSettingsValid) {
        // Label and message from the string table of the interface's language.
        ShowWarning(hwnd, check.ComposeMessageText(LoadText(check.GetLabelId()).c_str(),
                                                   LoadText(check.GetMessageId()).c_str()));
        return false;
    }
    settings.SetMinimumResolution(SelectedItemData(hwnd, IDC_RESOLUTION));
    settings.SetPlayKind(SelectedItemData(hwnd, IDC_PLAY_KIND));
    return true;
}

std::vector<int> MainWindow::GetAssignment(int partCount) const
{
    std::vector<int> assignment;
    const int rows = m_partList.GetItemCount();
    for (int r = 0; r < partCount; ++r)
        assignment.push_back(r < rows ? static_cast<int>(m_partList.GetItemData(r)) : kUnassigned);
    return assignment;
}

// ---- File dialogs and files ---------------------------------------------------

int MainWindow::AskOpenFileName(HWND owner, char* name, int capacity)
{
    FileDialog dialog(GetInstance(), kStrOpenFilter, kStrOpenExt, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    dialog.SetName(name);
    OPENFILENAMEA record = dialog.BuildRecord(owner);
    if (!RunOpenDialog(record))
        return kCancelled;
    CopyAnsi(name, capacity, dialog.GetName());
    return 0;
}

int MainWindow::AskSaveFileName(HWND owner, char* name, int capacity)
{
    return AskSaveFileNameOfType(owner, kStrSaveFilter, kStrSaveExt, name, capacity);
}

int MainWindow::AskSaveFileNameOfType(HWND owner, int filterId, int extensionId, char* name,
                                      int capacity)
{
    // The dialog's own overwrite prompt stays off: the question below is ours.
    FileDialog dialog(GetInstance(), filterId, extensionId, OFN_HIDEREADONLY);
    dialog.SetName(name);
    const std::string question = LoadText(kStrOverwrite);
    for (;;) {
        OPENFILENAMEA record = dialog.BuildRecord(owner);
        if (!RunSaveDialog(record))
            return kCancelled;
        if (!FileExists(dialog.GetName()))
            break;
        std::string text = FormatText("%s\n\n%s", dialog.GetName(), question.c_str());
        int answer = ShowMessage(owner, text.c_str(), GetText(), kOverwriteFlags);
        if (answer == IDYES)
            break;
        if (answer != IDNO)
            return kCancelled;
        // No: the dialog opens again with the name just chosen.
    }
    CopyAnsi(name, capacity, dialog.GetName());
    return 0;
}

unsigned long MainWindow::WriteSourceFile(HWND hwnd, const char* path, const char* bytes,
                                          unsigned long size)
{
    std::unique_ptr<DiskFile> file(CreateDiskFile());
    SafeFileWriter writer;
    unsigned long code = writer.Write(*file, path, bytes, size);
    if (code != 0)
        ReportFileError(hwnd, path, kStrWriteFailed, code, *file);
    return code;
}

int MainWindow::ReportFileError(HWND hwnd, const char* path, int messageId, unsigned long code,
                                const DiskFile& file)
{
    return ShowWarning(hwnd, DescribeFileError(path, messageId, code, file));
}

// ---- Platform calls -----------------------------------------------------------

int MainWindow::ShowMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    return MessageBoxA(owner, text, caption, flags);
}

BOOL MainWindow::RunOpenDialog(OPENFILENAMEA& dialog)
{
    return GetOpenFileNameA(&dialog);
}

BOOL MainWindow::RunSaveDialog(OPENFILENAMEA& dialog)
{
    return GetSaveFileNameA(&dialog);
}

DiskFile* MainWindow::CreateDiskFile()
{
    return new DiskFile;
}

BOOL MainWindow::RunWinHelp(HWND hwnd, const char* path)
{
    return WinHelpA(hwnd, path, HELP_FINDER, 0);
}

BOOL MainWindow::OpenDocument(HWND hwnd, const char* path)
{
    HINSTANCE result = ShellExecuteA(hwnd, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool MainWindow::FileExists(const char* path)
{
    // Any file the name names counts, also one that cannot be opened for
    // reading: its owner is asked before it is replaced.
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// ---- Command handlers ---------------------------------------------------------

LRESULT MainWindow::OnOpen(HWND hwnd, WPARAM, LPARAM)
{
    char path[kNameSize] = "";
    if (m_midiPath != nullptr)
        CopyAnsi(path, sizeof path, m_midiPath);
    if (AskOpenFileName(hwnd, path, sizeof path) != 0)
        return kStopped;
    return OpenFile(hwnd, path);
}

LRESULT MainWindow::OpenFile(HWND hwnd, const char* path)
{
    SetCaption(path);
    ResetWindow();
    return LoadFile(hwnd, path);
}

LRESULT MainWindow::OnDropFiles(HWND hwnd, WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<char> path(count > 0 ? DragQueryFileA(drop, 0, nullptr, 0) + 1 : 1, '\0');
    if (count > 0)
        DragQueryFileA(drop, 0, path.data(), static_cast<UINT>(path.size()));
    // The names are copied out; the system's block goes before any message.
    DragFinish(drop);
    if (count == 0 || path[0] == '\0' || !IsCommandEnabled(IDM_OPEN))
        return kStopped;
    if (count > 1)
        ShowWarning(hwnd, FormatText("%s\n\n%s", path.data(), LoadText(kStrDropOneFile).c_str()));
    return OpenFile(hwnd, path.data());
}

LRESULT MainWindow::LoadFile(HWND hwnd, const char* path)
{
    FileImage image;
    std::unique_ptr<DiskFile> file(CreateDiskFile());
    unsigned long code = image.Read(*file, path);
    if (code != 0)
        return RefuseOpen(hwnd, kUnreadableFile, DescribeFileError(path, kStrReadFailed, code, *file));

    m_converter.FreeMidiFile(m_midiFile);
    m_midiFile = m_converter.LoadMidiFile(image.GetData(), image.GetSize(), m_reading, nullptr);
    image.Free();
    if (m_midiFile == nullptr)
        return RefuseOpen(hwnd, kRefusedImage, LoadText(kStrNotMidi));
    m_converter.FreeNoteListSet(m_noteListSet);
    m_noteListSet = m_converter.BuildNoteListSet(m_midiFile);
    SetMidiPath(path);

    m_fileInfo.SetName(FindFileName(path));
    m_fileInfo.SetFormat(m_midiFile->GetFormat());
    m_fileInfo.SetTimeBase(m_midiFile->GetTimeBase());
    m_fileInfo.SetRetimedFrom(m_midiFile->GetReadLog().timeBaseFrom);
    m_fileInfo.SetUsedChannelCount(m_noteListSet != nullptr ? m_noteListSet->GetChannelCount() : 0);
    ShowFileInfo();
    if (!IsSupportedFormat(m_fileInfo.GetFormat())) {
        return RefuseOpen(hwnd, kRefusedFile, FormatText(kFormatRefusal, m_fileInfo.GetName(),
                                                         m_fileInfo.GetFormat(), LoadText(kStrBadFormat).c_str()));
    }
    if (!IsSupportedTimeBase(m_fileInfo.GetTimeBase())) {
        return RefuseOpen(hwnd, kRefusedFile, FormatText(kTimeBaseRefusal, m_fileInfo.GetName(),
                                                         m_fileInfo.GetTimeBase(), LoadText(kStrBadTimeBase).c_str()));
    }

    m_settings.SetSplitStepCountForTimeBase(m_fileInfo.GetTimeBase());
    ShowSettings();
    if (FillMidiChannelList() > 0)
        m_midiChannelList.SelectItem(0);
    FillPartList();
    m_partList.SelectItem(0);
    m_settings.SetOutputName(BaseName(path) + "." + LoadText(kStrSaveExt));
    SetCommandState(GetCommandState() | kCanConvert);
    UpdateCommandButtons();
    return kCompleted;
}

LRESULT MainWindow::RefuseOpen(HWND hwnd, int failure, const std::string& text)
{
    // The window was reset when the Open was confirmed, so nothing is
    // enabled whatever stays loaded.
    switch (failure) {
    case kUnreadableFile:
        // Nothing of an unreadable file, and nothing loaded before it.
        m_converter.FreeNoteListSet(m_noteListSet);
        m_noteListSet = nullptr;
        m_converter.FreeMidiFile(m_midiFile);
        m_midiFile = nullptr;
        break;
    case kRefusedImage:
        // The earlier file made room for this one before it was loaded; the
        // earlier note lists stay until a loaded file replaces them.
        break;
    default:
        // A refused format or time base: the file, its note lists and its
        // path stay, and the information fields show them.
        break;
    }
    ShowWarning(hwnd, text);
    return kStopped;
}

LRESULT MainWindow::OnAdd(HWND, WPARAM, LPARAM)
{
    if ((m_commandState & kCanConvert) == 0 || m_noteListSet == nullptr)
        return kStopped;
    // A list without a focused row (a file without channel messages has an
    // empty channel list) leaves everything as it is.
    const int m = m_midiChannelList.GetFocusedItem();
    const int p = m_partList.GetFocusedItem();
    if (m < 0 || p < 0 || m_noteListSet->GetList(m) == nullptr)
        return kStopped;
    m_partList.SetItemData(p, m);
    ShowListColumns(m_partList, p, 1, m);
    if (m + 1 < m_midiChannelList.GetItemCount())
        m_midiChannelList.SelectItem(m + 1);
    if (p + 1 < m_partList.GetItemCount())
        m_partList.SelectItem(p + 1);
    return kCompleted;
}

LRESULT MainWindow::OnRemove(HWND, WPARAM, LPARAM)
{
    if ((m_commandState & kCanConvert) == 0)
        return kStopped;
    const int p = m_partList.GetFocusedItem();
    if (p < 0)
        return kStopped;
    m_partList.SetItemData(p, kUnassigned);
    for (int column = 1; column <= kListColumnCount; ++column)
        m_partList.ClearItemText(p, column);
    if (p + 1 < m_partList.GetItemCount())
        m_partList.SelectItem(p + 1);
    return kCompleted;
}

LRESULT MainWindow::OnVoices(HWND, WPARAM wParam, LPARAM)
{
    int voices = 0;
    for (const VoiceChoice& choice : kVoiceChoices) {
        if (choice.id == LOWORD(wParam))
            voices = choice.voices;
    }
    if (voices == 0 || voices == m_converter.GetVoiceCount())
        return kStopped;
    m_converter.SetVoiceCount(voices);
    if (m_midiFile != nullptr)
        RebuildNoteLists();
    return kCompleted;
}

LRESULT MainWindow::OnOpenLeniently(HWND, WPARAM, LPARAM)
{
    m_reading.SetLenient(!m_reading.IsLenient());
    return kCompleted;
}

LRESULT MainWindow::OnConvert(HWND hwnd, WPARAM, LPARAM)
{
    if ((m_commandState & kCanConvert) == 0 || m_midiFile == nullptr)
        return kStopped;
    ConvertSettings settings;
    if (!ReadSettings(hwnd, settings))
        return kStopped;
    std::string text;
    const std::vector<int> assignment = GetAssignment(settings.GetPartCount());
    int result = RunConversion(settings, assignment, text);
    if (result != Converter::kConvertOk) {
        // The previous source and state stay; the user learns why nothing came.
        ShowWarning(hwnd, LoadText(result == Converter::kConvertNoMemory ? kStrConvertNoMemory
                                                                         : kStrConvertFailed));
        return kStopped;
    }
    ClearSource();
    m_sourceText.swap(text);
    ShowSource();
    SetCommandState(GetCommandState() | kCanSave);
    UpdateCommandButtons();
    m_lastSettings = settings;
    m_lastAssignment = assignment;
    m_lastVoiceCount = m_converter.GetVoiceCount();
    if (m_reportOn) {
        ConversionReport report;
        ShowReportNotice(MakeReport(report) == 0 ? report.GetWarningCount() : 0);
    }
    return kCompleted;
}

// ---- Conversion report ---------------------------------------------------------

LRESULT MainWindow::OnReport(HWND hwnd, WPARAM, LPARAM)
{
    if ((m_commandState & kCanSave) == 0 || m_midiFile == nullptr)
        return kStopped;
    ConversionReport report;
    if (MakeReport(report) != 0) {
        ShowWarning(hwnd, LoadText(kStrReportNoMemory));
        return kStopped;
    }
    m_reportOn = true;
    ShowReportNotice(report.GetWarningCount());
    ShowReport(hwnd, report.Format(WindowTextTable(GetInstance())));
    return kCompleted;
}

int MainWindow::MakeReport(ConversionReport& report)
{
    if (m_midiFile == nullptr)
        return 1;
    report.SetVoiceCount(m_lastVoiceCount);
    return report.Compute(*m_midiFile, m_lastSettings, m_lastAssignment, m_sourceText) ==
                   ConversionReport::kReportOk
               ? 0
               : 1;
}

void MainWindow::ShowReportNotice(int warnings)
{
    const std::string notice = warnings > 0 ? LoadText(kStrReportWarnings) : std::string();
    std::string caption =
        ComposeCaption(GetText(), GetMidiPath(), kTextSize - static_cast<int>(notice.size()));
    SetWindowTextA(GetHandle(), (caption + notice).c_str());
}

int MainWindow::ShowReport(HWND owner, const std::string& text)
{
    ReportDialogHost host;
    return static_cast<int>(host.Show(GetInstance(), owner, text));
}

bool MainWindow::IsReportOn() const
{
    return m_reportOn;
}

int MainWindow::RunConversion(const ConvertSettings& settings, const std::vector<int>& assignment,
                              std::string& text)
{
    if (m_midiFile == nullptr)
        return Converter::kMissingArgument;
    // The same entry point as the command-line tool: the same bytes for the
    // same choices. It replaces the note lists only when it succeeds.
    return m_converter.Convert(*m_midiFile, settings, assignment, m_noteListSet, text);
}

LRESULT MainWindow::OnSave(HWND hwnd, WPARAM, LPARAM)
{
    // What the box holds now, edits included, in the ANSI code page.
    HWND box = GetDlgItem(hwnd, IDC_SOURCE);
    int length = GetWindowTextLengthA(box);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
    int size = GetWindowTextA(box, text.data(), static_cast<int>(text.size()));
    if (size <= 0) {
        ShowWarning(hwnd, LoadText(kStrEmptySource));
        return kStopped;
    }
    char name[kNameSize] = "";
    CopyAnsi(name, sizeof name, m_settings.GetOutputName().c_str());
    if (AskSaveFileName(hwnd, name, sizeof name) != 0)
        return kStopped;
    if (WriteSourceFile(hwnd, name, text.data(), static_cast<unsigned long>(size)) != 0)
        return kStopped;
    return kCompleted;
}

bool MainWindow::MakePreview(HWND hwnd, std::string& image)
{
    const std::string text = SourceBoxText(hwnd);
    ProgramPreview preview;
    PreviewTempo tempo;
    int timeBase = kPreviewTimeBase;
    if (m_midiFile != nullptr) {
        tempo.SetMicrosecondsPerQuarter(TempoFinder().GetFirstTempo(*m_midiFile));
        timeBase = m_midiFile->GetTimeBase();
    }
    preview.SetTempo(tempo);
    switch (preview.Make(text.data(), text.size(), timeBase, image)) {
    case ProgramPreview::kPreviewOk:
        if (preview.GetSampleCount() > 0)
            return true;
        image.clear();
        ShowWarning(hwnd, LoadText(kStrPreviewEmpty));
        return false;
    case ProgramPreview::kPreviewUnreadable:
        ShowWarning(hwnd, WindowTextTable(GetInstance()).DescribeUnreadable(preview.GetStatus()));
        return false;
    case ProgramPreview::kPreviewTooLong:
        ShowWarning(hwnd, LoadText(kStrPreviewTooLong));
        return false;
    default:
        ShowWarning(hwnd, LoadText(kStrPreviewNoMemory));
        return false;
    }
}

void MainWindow::StopPreview(HWND hwnd)
{
    if (hwnd != nullptr)
        KillTimer(hwnd, kPreviewTimer);
    if (m_player)
        m_player->Stop();
    if ((m_commandState & kCanStop) != 0) {
        SetCommandState(m_commandState & ~kCanStop);
        UpdateCommandButtons();
    }
}

LRESULT MainWindow::OnPlay(HWND hwnd, WPARAM, LPARAM)
{
    if (!IsCommandEnabled(IDM_PLAY))
        return kStopped;
    std::string image;
    if (!MakePreview(hwnd, image))
        return kStopped;
    StopPreview(hwnd);
    // Milliseconds of sound: the data after the 44-byte header, 88,200 bytes a second.
    const unsigned long long milliseconds = (image.size() - 44) / 2 * 1000ULL / 44100;
    switch (m_player->Play(image)) {
    case PreviewPlayer::kPlayOk:
        break;
    case PreviewPlayer::kPlayNoDevice:
        ShowWarning(hwnd, LoadText(kStrNoSoundDevice));
        return kStopped;
    default:
        ShowWarning(hwnd, LoadText(kStrPlayFailed));
        return kStopped;
    }
    const unsigned long long delay = milliseconds + kPreviewMargin;
    SetTimer(hwnd, kPreviewTimer, delay < USER_TIMER_MAXIMUM ? static_cast<UINT>(delay) : USER_TIMER_MAXIMUM,
             nullptr);
    SetCommandState(m_commandState | kCanStop);
    UpdateCommandButtons();
    return kCompleted;
}

LRESULT MainWindow::OnStop(HWND hwnd, WPARAM, LPARAM)
{
    if (!IsCommandEnabled(IDM_STOP))
        return kStopped;
    StopPreview(hwnd);
    return kCompleted;
}

LRESULT MainWindow::OnSavePreview(HWND hwnd, WPARAM, LPARAM)
{
    if (!IsCommandEnabled(IDM_SAVE_WAV))
        return kStopped;
    std::string image;
    if (!MakePreview(hwnd, image))
        return kStopped;
    // WriteSourceFile counts in an unsigned long; a WAV file may pass 4 GiB by a few bytes.
    const unsigned long size = static_cast<unsigned long>(image.size());
    if (size != image.size()) {
        ShowWarning(hwnd, LoadText(kStrPreviewTooLong));
        return kStopped;
    }
    char name[kNameSize] = "";
    if (m_midiPath != nullptr)
        CopyAnsi(name, sizeof name, (BaseName(m_midiPath) + "." + LoadText(kStrWavExt)).c_str());
    if (AskSaveFileNameOfType(hwnd, kStrWavFilter, kStrWavExt, name, sizeof name) != 0)
        return kStopped;
    if (WriteSourceFile(hwnd, name, image.data(), size) != 0)
        return kStopped;
    return kCompleted;
}

// ---- Message handlers ---------------------------------------------------------

LRESULT MainWindow::OnCreate(HWND hwnd, WPARAM, LPARAM)
{
    CenterWindow(hwnd);
    FillComboFromStrings(GetDlgItem(hwnd, IDC_RESOLUTION), NoteValueTable::kValueCount, kStrValue0);
    FillComboFromStrings(GetDlgItem(hwnd, IDC_PLAY_KIND), PlayKindTable::kKindCount, kStrKindPlay);
    CreateSpinControls(hwnd);

    m_midiChannelList.AttachParent(hwnd, GetInstance());
    m_midiChannelList.SetHandle(GetDlgItem(hwnd, IDC_CHANNEL_LIST));
    m_midiChannelList.LoadColumns(IDR_CHANNEL_COLUMNS);
    m_partList.AttachParent(hwnd, GetInstance());
    m_partList.SetHandle(GetDlgItem(hwnd, IDC_PART_LIST));
    m_partList.LoadColumns(IDR_PART_COLUMNS);

    // Generated programs run far past the edit control's 32K default.
    SendDlgItemMessageA(hwnd, IDC_SOURCE, EM_SETLIMITTEXT, 0, 0);

    ResetWindow();
    SetFocus(GetDlgItem(hwnd, IDM_OPEN));

    char folder[MAX_PATH] = "";
    GetProgramDirectory(folder, sizeof folder);
    SetManualPath(std::string(folder) + LoadText(kStrManualFile));
    // A file dropped onto the window opens as Open opens it.
    DragAcceptFiles(hwnd, TRUE);
    return 0;
}

LRESULT MainWindow::OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    const WORD id = LOWORD(wParam);
    for (const Command& command : kCommands) {
        if (command.id == id) {
            (this->*command.handler)(hwnd, wParam, lParam);
            return 0;
        }
    }
    // Open Leniently and the Voices items, which every state allows.
    if (id == IDM_OPEN_LENIENTLY) {
        OnOpenLeniently(hwnd, wParam, lParam);
        return 0;
    }
    for (const VoiceChoice& choice : kVoiceChoices) {
        if (choice.id == id) {
            OnVoices(hwnd, wParam, lParam);
            return 0;
        }
    }
    // Exit deletes this handler; nothing may touch it afterwards.
    return DialogHandler::OnCommand(hwnd, wParam, lParam);
}

LRESULT MainWindow::OnActivate(HWND hwnd, WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case WA_INACTIVE:
        SetLastFocus(GetFocus());
        break;
    case WA_ACTIVE:
    case WA_CLICKACTIVE:
        UpdateActiveTarget(hwnd, GetActiveTarget(), GetAccelerators());
        // Only a control of this window that still exists gets the focus
        // back; the first activation has none to restore.
        if (m_lastFocus != nullptr && IsWindow(m_lastFocus) && IsChild(hwnd, m_lastFocus))
            SetFocus(m_lastFocus);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT MainWindow::OnInitMenu(HWND, WPARAM wParam, LPARAM)
{
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    for (const Command& command : kCommands)
        EnableMenuItem(menu, command.id, MenuState(IsCommandEnabled(command.id)));
    for (const VoiceChoice& choice : kVoiceChoices) {
        if (choice.voices == m_converter.GetVoiceCount())
            CheckMenuRadioItem(menu, IDM_VOICES_1, IDM_VOICES_18, choice.id, MF_BYCOMMAND);
    }
    CheckMenuItem(menu, IDM_OPEN_LENIENTLY,
                  MF_BYCOMMAND | (m_reading.IsLenient() ? MF_CHECKED : MF_UNCHECKED));
    return 0;
}

LRESULT MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != kPreviewTimer)
            return DialogHandler::WindowProc(hwnd, message, wParam, lParam);
        // The sound has run out: its image can go.
        StopPreview(hwnd);
        return 0;
    case WM_NEXTDLGCTL:
    case DM_GETDEFID:
    case DM_SETDEFID:
        // The window has no dialog procedure of its own, so the dialog
        // manager's default moves the focus and keeps the default button.
        return DefDlgProcA(hwnd, message, wParam, lParam);
    case WM_DROPFILES:
        OnDropFiles(hwnd, wParam, lParam);
        return 0;
    default:
        return DialogHandler::WindowProc(hwnd, message, wParam, lParam);
    }
}

// ---- Help ---------------------------------------------------------------------

BOOL MainWindow::OpenHelp(HWND hwnd)
{
    const char* helpPath = GetHelpPath() != nullptr ? GetHelpPath() : "";
    // The help file when it is there and a viewer took it, as ever.
    if (helpPath[0] != '\0' && FileExists(helpPath) && RunWinHelp(hwnd, helpPath))
        return TRUE;
    if (!m_manualPath.empty() && FileExists(m_manualPath.c_str()) && OpenDocument(hwnd, m_manualPath.c_str()))
        return TRUE;
    ShowWarning(hwnd, FormatText("%s\n\n%s\n%s", LoadText(kStrNoHelp).c_str(), helpPath, m_manualPath.c_str()));
    return FALSE;
}

// ---- Helpers ------------------------------------------------------------------

std::string MainWindow::LoadText(int id) const
{
    char text[kTextSize] = "";
    int length = LoadStringA(GetInstance(), static_cast<UINT>(id), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string MainWindow::DescribeFileError(const char* path, int messageId, unsigned long code,
                                          const DiskFile& file) const
{
    return FormatText("%s\n\n%s\n%s", path, LoadText(messageId).c_str(), file.DescribeError(code).c_str());
}

int MainWindow::ShowWarning(HWND owner, const std::string& text)
{
    return ShowMessage(owner, text.c_str(), GetText(), kWarningFlags);
}
