#include "ui/MainWindow.h"

#include <shellapi.h>

#include <memory>
#include <utility>

#include "base/DiskFile.h"
#include "base/FileImage.h"
#include "framework/OwnedString.h"
#include "midi/MidiFile.h"
#include "resources/ResourceIds.h"
#include "score/NoteListSet.h"
#include "text/TextFormat.h"
#include "text/Texts.h"
#include "ui/AnsiText.h"
#include "ui/MainWindowCommands.h"

namespace {

const char kFormatRefusal[] = "FILE NAME = %s\nFORMAT = %d\n\n%s";
const char kTimeBaseRefusal[] = "FILE NAME = %s\nTIME BASE = %d\n\n%s";

UINT MenuState(bool enabled)
{
    return MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
}

} // namespace

MainWindow::MainWindow()
    : m_midiFile(nullptr), m_noteListSet(nullptr), m_settingsPanel(*this), m_preview(*this), m_report(*this),
      m_midiPath(nullptr)
{
}

MainWindow::~MainWindow()
{
    m_preview.GetPlayer().Stop();                   // silent before anything else goes
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
    return m_noteListSet != nullptr ? m_noteListSet : m_report.GetLastConversion().GetLists();
}

ListViewCtrl& MainWindow::GetMidiChannelList()
{
    return m_lists.GetMidiChannelList();
}

ListViewCtrl& MainWindow::GetPartList()
{
    return m_lists.GetPartList();
}

MidiFileInfo& MainWindow::GetFileInfo()
{
    return m_settingsPanel.GetFileInfo();
}

ConvertSettings& MainWindow::GetSettings()
{
    return m_settingsPanel.GetSettings();
}

const std::string& MainWindow::GetSourceText() const
{
    return m_sourceText;
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

std::unique_ptr<PreviewPlayer> MainWindow::SetPreviewPlayer(std::unique_ptr<PreviewPlayer> player)
{
    return m_preview.SetPlayer(std::move(player));
}

PreviewPlayer& MainWindow::GetPreviewPlayer()
{
    return m_preview.GetPlayer();
}

bool MainWindow::IsReportOn() const
{
    return m_report.IsReportOn();
}

// ---- Window state -------------------------------------------------------------

void MainWindow::ResetWindow()
{
    m_preview.Stop(GetHandle());
    m_settingsPanel.Reset();
    m_lists.Clear();
    m_sourceText.clear();
    ShowSource();
    SetCommandState(kCanOpen);
    UpdateCommandButtons();
}

void MainWindow::ShowSource()
{
    m_source.WriteText(m_sourceText.c_str());
}

void MainWindow::UpdateCommandButtons()
{
    HWND hwnd = GetHandle();
    for (const MainWindowCommand& command : MainWindowCommand::All()) {
        // The preview's commands are menu items and keys only.
        HWND button = command.enabledBy != 0 ? GetDlgItem(hwnd, command.id) : nullptr;
        if (button != nullptr)
            EnableWindow(button, IsCommandEnabled(command.id));
    }
}

bool MainWindow::IsCommandEnabled(int id) const
{
    const MainWindowCommand* command = MainWindowCommand::Find(id);
    // Help, About, Exit and the items every state allows.
    return command == nullptr || command->enabledBy == 0 || (GetCommandState() & command->enabledBy) != 0;
}

int MainWindow::RebuildNoteLists()
{
    m_converter.FreeNoteListSet(m_noteListSet);
    m_noteListSet = m_midiFile != nullptr ? m_converter.BuildNoteListSet(m_midiFile, GetSettings()) : nullptr;
    GetFileInfo().SetUsedChannelCount(m_noteListSet != nullptr ? m_noteListSet->GetChannelCount() : 0);
    m_settingsPanel.ShowFileInfo();
    m_lists.Clear();
    // A refused file shows no rows, as after Open.
    if ((GetCommandState() & kCanConvert) == 0)
        return 0;
    return m_lists.Fill(GetNoteListSet(), GetSettings().GetVoiceCount());
}

int MainWindow::RunConversion(const ConvertSettings& settings, const std::vector<int>& assignment,
                              ConversionResult& result)
{
    if (m_midiFile == nullptr)
        return Converter::kMissingArgument;
    // The same entry point as the command-line tool: the same bytes for the
    // same choices.
    result = m_converter.Convert(*m_midiFile, settings, assignment);
    return result.GetResult();
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
    m_report.Forget();
    m_noteListSet = m_converter.BuildNoteListSet(m_midiFile, GetSettings());
    SetMidiPath(path);

    MidiFileInfo& info = GetFileInfo();
    info.SetName(FindFileName(path));
    info.SetFormat(m_midiFile->GetFormat());
    info.SetTimeBase(m_midiFile->GetTimeBase());
    info.SetRetimedFrom(m_midiFile->GetReadLog().timeBaseFrom);
    info.SetUsedChannelCount(m_noteListSet != nullptr ? m_noteListSet->GetChannelCount() : 0);
    m_settingsPanel.ShowFileInfo();
    if (!m_converter.IsSupportedFormat(info.GetFormat())) {
        return RefuseOpen(hwnd, kRefusedFile, FormatText(kFormatRefusal, info.GetName(), info.GetFormat(),
                                                         LoadText(kStrBadFormat).c_str()));
    }
    if (!m_converter.IsSupportedTimeBase(info.GetTimeBase())) {
        return RefuseOpen(hwnd, kRefusedFile, FormatText(kTimeBaseRefusal, info.GetName(), info.GetTimeBase(),
                                                         LoadText(kStrBadTimeBase).c_str()));
    }

    GetSettings().SetSplitStepCountForTimeBase(info.GetTimeBase());
    m_settingsPanel.ShowSettings();
    m_lists.Fill(m_noteListSet, GetSettings().GetVoiceCount());
    GetSettings().SetOutputName(BaseName(path) + "." + LoadText(kStrSaveExt));
    SetCommandState(GetCommandState() | kCanConvert);
    UpdateCommandButtons();
    return kCompleted;
}

LRESULT MainWindow::RefuseOpen(HWND hwnd, int failure, const std::string& text)
{
    // The window was reset when the Open was confirmed, so nothing is
    // enabled whatever stays loaded. An unreadable file leaves nothing, nor
    // what was loaded before it; a refused image leaves the earlier note
    // lists until a loaded file replaces them; a refused format or time
    // base leaves the file, its note lists and its path, shown.
    if (failure == kUnreadableFile) {
        m_converter.FreeNoteListSet(m_noteListSet);
        m_noteListSet = nullptr;
        m_report.Forget();
        m_converter.FreeMidiFile(m_midiFile);
        m_midiFile = nullptr;
    }
    ShowWarning(hwnd, text);
    return kStopped;
}

LRESULT MainWindow::OnConvert(HWND hwnd, WPARAM, LPARAM)
{
    // The menus' voice count and line limit; the fields read below.
    ConvertSettings settings = GetSettings();
    if (m_midiFile == nullptr || !m_settingsPanel.ReadSettings(hwnd, settings))
        return kStopped;
    const std::vector<int> assignment = m_lists.GetAssignment(settings.GetPartCount());
    ConversionResult conversion;
    int result = RunConversion(settings, assignment, conversion);
    if (result != Converter::kConvertOk) {
        // The previous source and state stay; the user learns why nothing came.
        ShowWarning(hwnd, LoadText(result == Converter::kConvertNoMemory ? kStrConvertNoMemory
                                                                         : kStrConvertFailed));
        return kStopped;
    }
    m_sourceText = conversion.TakeText();
    // The conversion's lists replace the window's.
    m_converter.FreeNoteListSet(m_noteListSet);
    m_noteListSet = nullptr;
    ShowSource();
    SetCommandState(GetCommandState() | kCanSave);
    UpdateCommandButtons();
    m_report.Converted(m_midiFile, std::move(conversion), m_sourceText, m_midiPath);
    return kCompleted;
}

LRESULT MainWindow::OnSave(HWND hwnd, WPARAM, LPARAM)
{
    // What the box holds now, edits included, in the ANSI code page.
    const std::string text = m_source.ReadText();
    if (text.empty()) {
        ShowWarning(hwnd, LoadText(kStrEmptySource));
        return kStopped;
    }
    char name[kNameSize] = "";
    CopyAnsi(name, sizeof name, GetSettings().GetOutputName().c_str());
    if (AskSaveFileName(hwnd, name, sizeof name) != 0)
        return kStopped;
    if (WriteSourceFile(hwnd, name, text.data(), static_cast<unsigned long>(text.size())) != 0)
        return kStopped;
    return kCompleted;
}

LRESULT MainWindow::OnAdd(HWND, WPARAM, LPARAM)
{
    return m_lists.Add(GetNoteListSet(), GetSettings().GetVoiceCount()) ? kCompleted : kStopped;
}

LRESULT MainWindow::OnRemove(HWND, WPARAM, LPARAM)
{
    return m_lists.Remove() ? kCompleted : kStopped;
}

LRESULT MainWindow::OnVoices(HWND, WPARAM wParam, LPARAM)
{
    const int voices = MainWindowCommand::VoicesOf(LOWORD(wParam));
    if (voices == 0 || voices == GetSettings().GetVoiceCount())
        return kStopped;
    GetSettings().SetVoiceCount(voices);
    if (m_midiFile != nullptr)
        RebuildNoteLists();
    return kCompleted;
}

LRESULT MainWindow::OnOpenLeniently(HWND, WPARAM, LPARAM)
{
    m_reading.SetLenient(!m_reading.IsLenient());
    return kCompleted;
}

bool MainWindow::IsOpenLeniently(int) const
{
    return m_reading.IsLenient();
}

LRESULT MainWindow::OnLineLength(HWND, WPARAM wParam, LPARAM)
{
    const int limit = MainWindowCommand::LineLimitOf(LOWORD(wParam));
    if (limit >= 0)
        GetSettings().SetLineLimit(limit);
    return kCompleted;
}

bool MainWindow::IsLineLengthChosen(int id) const
{
    return MainWindowCommand::LineLimitOf(id) == m_settingsPanel.GetSettings().GetLineLimit();
}

bool MainWindow::IsVoicesChosen(int id) const
{
    return MainWindowCommand::VoicesOf(id) == m_settingsPanel.GetSettings().GetVoiceCount();
}

LRESULT MainWindow::OnReport(HWND hwnd, WPARAM, LPARAM)
{
    return m_report.Show(hwnd, m_midiFile, m_sourceText, m_midiPath);
}

LRESULT MainWindow::OnPlay(HWND hwnd, WPARAM, LPARAM)
{
    return m_preview.Play(hwnd, m_source.ReadText(), m_midiFile);
}

LRESULT MainWindow::OnStop(HWND hwnd, WPARAM, LPARAM)
{
    m_preview.Stop(hwnd);
    return kCompleted;
}

LRESULT MainWindow::OnSavePreview(HWND hwnd, WPARAM, LPARAM)
{
    return m_preview.SaveAsWav(hwnd, m_source.ReadText(), m_midiFile, m_midiPath);
}

// ---- Message handlers ---------------------------------------------------------

LRESULT MainWindow::OnCreate(HWND hwnd, WPARAM, LPARAM)
{
    CenterWindow(hwnd);
    m_settingsPanel.Create(hwnd);
    m_lists.Create(hwnd, GetInstance());
    m_source.AttachItem(hwnd, GetInstance(), IDC_SOURCE);
    // Generated programs run far past the edit control's 32K default.
    m_source.SetLimitText(0);

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
    const MainWindowCommand* command = MainWindowCommand::Find(LOWORD(wParam));
    if (command == nullptr) {
        // Exit deletes this handler; nothing may touch it afterwards.
        return DialogHandler::OnCommand(hwnd, wParam, lParam);
    }
    // The one place a disabled command is refused: keys and stray messages
    // reach here even while its button and menu item are grey.
    if (IsCommandEnabled(command->id))
        (this->*command->handler)(hwnd, wParam, lParam);
    return 0;
}

LRESULT MainWindow::OnInitMenu(HWND, WPARAM wParam, LPARAM)
{
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    for (const MainWindowCommand& command : MainWindowCommand::All()) {
        if (command.enabledBy != 0)
            EnableMenuItem(menu, command.id, MenuState(IsCommandEnabled(command.id)));
        const bool marked = command.isMarked != nullptr && (this->*command.isMarked)(command.id);
        if (command.mark == MainWindowCommand::kCheckMark)
            CheckMenuItem(menu, command.id, MF_BYCOMMAND | (marked ? MF_CHECKED : MF_UNCHECKED));
        else if (command.mark == MainWindowCommand::kRadioMark && marked)
            CheckMenuRadioItem(menu, command.firstInGroup, command.lastInGroup, command.id, MF_BYCOMMAND);
    }
    return 0;
}

LRESULT MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != kPreviewTimer)
            return DialogHandler::WindowProc(hwnd, message, wParam, lParam);
        // The sound has run out: its image can go.
        m_preview.Stop(hwnd);
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
