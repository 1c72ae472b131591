#ifndef MORVEK_TESTS_SUPPORT_CHORDSONG_H
#define MORVEK_TESTS_SUPPORT_CHORDSONG_H

#include <cstdint>
#include <vector>

// Channel 0 at time base 96: a triad (48, 52, 55) under two melody quarters
// (72, 74), the triad held triadTail ticks after the melody ends. Format 0
// is the one track; format 1 puts a tempo track before it.
std::vector<uint8_t> ChordSong(int format, uint32_t triadTail);

#endif
