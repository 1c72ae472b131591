#include "tests/midi/TrackDump.h"

#include <cstdio>

#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"

std::string Dump(const MidiFile& file)
{
    std::string text;
    for (int i = 0; i < file.GetTrackCount(); ++i) {
        const MidiTrack* t = file.GetTrack(i);
        text += "[";
        for (MidiTrack::Position p = t->GetPosition(0); p != t->GetPosition(1); ++p) {
            const MidiEvent* e = *p;
            text += " " + std::to_string(e->GetTime()) + ":";
            for (int b = 0; b < e->GetLength(); ++b) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02X", e->GetData()[b]);
                text += hex;
            }
        }
        text += " ]";
    }
    return text;
}
