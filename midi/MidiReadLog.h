#ifndef MORVEK_MIDI_MIDIREADLOG_H
#define MORVEK_MIDI_MIDIREADLOG_H

// What lenient reading adapted in one file, for the listing and the report
// to say. A strictly read file adapts nothing: every field keeps its default.
struct MidiReadLog {
    enum { kNoTrack = -1 };

    int timeBaseFrom = 0;          // the file's time base when re-timed, else 0
    int timeBaseTo = 0;            // the time base it was re-timed to, else 0
    int skippedChunks = 0;         // chunks other than the header and the declared tracks
    long long trailingBytes = 0;   // bytes after the last chunk, too few for a chunk header
    bool unwrapped = false;        // a RIFF "RMID" file, read from its "data" chunk
    int cutTrack = kNoTrack;       // the track whose chunk ran past the end of the file
    long long cutAt = 0;           // the file offset where that track's reading stopped
    int declaredTracks = 0;        // the header's track count, when more than were found
    int missingTracks = 0;

    bool IsRetimed() const { return timeBaseTo != 0; }
    bool IsAdapted() const
    {
        return IsRetimed() || skippedChunks > 0 || trailingBytes > 0 || unwrapped ||
               cutTrack != kNoTrack || missingTracks > 0;
    }
};

#endif
