#ifndef MORVEK_SETTINGS_CONVERTSETTINGS_H
#define MORVEK_SETTINGS_CONVERTSETTINGS_H

#include <string>

// Every value that controls a conversion, and the file name Save proposes.
// The record starts from fixed defaults; nothing is ever stored between runs.
// The setters store what they are given: SettingsCheck::Check is the one
// place that says whether a value is in range.
//
// A new option: a member with its default here, a getter and a setter, a
// line in Reset, and its range in SettingsCheck::Check.
class ConvertSettings {
public:
    enum {
        kDefaultPartCount = 6,
        kMinPartCount = 1,
        kMaxPartCount = 18,
        kDefaultResolution = 13, // "32分音符"
        kDefaultSplitStepCount = 1920,
        kMinSplitStepCount = 1,
        kMaxSplitStepCount = 1920,
        kDefaultFirstLineNumber = 1000,
        kMinFirstLineNumber = 1,
        kMaxFirstLineNumber = 32000,
        kDefaultPlayKind = 0, // "PLAY"
        kDefaultVoiceCount = 1, // one list per track and channel
        kMinVoiceCount = 1,
        kMaxVoiceCount = 18, // as many as the driver has parts
        kQuartersPerSplit = 4, // split step count after a load: four quarter notes
        // Characters a PLAY line may hold; off, every line holds one split
        // step count of music. The lowest limit leaves a line of one part
        // (frame and first commands at most 19 characters) room for three
        // of the longest notes MML writes (7 characters each).
        kLineLimitOff = 0,
        kMinLineLimit = 40,
        kMaxLineLimit = 255
    };

// Construction
    ConvertSettings();
    virtual ~ConvertSettings();

// Operations
    // Back to the defaults, output name cleared.
    virtual void Reset();
    // After a successful load: one split per four quarter notes of the file.
    // Returns the previous split step count.
    virtual int SetSplitStepCountForTimeBase(int timeBase);

// Attributes
    virtual int SetPartCount(int count);
    virtual int GetPartCount() const;
    virtual int SetMinimumResolution(int valueIndex);
    virtual int GetMinimumResolution() const;
    virtual int SetSplitStepCount(int ticks);
    virtual int GetSplitStepCount() const;
    virtual int SetFirstLineNumber(int lineNumber);
    virtual int GetFirstLineNumber() const;
    virtual int SetPlayKind(int kind);
    virtual int GetPlayKind() const;
    // Voices per track and channel the note lists are made with.
    virtual int SetVoiceCount(int count);
    virtual int GetVoiceCount() const;
    // kLineLimitOff, or kMinLineLimit..kMaxLineLimit: PLAY lines are cut
    // early to fit that many characters (see LineFitter).
    virtual int SetLineLimit(int characters);
    virtual int GetLineLimit() const;
    virtual std::string SetOutputName(const std::string& name);
    virtual const std::string& GetOutputName() const;

    // Resolution unit in ticks of a file with timeBase: the minimum
    // resolution's note value scaled by timeBase / 48.
    virtual int GetResolutionUnit(int timeBase) const;

private:
    int m_partCount;
    int m_minimumResolution;
    int m_splitStepCount;
    int m_firstLineNumber;
    int m_playKind;
    int m_voiceCount;
    int m_lineLimit;
    std::string m_outputName;
};

#endif
