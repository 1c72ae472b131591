#ifndef MORVEK_GEN_DEMOSONG_H
#define MORVEK_GEN_DEMOSONG_H

#include <cstdint>
#include <vector>

// The bundled demo song: eight bars in C major, format 1, time base 480.
// Track 0 is the conductor (name, time signature, tempo); track 1 the melody
// on channel 1, track 2 the bass on channel 2 (written with running status
// and note-on velocity 0 as note off), track 3 the chords on channel 3.
class DemoSong {
public:
// Construction
    DemoSong();
    virtual ~DemoSong();

// Operations
    // The Standard MIDI File image; the same bytes every time.
    virtual std::vector<uint8_t> Build() const;
};

#endif
