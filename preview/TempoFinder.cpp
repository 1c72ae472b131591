#include "preview/TempoFinder.h"

#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"

TempoFinder::TempoFinder()
{
}

TempoFinder::~TempoFinder()
{
}

long TempoFinder::GetFirstTempo(const MidiFile& file) const
{
    long tempo = kDefaultTempo;
    bool found = false;
    int32_t foundTime = 0;
    for (int t = 0; t < file.GetTrackCount(); ++t) {
        const MidiTrack* track = file.GetTrack(t);
        if (track == nullptr)
            continue;
        for (MidiTrack::Position p = track->GetPosition(0); p != track->GetPosition(1); ++p) {
            const MidiEvent* event = *p;
            if (found && event->GetTime() >= foundTime)
                break;                               // times only grow along a track
            const unsigned char* data = event->GetData();
            if (event->GetLength() != 6 || data[0] != 0xFF || data[1] != 0x51 || data[2] != 3)
                continue;
            const long value = (static_cast<long>(data[3]) << 16) | (data[4] << 8) | data[5];
            if (value == 0)
                continue;
            tempo = value;
            foundTime = event->GetTime();
            found = true;
            break;
        }
    }
    return tempo;
}
