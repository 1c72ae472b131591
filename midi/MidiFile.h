#ifndef MORVEK_MIDI_MIDIFILE_H
#define MORVEK_MIDI_MIDIFILE_H

#include <memory>
#include <vector>

#include "base/MemoryArena.h"
#include "midi/MidiHeaderChunk.h"
#include "midi/MidiReadLog.h"

class MidiReadOptions;

class MidiTrack;

// Results of Validate and Build.
enum MidiFileResult {
    MIDIFILE_OK = 0,
    MIDIFILE_INVALID = 4,                            // the value of CHUNK_OTHER
    MIDIFILE_TOO_LONG = 5                            // re-timed, a time would pass 2^31 - 1 ticks
};

// A loaded Standard MIDI File: the header values and one track per "MTrk"
// chunk, in file order. Every value and message byte is copied out of the
// image, so the image can be freed as soon as Build returns. Owns its
// tracks, so it cannot be copied.
class MidiFile {
public:
// Construction
    MidiFile();
    virtual ~MidiFile();
    MidiFile(const MidiFile&) = delete;
    MidiFile& operator=(const MidiFile&) = delete;

// Operations
    // Checks the chunk structure only: one "MThd" chunk, then exactly the
    // declared number of "MTrk" chunks, back to back, filling the image
    // exactly. Reads nothing outside [image, image + size).
    virtual int Validate(const unsigned char* image, unsigned long size) const;
    // Validates, then reads the header and every track. Each track is read
    // only inside its own chunk, with a running status that starts at 0x00
    // for this file. Building again replaces what an earlier Build made.
    virtual int Build(const unsigned char* image, unsigned long size);
    // Build with options: strict ones read as above; lenient ones also take
    // what MidiReadOptions lists, and GetReadLog says what was adapted. A
    // re-timed file is in memory as if written at the new time base:
    // GetTimeBase gives it, every event's delta and time are in it.
    // MIDIFILE_TOO_LONG leaves no tracks.
    virtual int Build(const unsigned char* image, unsigned long size,
                      const MidiReadOptions& options);

// Attributes
    virtual int GetTrackCount() const;
    virtual int GetFormat() const;
    virtual int GetTimeBase() const;
    virtual MidiTrack* GetTrack(int index) const;    // null when out of range; owned by this file
    // What lenient reading adapted; nothing after a strict Build.
    virtual const MidiReadLog& GetReadLog() const;

protected:
    // The structure check behind Validate; fills trackOffsets (when not null)
    // with the offset of each "MTrk" chunk header it found.
    virtual int CheckStructure(const unsigned char* image, unsigned long size,
                               std::vector<unsigned long>* trackOffsets) const;

    // The lenient structure scan: the track offsets (the last one's chunk
    // may run past the end), with what it skipped in log.
    virtual int ScanLeniently(const unsigned char* image, unsigned long size,
                              std::vector<unsigned long>& trackOffsets, MidiReadLog& log) const;

private:
    void FreeTracks();
    // Reads the tracks whose chunks start at offsets, replacing any read
    // before; returns the bytes the last one took (0 without tracks).
    unsigned long ReadTracks(const unsigned char* image, unsigned long size,
                             const std::vector<unsigned long>& offsets);

    MidiHeaderChunk m_header;
    int m_timeBase;                                  // the header's, or the one re-timed to
    MidiReadLog m_log;
    std::vector<MidiTrack*> m_tracks;                // owned
    std::unique_ptr<MemoryArena> m_arena;            // the events of all tracks, one after another
};

#endif
