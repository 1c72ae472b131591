#ifndef MORVEK_PREVIEW_PREVIEWTEMPO_H
#define MORVEK_PREVIEW_PREVIEWTEMPO_H

#include <string>

// The tempo of a preview: quarter notes per minute, kept as an exact
// fraction, so that a file's microseconds per quarter note and a typed
// "97.5" both place every tick on the sample grid without rounding on the
// way. 120 quarter notes per minute until set.
class PreviewTempo {
public:
    static constexpr long kDefaultMicroseconds = 500000;     // 120 BPM, a file without a tempo
    static constexpr long kLargestMicroseconds = 0xFFFFFF;   // what a tempo event can carry
    static constexpr long kLowestBeatsPerMinute = 1;
    static constexpr long kHighestBeatsPerMinute = 1000;
    // GetSamplePosition's answer for a position past the largest there can be.
    static constexpr long long kTooLate = -1;

// Construction
    PreviewTempo();
    virtual ~PreviewTempo();

// Operations
    // A tempo event's microseconds per quarter note, 1..kLargestMicroseconds;
    // false (the tempo unchanged) outside.
    virtual bool SetMicrosecondsPerQuarter(long microseconds);
    // A typed tempo: digits with up to three decimals ("97", "97.5"), from
    // kLowestBeatsPerMinute to kHighestBeatsPerMinute; false (the tempo
    // unchanged) for anything else.
    virtual bool SetBeatsPerMinuteText(const std::string& text);

    // The sample at which tick lies at sampleRate, rounded to the nearest
    // (halves up), computed from the tick alone so that nothing accumulates.
    // kTooLate when it would be past largest; tick >= 0, timeBase 1..32767,
    // sampleRate 1..192000.
    virtual long long GetSamplePosition(long long tick, int timeBase, int sampleRate,
                                        long long largest) const;

// Attributes
    // For messages: the tempo in quarter notes per minute, "97.5", "120",
    // "130.0001" (at most four decimals).
    virtual std::string GetBeatsPerMinuteText() const;

private:
    // Quarter notes per minute = m_beats / m_minutes.
    unsigned long long m_beats;
    unsigned long long m_minutes;
};

#endif
