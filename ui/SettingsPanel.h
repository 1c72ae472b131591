#ifndef MORVEK_UI_SETTINGSPANEL_H
#define MORVEK_UI_SETTINGSPANEL_H

#include <windows.h>

#include "framework/ComboBoxCtrl.h"
#include "framework/EditCtrl.h"
#include "framework/UpDownCtrl.h"
#include "settings/ConvertSettings.h"
#include "ui/MidiFileInfo.h"

class WindowServices;

// The upper half of the main window: the loaded file's information and the
// five conversion settings (part count, minimum resolution, split step
// count, first line number, PLAY kind) with their drop-down lists and
// up-down controls. It owns the values the fields show.
class SettingsPanel {
public:
// Construction
    explicit SettingsPanel(WindowServices& window);
    virtual ~SettingsPanel();
    SettingsPanel(const SettingsPanel&) = delete;
    SettingsPanel& operator=(const SettingsPanel&) = delete;

    // Adopts the fields of the window's template, fills both drop-down lists
    // from the string table and makes the three up-down controls. Returns
    // the number of up-down controls made.
    virtual int Create(HWND hwnd);

// Attributes
    // Every option of a conversion: the fields' values as last shown, and
    // the menus' voice count and line limit.
    virtual ConvertSettings& GetSettings();
    virtual const ConvertSettings& GetSettings() const;
    virtual MidiFileInfo& GetFileInfo();

// Operations
    // File information and settings back to their values at start, shown.
    virtual void Reset();
    virtual void ShowFileInfo();
    virtual void ShowSettings();
    // Reads the five settings from the fields into settings. Shows the
    // message of the first failing check and returns false when a value is
    // out of range.
    virtual bool ReadSettings(HWND owner, ConvertSettings& settings);

private:
    // Adds strings firstStringId .. + count - 1; item i gets item data i.
    virtual int FillFromStrings(ComboBoxCtrl& combo, int count, int firstStringId);

    WindowServices& m_window;
    ConvertSettings m_settings;
    MidiFileInfo m_fileInfo;
    ControlWnd m_fileName;
    ControlWnd m_format;
    ControlWnd m_timeBase;
    ControlWnd m_usedChannels;
    EditCtrl m_partCount;
    ComboBoxCtrl m_resolution;
    EditCtrl m_splitStep;
    EditCtrl m_firstLine;
    ComboBoxCtrl m_playKind;
    UpDownCtrl m_spins[3];
};

#endif
