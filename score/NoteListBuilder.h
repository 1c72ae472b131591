#ifndef MORVEK_SCORE_NOTELISTBUILDER_H
#define MORVEK_SCORE_NOTELISTBUILDER_H

#include <vector>

class MidiFile;
class MidiTrack;
class NoteList;
class NoteListSet;

// Makes the note lists of a loaded file: one monophonic list of rests and
// notes per track and MIDI channel that the track uses, ordered by track and
// then by channel. Building is deterministic, so an ordinal taken from one
// build names the same track and channel in the next. Stateless. Final, so
// that its walk over every event calls ClassifyStatus directly.
class NoteListBuilder final {
public:
// Construction
    NoteListBuilder();
    virtual ~NoteListBuilder();

// Operations
    // Fills a fresh set from file and records the file's time base in it.
    // Returns the number of lists.
    virtual int BuildNoteLists(const MidiFile& file, NoteListSet& set);
    // BuildNoteLists with every list quantized to unit ticks as it is made:
    // the same lists as BuildNoteLists and then NoteList::Quantize(unit) on
    // each, but the records that quantizing removes are never made, so the
    // lists need less memory and lie in one piece. Returns the number of lists.
    virtual int BuildQuantizedNoteLists(const MidiFile& file, NoteListSet& set, int unit);
    // The number of lists a build of file makes, found without making them.
    virtual int CountLists(const MidiFile& file);
    // Appends the rests and notes of channel in track to list. Of notes that
    // overlap only the first survives; a zero-velocity note-on ends the
    // sounding key like a note-off; time after the last note-off is not kept.
    // Returns 0.
    virtual int ExtractChannel(int channel, const MidiTrack& track, NoteList& list);
    // Number of channels with channel messages in track; stores the 16-bit
    // mask of them (bit c for channel c) when mask is not null.
    virtual int GetChannelMask(const MidiTrack& track, unsigned* mask);
    // The kind of message: 0xF0, 0xF7 and 0xFF are their own kinds; a note-on
    // with velocity 0 is a note-off (0x80); any other status gives its upper
    // four bits. length is the message's byte count; 0 for no message.
    virtual unsigned char ClassifyStatus(const unsigned char* message, int length);

private:
    // Both builds; unit 0 leaves the lists unquantized.
    int Build(const MidiFile& file, NoteListSet& set, int unit);
    // GetChannelMask of every track into masks (0 for a missing track);
    // returns the number of lists, the sum of the channel counts.
    int GetChannelMasks(const MidiFile& file, std::vector<unsigned>& masks);
    // ExtractChannel for every channel c whose lists[c] is not null, in one
    // walk over the track: a track of many channels is read once. With a
    // unit above 0 every record is quantized as it is made.
    void ExtractChannels(const MidiTrack& track, NoteList* const lists[16], int unit);
};

#endif
