#ifndef MORVEK_TESTS_MIDI_TRACKDUMP_H
#define MORVEK_TESTS_MIDI_TRACKDUMP_H

#include <string>

class MidiFile;

// Each track's events as time:bytes in hex, one track per bracket:
// "[ 0:903C64 96:803C40 96:FF2F00 ]".
std::string Dump(const MidiFile& file);

#endif
