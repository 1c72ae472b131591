#ifndef MORVEK_GEN_SMFBUILDER_H
#define MORVEK_GEN_SMFBUILDER_H

#include <cstdint>
#include <vector>

// Builds Standard MIDI File images in memory: for the demo song, for tests,
// for fuzz seeds and for benchmarks. Values are written as given, so a caller
// can also build malformed images on purpose (AddRaw, odd header values).
class SmfBuilder {
public:
// Construction
    SmfBuilder(int format, int division);           // header values, written as given (any 16-bit)
    virtual ~SmfBuilder();

// Operations
    virtual int AddTrack();                           // new empty track, returns its index
    virtual void SetRunningStatus(bool on);           // omit repeated channel status bytes (off by default)
    // A complete message, status first; running status applied when on.
    virtual void AddMessage(int track, uint32_t delta, const std::vector<uint8_t>& message);
    // The bytes after the delta exactly as given (no status handling).
    virtual void AddRaw(int track, uint32_t delta, const std::vector<uint8_t>& bytes);
    virtual void NoteOn(int track, uint32_t delta, int channel, int key, int velocity);
    virtual void NoteOff(int track, uint32_t delta, int channel, int key, int velocity = 64);
    virtual void Meta(int track, uint32_t delta, int type, const std::vector<uint8_t>& data);
    virtual void Tempo(int track, uint32_t delta, uint32_t microsPerQuarter);
    virtual void TrackName(int track, uint32_t delta, const char* name);
    virtual void EndOfTrack(int track, uint32_t delta = 0);
    // Appends bytes after the last track chunk (trailing data, a foreign chunk).
    virtual void AppendAfterTracks(const std::vector<uint8_t>& bytes);
    // Writes this track count into MThd instead of the real one (for broken
    // images); a negative value goes back to the real count. Returns the old value.
    virtual int SetHeaderTrackCount(int count);
    // MThd (length 6) + one MTrk per track, lengths exact.
    virtual std::vector<uint8_t> Build() const;

    // Up to five bytes for a 32-bit value, seven bits each, high groups first.
    static std::vector<uint8_t> EncodeVarLen(uint32_t value);

private:
    struct Track {
        std::vector<uint8_t> bytes;
        uint8_t lastStatus = 0;                       // for running status; 0 = none yet
    };

    Track& TrackAt(int track);
    void PutDelta(Track& t, uint32_t delta);

    int m_format;
    int m_division;
    bool m_runningStatus = false;
    std::vector<Track> m_tracks;
    std::vector<uint8_t> m_trailer;
    int m_headerTrackCount = -1;
};

#endif
