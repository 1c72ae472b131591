#ifndef MORVEK_SETTINGS_SETTINGSCHECK_H
#define MORVEK_SETTINGS_SETTINGSCHECK_H

#include <string>

class ConvertSettings;

// The one check of every conversion setting, applied by Convert before
// anything changes and by the window to the typed fields.
// It remembers which setting failed and the value it read, so that the main
// window can show its message box text and the command-line tool an
// English line from the same check.
//
// 1. CheckFields (the texts of the fields) or CheckValues (numbers already read).
// 2. A result of kSettingsValid: go on. Otherwise GetMessageText (window) or
//    GetEnglishText (command line) says what is wrong; stop.
class SettingsCheck {
public:
    // In the order the checks run: the split step count first, though it is
    // the third field on screen. Only the first failing one is reported.
    // The same numbers as ConvertStatus::Setting.
    enum Fault {
        kSettingsValid = 0,
        kBadSplitStepCount = 1,
        kBadPartCount = 2,
        kBadFirstLineNumber = 3,
        kBadMinimumResolution = 4, // not an index of NoteValueTable
        kBadPlayKind = 5,          // not an index of PlayKindTable
        kBadVoiceCount = 6,
        kBadLineLimit = 7          // neither off nor a limit in range
    };

// Construction
    SettingsCheck();
    virtual ~SettingsCheck();

// Operations
    // Reads each text with ParseDigits and checks the values. When all pass,
    // settings receives split step count, part count and first line number;
    // it is left untouched otherwise. Returns the fault (kSettingsValid = 0).
    virtual int CheckFields(const char* splitStepText, const char* partCountText,
                            const char* firstLineText, ConvertSettings& settings);
    // Checks values that are already numbers. Returns the fault.
    virtual int CheckValues(int splitStepCount, int partCount, int firstLineNumber);
    // Every setting of a conversion, in the order of Fault. Returns the fault.
    virtual int Check(const ConvertSettings& settings);
    // The voice count alone (a command line reads it before the file).
    virtual int CheckVoiceCount(int count);
    // Off, or a limit from the lowest to the highest. Returns the fault.
    virtual int CheckLineLimit(int characters);

// Attributes
    virtual int GetFault() const;
    // The value read for the failing setting; 0 when all passed.
    virtual int GetValue() const;
    // String-table id of the fault's message (1234, 1235, 1236), 0 when valid
    // or for a setting the window chooses from a list.
    virtual int GetMessageId() const;
    // String-table id of the failing setting's label (1255, 1256, 1257), 0
    // when valid.
    virtual int GetLabelId() const;
    // Message box text (code page 932): the setting's label with the value,
    // a blank line and the string-table message. Empty when valid.
    virtual std::string GetMessageText() const;
    // The same text from a label and a message the caller loaded, in the
    // language of its own string table. Empty when valid or either is null.
    virtual std::string ComposeMessageText(const char* label, const char* message) const;
    // One English line naming the setting, the value and the valid range.
    // Empty when valid.
    virtual std::string GetEnglishText() const;
    // The same line for a fault and value found before (a ConvertStatus).
    virtual std::string GetEnglishTextFor(int fault, int value) const;

private:
    int Fail(int fault, int value);

    int m_fault;
    int m_value;
};

#endif
