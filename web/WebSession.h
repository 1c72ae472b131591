#ifndef MORVEK_WEB_WEBSESSION_H
#define MORVEK_WEB_WEBSESSION_H

#include <string>
#include <vector>

#include "engine/ConversionResult.h"
#include "engine/ConvertStatus.h"
#include "engine/Converter.h"
#include "midi/MidiReadOptions.h"
#include "settings/ConvertSettings.h"

class MidiFile;
class NoteListSet;

// What the web page holds between its calls: one open file, its note lists,
// the settings, the part assignment, and the last program, report and
// preview made. Every step is the core routine the window and midi2morvek
// use; this only keeps their results for the page to read.
//
//   1. Open(image, size): 0, or why the file is refused (OpenResult).
//   2. The file's facts and lists: GetFileFact, GetListFact.
//   3. SetSetting, SetAssignment; Convert() gives a ConvertResult, the
//      program in GetText(kProgramText) and the detail in GetStatus().
//   4. MakeReport(text) and MakePreview(text, tempo) on the page's text.
class WebSession {
public:
    enum OpenResult {
        kOpenOk = 0,
        kOpenNotMidi = 1,        // not a well-formed Standard MIDI File
        kOpenBadFormat = 2,      // loaded, format not 0 or 1
        kOpenBadTimeBase = 3,    // loaded, time base not supported
        kOpenNoMemory = 4,
        kOpenTooLong = 5         // read leniently: too long to re-time
    };
    // What SetSetting sets. A new option is one more entry here and in
    // SetSetting, and one control of the page.
    enum Setting {
        kPartCount = 0,
        kMinimumResolution = 1,
        kSplitStepCount = 2,
        kFirstLineNumber = 3,
        kPlayKind = 4,
        kVoiceCount = 5,         // rebuilds the lists of an open file
        kReportLineLimit = 6,    // the report's longest good PLAY line
        kLenient = 7,            // the next Open reads leniently (0 or 1)
        kReportLanguage = 8,     // of the report and preview reasons: TextTable's kEnglish or kJapanese
        kFitLines = 9,           // PLAY lines cut to fit this many characters; 0: off
        kSettingCount = 10
    };
    // kRetimedFrom: the file's own time base when lenient reading re-timed
    // it, else 0.
    enum FileFact {
        kFormat = 0, kTimeBase = 1, kUsedChannels = 2, kListCount = 3, kFirstTempo = 4,
        kRetimedFrom = 5
    };
    enum ListFact { kListTrack = 0, kListChannel = 1, kListVoice = 2, kListTicks = 3 };
    enum Text { kProgramText = 0, kReportText = 1, kPreviewImage = 2, kPreviewError = 3, kTextCount = 4 };
    enum {
        kPartRowCount = ConvertSettings::kMaxPartCount,
        kNoFact = -1
    };
    // Results of Convert, MakeReport and MakePreview besides the core's.
    enum {
        kNoFile = 100,           // no file open, or one refused
        kBadTempo = 101          // not a tempo PreviewTempo reads
    };

// Construction
    WebSession();
    virtual ~WebSession();
    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

// Operations
    // Replaces the open file. A refused format or time base keeps the file
    // for its facts, with no lists; anything else refused leaves none open.
    // Every part is unassigned afterwards and the split step count follows
    // the file's time base.
    virtual int Open(const unsigned char* image, unsigned long size);
    virtual void Close();
    // Converts the open file. Returns a Converter::ConvertResult or
    // kNoFile; the program is empty after a refusal. A conversion's lists
    // replace the session's until the lists are made again.
    virtual int Convert();
    // The conversion report of text (the program or an edited one) for the
    // last conversion of the open file; kReportOk of ConversionReport,
    // kReportNoConversion before one, or kNoFile.
    virtual int MakeReport(const std::string& text);
    // The preview WAV of text: a ProgramPreview result, kNoFile or
    // kBadTempo; tempo "" plays at the file's first tempo. An unreadable text leaves its
    // place in GetPreviewErrorLine/Column and the reason in kPreviewError.
    virtual int MakePreview(const std::string& text, const std::string& tempo);

// Attributes
    // Returns the value it replaces; kNoFact for an unknown setting.
    virtual int SetSetting(int setting, int value);
    virtual int GetSetting(int setting) const;
    // Part row 0..kPartRowCount-1 plays list ordinal (or kUnassigned).
    // Returns the previous entry, kNoFact for a row outside.
    virtual int SetAssignment(int row, int ordinal);
    virtual int GetAssignment(int row) const;
    virtual bool IsOpen() const;
    // kNoFact without an open file.
    virtual long GetFileFact(int fact) const;
    virtual long GetListFact(int ordinal, int fact) const;
    virtual const ConvertStatus& GetStatus() const;
    virtual const std::string& GetText(int text) const;
    virtual int GetPreviewErrorLine() const;
    virtual int GetPreviewErrorColumn() const;

private:
    void RebuildLists();
    // The lists as built, or those of the last conversion.
    const NoteListSet* GetLists() const;

    Converter m_converter;
    MidiFile* m_file;
    NoteListSet* m_set;          // owned, through m_converter; null after a conversion
    ConvertSettings m_settings;
    MidiReadOptions m_reading;
    int m_lineLimit;
    int m_reportLanguage;
    std::vector<int> m_assignment;
    ConvertStatus m_status;
    ConversionResult m_conversion; // the last conversion, for its report
    std::string m_texts[kTextCount];
    int m_previewLine;
    int m_previewColumn;
};

#endif
