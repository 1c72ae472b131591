#ifndef MORVEK_SCORE_NOTELISTIDENTITY_H
#define MORVEK_SCORE_NOTELISTIDENTITY_H

// Which track, channel and voice a note list comes from, and its place in its
// set. A plain record: it has no behaviour and is copied freely.
struct NoteListIdentity {
    int track;   // 0-based track index in the file
    int channel; // MIDI channel 0..15
    int ordinal; // 0-based position of the list in its set
    int voice;   // 0-based voice of its track and channel; always 0 with one voice
};

#endif
