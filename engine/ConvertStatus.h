#ifndef MORVEK_ENGINE_CONVERTSTATUS_H
#define MORVEK_ENGINE_CONVERTSTATUS_H

// What one conversion gave, with the detail of a refusal: which check
// failed, the value it refused and the counts that explain it. The window
// and the command-line tool word their messages from it, so neither checks
// anything again.
//
//   result     a Converter::ConvertResult (kConvertOk = 0)
//   setting    for kConvertBadSettings and kConvertBadChoice, which setting
//   value      the file's format (kConvertBadFormat) or time base
//              (kConvertBadTimeBase), the setting's value, the list ordinal
//              of a bad assignment, the split step count of music too long
//   list count for kConvertBadAssignment: the lists the file has
//   segments   for kConvertTooLarge: the segments the assigned parts need
class ConvertStatus {
public:
    // The setting a refusal names: SettingsCheck's fault.
    enum Setting {
        kNoSetting = 0,
        kSplitStepCount = 1,
        kPartCount = 2,
        kFirstLineNumber = 3,
        kMinimumResolution = 4,
        kPlayKind = 5,
        kVoiceCount = 6,
        kLineLimit = 7
    };

// Construction
    ConvertStatus();
    virtual ~ConvertStatus();

// Operations
    // Records a refusal (or kConvertOk) with its setting and value and
    // clears the counts. Returns result.
    virtual int Refuse(int result, int setting, long long value);
    // Back to kConvertOk without detail.
    virtual void Clear();

// Attributes
    virtual int GetResult() const;
    virtual int GetSetting() const;
    virtual long long GetValue() const;
    // Each setter returns the previous count.
    virtual int SetListCount(int count);
    virtual int GetListCount() const;
    virtual long long SetSegmentCount(long long count);
    virtual long long GetSegmentCount() const;

private:
    int m_result;
    int m_setting;
    long long m_value;
    int m_listCount;
    long long m_segmentCount;
};

#endif
