#include "ui/PreviewCommands.h"

#include <memory>

#include "base/DiskFile.h"
#include "midi/MidiFile.h"
#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"
#include "preview/TempoFinder.h"
#include "resources/ResourceIds.h"
#include "text/TextFormat.h"
#include "text/Texts.h"
#include "ui/AnsiText.h"
#include "ui/WindowServices.h"
#include "ui/WindowTextTable.h"

namespace {

// The box's text when the file gave no time base or tempo: 480 ticks to the
// quarter note, as midi2morvek --render reads a text.
const int kPreviewTimeBase = 480;
// The timer runs this much past the sound, which starts a little late.
const UINT kPreviewMargin = 250;

} // namespace

PreviewCommands::PreviewCommands(WindowServices& window)
    : m_window(window), m_player(new PreviewPlayer)
{
}

PreviewCommands::~PreviewCommands()
{
    m_player.reset();
}

std::unique_ptr<PreviewPlayer> PreviewCommands::SetPlayer(std::unique_ptr<PreviewPlayer> player)
{
    Stop(m_window.GetHandle());
    m_player.swap(player);
    return player;
}

PreviewPlayer& PreviewCommands::GetPlayer()
{
    return *m_player;
}

bool PreviewCommands::MakePreview(HWND hwnd, const std::string& text, const MidiFile* file,
                                  ProgramPreview& preview, std::string* image)
{
    PreviewTempo tempo;
    int timeBase = kPreviewTimeBase;
    if (file != nullptr) {
        tempo.SetMicrosecondsPerQuarter(TempoFinder().GetFirstTempo(*file));
        timeBase = file->GetTimeBase();
    }
    preview.SetTempo(tempo);
    const int result = image != nullptr ? preview.Make(text.data(), text.size(), timeBase, *image)
                                        : preview.Read(text.data(), text.size(), timeBase);
    switch (result) {
    case ProgramPreview::kPreviewOk:
        if (preview.GetSampleCount() > 0)
            return true;
        if (image != nullptr)
            image->clear();
        m_window.ShowWarning(hwnd, m_window.LoadText(kStrPreviewEmpty));
        return false;
    case ProgramPreview::kPreviewUnreadable:
        m_window.ShowWarning(hwnd, WindowTextTable(m_window.GetInstance()).DescribeUnreadable(preview.GetStatus()));
        return false;
    case ProgramPreview::kPreviewTooLong:
        m_window.ShowWarning(hwnd, m_window.LoadText(kStrPreviewTooLong));
        return false;
    default:
        m_window.ShowWarning(hwnd, m_window.LoadText(kStrPreviewNoMemory));
        return false;
    }
}

void PreviewCommands::Stop(HWND hwnd)
{
    if (hwnd != nullptr)
        KillTimer(hwnd, kPreviewTimer);
    if (m_player)
        m_player->Stop();
    const unsigned state = m_window.GetCommandState();
    if ((state & WindowServices::kCanStop) != 0) {
        m_window.SetCommandState(state & ~WindowServices::kCanStop);
        m_window.UpdateCommandButtons();
    }
}

LRESULT PreviewCommands::Play(HWND hwnd, const std::string& text, const MidiFile* file)
{
    std::string image;
    ProgramPreview preview;
    if (!MakePreview(hwnd, text, file, preview, &image))
        return WindowServices::kStopped;
    Stop(hwnd);
    // Milliseconds of sound: the data after the 44-byte header, 88,200 bytes a second.
    const unsigned long long milliseconds = (image.size() - 44) / 2 * 1000ULL / 44100;
    switch (m_player->Play(image)) {
    case PreviewPlayer::kPlayOk:
        break;
    case PreviewPlayer::kPlayNoDevice:
        m_window.ShowWarning(hwnd, m_window.LoadText(kStrNoSoundDevice));
        return WindowServices::kStopped;
    default:
        m_window.ShowWarning(hwnd, m_window.LoadText(kStrPlayFailed));
        return WindowServices::kStopped;
    }
    const unsigned long long delay = milliseconds + kPreviewMargin;
    SetTimer(hwnd, kPreviewTimer, delay < USER_TIMER_MAXIMUM ? static_cast<UINT>(delay) : USER_TIMER_MAXIMUM,
             nullptr);
    m_window.SetCommandState(m_window.GetCommandState() | WindowServices::kCanStop);
    m_window.UpdateCommandButtons();
    return WindowServices::kCompleted;
}

LRESULT PreviewCommands::SaveAsWav(HWND hwnd, const std::string& text, const MidiFile* file,
                                   const char* midiPath)
{
    ProgramPreview preview;
    if (!MakePreview(hwnd, text, file, preview, nullptr))
        return WindowServices::kStopped;
    char name[WindowServices::kNameSize] = "";
    if (midiPath != nullptr)
        CopyAnsi(name, sizeof name, (BaseName(midiPath) + "." + m_window.LoadText(kStrWavExt)).c_str());
    if (m_window.AskSaveFileNameOfType(hwnd, kStrWavFilter, kStrWavExt, name, sizeof name) != 0)
        return WindowServices::kStopped;
    // A piece at a time: a long preview is never held whole.
    std::unique_ptr<DiskFile> diskFile(m_window.CreateDiskFile());
    const unsigned long code = preview.Save(*diskFile, name);
    if (code != 0) {
        m_window.ReportFileError(hwnd, name, kStrWriteFailed, code, *diskFile);
        return WindowServices::kStopped;
    }
    return WindowServices::kCompleted;
}
