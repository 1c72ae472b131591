#include "ui/SettingsPanel.h"

#include <commctrl.h>

#include "resources/ResourceIds.h"
#include "settings/NoteValueTable.h"
#include "settings/PlayKindTable.h"
#include "settings/SettingsCheck.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"
#include "text/Texts.h"
#include "ui/WindowServices.h"

namespace {

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

std::string DecimalText(int value)
{
    return FormatText("%d", value);
}

} // namespace

SettingsPanel::SettingsPanel(WindowServices& window)
    : m_window(window)
{
}

SettingsPanel::~SettingsPanel()
{
}

int SettingsPanel::Create(HWND hwnd)
{
    HINSTANCE instance = m_window.GetInstance();
    m_fileName.AttachItem(hwnd, instance, IDC_FILE_NAME);
    m_format.AttachItem(hwnd, instance, IDC_FORMAT);
    m_timeBase.AttachItem(hwnd, instance, IDC_TIME_BASE);
    m_usedChannels.AttachItem(hwnd, instance, IDC_USED_CHANNELS);
    m_partCount.AttachItem(hwnd, instance, IDC_PART_COUNT);
    m_resolution.AttachItem(hwnd, instance, IDC_RESOLUTION);
    m_splitStep.AttachItem(hwnd, instance, IDC_SPLIT_STEP);
    m_firstLine.AttachItem(hwnd, instance, IDC_FIRST_LINE);
    m_playKind.AttachItem(hwnd, instance, IDC_PLAY_KIND);
    FillFromStrings(m_resolution, NoteValueTable::kValueCount, kStrValue0);
    FillFromStrings(m_playKind, PlayKindTable::kKindCount, kStrKindPlay);

    int created = 0;
    for (int i = 0; i < 3; ++i) {
        const SpinControl& spin = kSpinControls[i];
        UpDownCtrl& control = m_spins[i];
        control.AttachParent(hwnd, instance);
        const RECT rect = {kSpinX, spin.y, kSpinX + kSpinWidth, spin.y + kSpinHeight};
        if (control.Create(kSpinStyle, rect, spin.id, GetDlgItem(hwnd, spin.buddy), spin.lower, spin.upper,
                           spin.start) == nullptr)
            continue;
        ++created;
        if (spin.accelerationStep != 0) {
            UDACCEL acceleration = {1, static_cast<UINT>(spin.accelerationStep)};
            control.SetAccel(1, &acceleration);
        }
    }
    return created;
}

ConvertSettings& SettingsPanel::GetSettings()
{
    return m_settings;
}

const ConvertSettings& SettingsPanel::GetSettings() const
{
    return m_settings;
}

MidiFileInfo& SettingsPanel::GetFileInfo()
{
    return m_fileInfo;
}

void SettingsPanel::Reset()
{
    m_fileInfo.Reset();
    ShowFileInfo();
    // The menus' voice count and line limit outlive the file.
    const int voices = m_settings.GetVoiceCount();
    const int limit = m_settings.GetLineLimit();
    m_settings.Reset();
    m_settings.SetVoiceCount(voices);
    m_settings.SetLineLimit(limit);
    ShowSettings();
}

void SettingsPanel::ShowFileInfo()
{
    m_fileName.WriteText(m_fileInfo.GetName());
    m_format.WriteText(FormatText("%1d", m_fileInfo.GetFormat()).c_str());
    const std::string timeBase =
        m_fileInfo.GetRetimedFrom() == 0
            ? FormatThousands(m_fileInfo.GetTimeBase())
            : FormatText(m_window.LoadText(kStrRetimedTimeBase).c_str(),
                         FormatThousands(m_fileInfo.GetRetimedFrom()).c_str(), m_fileInfo.GetTimeBase());
    m_timeBase.WriteText(timeBase.c_str());
    m_usedChannels.WriteText(DecimalText(m_fileInfo.GetUsedChannelCount()).c_str());
}

void SettingsPanel::ShowSettings()
{
    m_partCount.WriteText(DecimalText(m_settings.GetPartCount()).c_str());
    m_resolution.SetCurSel(m_settings.GetMinimumResolution());
    m_splitStep.WriteText(FormatThousands(m_settings.GetSplitStepCount()).c_str());
    m_firstLine.WriteText(FormatThousands(m_settings.GetFirstLineNumber()).c_str());
    m_playKind.SetCurSel(m_settings.GetPlayKind());
}

bool SettingsPanel::ReadSettings(HWND owner, ConvertSettings& settings)
{
    SettingsCheck check;
    if (check.CheckFields(m_splitStep.ReadText().c_str(), m_partCount.ReadText().c_str(),
                          m_firstLine.ReadText().c_str(), settings) != SettingsCheck::kSettingsValid) {
        // Label and message from the string table of the interface's language.
        m_window.ShowWarning(owner, check.ComposeMessageText(m_window.LoadText(check.GetLabelId()).c_str(),
                                                             m_window.LoadText(check.GetMessageId()).c_str()));
        return false;
    }
    settings.SetMinimumResolution(static_cast<int>(m_resolution.GetSelectedItemData()));
    settings.SetPlayKind(static_cast<int>(m_playKind.GetSelectedItemData()));
    return true;
}

int SettingsPanel::FillFromStrings(ComboBoxCtrl& combo, int count, int firstStringId)
{
    for (int i = 0; i < count; ++i)
        combo.AddItem(m_window.LoadText(firstStringId + i).c_str(), i);
    return count;
}
