#ifndef MORVEK_SCORE_NOTELISTBUILDER_H
#define MORVEK_SCORE_NOTELISTBUILDER_H

#include <cstddef>
#include <vector>

class ConvertSettings;
class MidiFile;
class MidiTrack;
class NoteList;
class NoteListSet;
class NoteRecord;

// Makes the note lists of a loaded file: monophonic lists of rests and notes,
// ordered by track, then channel, then voice. With one voice (the default)
// there is one list per track and MIDI channel that the track uses, and of
// notes that overlap only the first survives.
//
// With V voices each track and channel is spread over up to V lists. Notes
// are taken in time order, the notes of a chord (those that start within the
// chord span) from the highest key down, and each goes to the lowest-numbered
// voice whose last note has ended when it starts: the top line of a chord
// stays in the first voice and the voices keep their register. A note that
// finds no free voice is dropped and counted (NoteList::GetDroppedNoteCount).
// The first voice of a channel always has a list; a further voice has one
// only when it receives a note.
//
// The voice count comes from the settings of each build; a count that
// SettingsCheck refuses builds no list. Building is deterministic, so an
// ordinal taken from one build names the same list in the next with the
// same voice count, quantized or not. Final,
// so that its walk over every event calls ClassifyStatus directly.
class NoteListBuilder final {
public:
// Construction
    NoteListBuilder();
    virtual ~NoteListBuilder();

// Attributes
    // Notes that start less than this many 192nd notes after the first note
    // of a chord belong to it and are taken from the highest key down; 1 (the
    // default) holds together a chord played by hand on the finest grid, 0
    // only notes of one tick. Returns the previous span.
    virtual int SetChordSpan(int span);
    virtual int GetChordSpan() const;
    // After RecordOnly, a build keeps the records of the lists whose ordinals
    // are given and only counts the notes of the others:
    // they get their identity and dropped and vanished counts, no records.
    // A conversion that plays a few of many lists then needs no memory for
    // the rest. By default every list keeps its records.
    virtual void RecordOnly(const std::vector<int>& ordinals);
    // Off, the lists RecordOnly leaves without records are not counted
    // either: their counts stay 0 (dropped notes aside), and a build of
    // voices need not walk their notes at all. On by default; returns the
    // previous setting.
    virtual bool SetCountUnrecorded(bool count);
    // The notes a build gave the list of ordinal, kept or not: a count
    // that needs no walk over the list.
    virtual long long GetCountedNotes(int ordinal) const;

// Operations
    // Fills a fresh set from file and records the file's time base in it.
    // Returns the number of lists.
    virtual int BuildNoteLists(const MidiFile& file, const ConvertSettings& settings,
                               NoteListSet& set);
    // BuildNoteLists with every list quantized to unit ticks as it is made:
    // the same lists as BuildNoteLists and then NoteList::Quantize(unit) on
    // each, but the records that quantizing removes are never made, so the
    // lists need less memory and lie in one piece. Each list counts the
    // notes that quantizing removed (NoteList::GetVanishedNoteCount).
    // Returns the number of lists.
    virtual int BuildQuantizedNoteLists(const MidiFile& file, const ConvertSettings& settings,
                                        NoteListSet& set, int unit);
    // The number of lists a build of file makes, found without making them.
    virtual int CountLists(const MidiFile& file, const ConvertSettings& settings);
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
    // Both builds; unit 0 leaves the lists unquantized. voiceCount is that of
    // the settings, 0 when they are refused.
    int Build(const MidiFile& file, int voiceCount, NoteListSet& set, int unit);
    // GetChannelMask of every track into masks (0 for a missing track);
    // returns the number of lists, the sum of the channel counts.
    int GetChannelMasks(const MidiFile& file, std::vector<unsigned>& masks);
    // ExtractChannel for every channel c whose lists[c] is not null, in one
    // walk over the track: a track of many channels is read once. With a
    // unit above 0 every record is quantized as it is made.
    void ExtractChannels(const MidiTrack& track, NoteList* const lists[16], int unit);

    struct SourceNote;
    struct Voices;
    // The channels each track uses (as GetChannelMasks), with room made in
    // voices for the most notes any track gives a channel buffer: the
    // buffers are then filled without growing.
    void ScanTracks(const MidiFile& file, std::vector<unsigned>& masks, Voices& voices);
    // The notes of every channel of track in mask, from note-on to note-off.
    void CollectNotes(const MidiTrack& track, unsigned mask, Voices& voices);
    // Spreads channel's collected notes over voices, its lists taking
    // ordinals from ordinal on; with a null set only counts the lists.
    // chordTicks is the chord span in ticks. Returns the number of lists the
    // channel gets.
    // Orders the notes of one chord from the highest key down.
    static void SortChord(SourceNote* first, SourceNote* last);
    int PlaceNotes(int track, int channel, int voiceCount, Voices& voices, NoteListSet* set,
                   int unit, int ordinal, long long chordTicks);
    // Both builds and the count with two or more voices.
    int BuildVoices(const MidiFile& file, int voiceCount, NoteListSet* set, int unit);

    // Whether the list of ordinal keeps its records.
    bool Records(int ordinal) const
    {
        return !m_recordOnly ||
               (ordinal >= 0 && static_cast<size_t>(ordinal) < m_recorded.size() && m_recorded[ordinal]);
    }
    // Appends record to list when the list keeps records, and counts it in
    // notes when it is a note.
    void Keep(NoteList& list, bool records, long long& notes, const NoteRecord& record);
    // Adds the notes a build gave list to its count.
    void AddCountedNotes(const NoteList& list, long long notes);

    int m_chordSpan;
    bool m_recordOnly;
    bool m_countUnrecorded;
    std::vector<char> m_recorded;      // by ordinal
    std::vector<long long> m_counted;  // by ordinal: notes not kept
};

#endif
