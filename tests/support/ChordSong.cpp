#include "tests/support/ChordSong.h"

#include "gen/SmfBuilder.h"

std::vector<uint8_t> ChordSong(int format, uint32_t triadTail)
{
    SmfBuilder smf(format, 96);
    if (format == 1) {
        int tempo = smf.AddTrack();
        smf.Tempo(tempo, 0, 500000);
        smf.EndOfTrack(tempo);
    }
    int t = smf.AddTrack();
    for (int key : {48, 52, 55, 72})
        smf.NoteOn(t, 0, 0, key, 100);
    smf.NoteOff(t, 96, 0, 72);
    smf.NoteOn(t, 0, 0, 74, 100);
    smf.NoteOff(t, 96, 0, 74);
    for (int key : {48, 52, 55})
        smf.NoteOff(t, key == 48 ? triadTail : 0, 0, key);
    smf.EndOfTrack(t);
    return smf.Build();
}
