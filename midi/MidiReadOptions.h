#ifndef MORVEK_MIDI_MIDIREADOPTIONS_H
#define MORVEK_MIDI_MIDIREADOPTIONS_H

// How MidiFile::Build reads an image. Strict (the default) takes a file only
// when its chunks are exactly one "MThd" and the declared "MTrk" chunks.
// Lenient also takes the files players take: other chunks are skipped, a
// RIFF "RMID" file is unwrapped, a last track cut off by the end of the file
// is read up to that end, missing tracks are left out, and a time base other
// than 48, 96, 240 or 480 ticks per quarter note is re-timed to 480.
class MidiReadOptions {
public:
    enum { kLenientTimeBase = 480 };

// Construction
    MidiReadOptions();
    virtual ~MidiReadOptions();

// Attributes
    virtual bool SetLenient(bool lenient);          // returns the previous choice
    virtual bool IsLenient() const;
    // Whether lenient reading keeps timeBase as it is: 48, 96, 240 or 480.
    virtual bool KeepsTimeBase(int timeBase) const;

private:
    bool m_lenient;
};

#endif
