#ifndef MORVEK_ENGINE_CONVERTER_H
#define MORVEK_ENGINE_CONVERTER_H

#include "engine/ConversionResult.h"

#include <string>
#include <vector>

class ConvertSettings;
class ConvertStatus;
class MidiFile;
class MidiReadOptions;
class MmlWriter;
class NoteList;
class NoteListBuilder;
class NoteListSet;

// Turns a loaded Standard MIDI File into the text of the BASIC program: ten
// header lines that load and set up the MORVEK driver, then one numbered PLAY
// line per segment with one MML string per part.
//
// The converter keeps only its header lines. The MidiFile and NoteListSet it
// creates belong to the caller, who frees them with FreeMidiFile and
// FreeNoteListSet and hands them back for every later operation; the lists
// of a conversion belong to its ConversionResult.
//
// How to use (the window, the command-line tool and the page do the same):
//   1. file = LoadMidiFile(image, size); null: not a MIDI file.
//   2. set = BuildNoteListSet(file, settings): the lists the user assigns
//      to parts, made with the settings' voice count.
//   3. CheckFile(*file): format and time base must be supported.
//   4. result = Convert(*file, settings, assignment): builds fresh lists,
//      runs the passes and writes the whole program; the result holds it
//      with the lists, or says what a refusal refused (ConvertStatus.h).
class Converter {
public:
    enum {
        kHeaderLineCount = 10,
        kLineStep = 10,            // BASIC line numbers go up in tens
        kFirstSegmentFlags = 14,   // ask the writers for octave and default length
        kMissingArgument = 256,
        kUnassigned = -1,          // a part row without a list
        // Segments one conversion may cut over the assigned lists. Far more
        // PLAY lines than any program can use, and it keeps the records of
        // the passes and the text within a few hundred megabytes whatever the
        // file says: their number grows with the music's length over the
        // split step count, not with the size of the file.
        kMaxSegmentTotal = 250000
    };

    // Results of CheckFile and Convert; 0 is success. ConvertStatus carries
    // the detail of each.
    enum ConvertResult {
        kConvertOk = 0,
        kConvertBadFormat = 1,     // format not 0 or 1
        kConvertBadTimeBase = 2,   // time base not 48, 96, 240 or 480
        kConvertBadSettings = 3,   // a value out of range; SettingsCheck says which
        kConvertBadChoice = 4,     // resolution or PLAY kind index outside its table
        kConvertBadAssignment = 5, // an entry names a list the file does not have
        kConvertNoMemory = 6,
        kConvertTooLarge = 7       // the assigned lists need more than kMaxSegmentTotal segments
    };

// Construction
    Converter();
    virtual ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

// Files and sets
    // A new MidiFile read from the whole file image, or null when the image is
    // not a well-formed SMF (or memory ran out). The image can be freed as
    // soon as this returns.
    virtual MidiFile* LoadMidiFile(const unsigned char* image, unsigned long size);
    // The same read with options (lenient opening); result, when not null,
    // gets the MidiFileResult: MIDIFILE_INVALID for an image that is not a
    // MIDI file (or memory running out), MIDIFILE_TOO_LONG for music too long
    // to re-time.
    virtual MidiFile* LoadMidiFile(const unsigned char* image, unsigned long size,
                                   const MidiReadOptions& options, int* result);
    // Accepts null. Returns 0.
    virtual int FreeMidiFile(MidiFile* file);
    // A new empty set, or null when memory ran out.
    virtual NoteListSet* NewNoteListSet();
    // Accepts null. Returns 0.
    virtual int FreeNoteListSet(NoteListSet* set);
    // A new set with one list per track, used channel and voice of the
    // settings' voice count (see NoteListBuilder), or null.
    virtual NoteListSet* BuildNoteListSet(const MidiFile* file, const ConvertSettings& settings);
    // Fills a fresh set from the file. 0, or kMissingArgument for a null one.
    virtual int FillNoteListSet(const MidiFile* file, const ConvertSettings& settings,
                                NoteListSet* set);
    // The number of lists BuildNoteListSet makes of file, without making them.
    virtual int CountLists(const MidiFile& file, const ConvertSettings& settings) const;

// Passes over every list of a set, in ordinal order
    // Sum of the lists' rounding remainders.
    virtual int QuantizeAll(NoteListSet& set, int unit);
    virtual int QuantizeList(NoteList& list, int unit);
    // The largest segment count; 0 for an empty set.
    virtual int SplitAll(NoteListSet& set, int stepCount);
    virtual int SplitList(NoteList& list, int stepCount);
    virtual int DecomposeAll(NoteListSet& set);
    virtual int DecomposeAllAt(NoteListSet& set, int timeBase);
    virtual int DecomposeList(NoteList& list, int timeBase);

// Set attributes
    virtual int GetSetTimeBase(const NoteListSet& set) const;
    virtual int GetListCount(const NoteListSet& set) const;
    // The base value most records of list i have: the part's default length.
    virtual int GetDefaultLengthAt(const NoteListSet& set, int i) const;

// The BASIC text
    // Every PLAY line: one per segment of the longest assigned list, numbered
    // from firstLine in steps of lineStep. writers holds partCount writers,
    // each unassigned or set up for its list. Empty when none is assigned.
    virtual std::string BuildPlayLines(NoteListSet& set, MmlWriter* writers, int partCount,
                                       long long firstLine, int lineStep, const char* keyword);
    // Replaces line with one PLAY line: the number, the keyword (PLAY when
    // null), one quoted MML string per part separated by commas, CR LF.
    // Returns its length in bytes.
    virtual int BuildPlayLine(NoteListSet& set, MmlWriter* writers, int partCount,
                              long long lineNumber, std::string& line, int flags,
                              const char* keyword);
    // The ten numbered header lines.
    virtual std::string BuildHeader(long long firstLine, int lineStep) const;
    // Index 0..9; returns the previous text ("" for any other index, which
    // changes nothing).
    virtual std::string SetHeaderLine(int index, const std::string& text);
    virtual std::string GetHeaderLine(int index) const;
    virtual int SetHeaderLineCount(int count);
    virtual int GetHeaderLineCount() const;

// One conversion, shared by the window and the command-line tool
    // The length of one PLAY line's music for a split step count: the count
    // in ticks of the file, moved back to a whole number of 192nd notes (at
    // least one), so that every line ends on a length MML can write.
    virtual int GetSegmentTicks(int splitStepCount, int timeBase) const;
    // The segments SplitAll would cut over every list of set: each list's
    // total ticks over segmentTicks, rounded up (0 for an empty list). Exact
    // for a quantized set; for a set as built, each list may be off by one.
    virtual long long CountSegments(const NoteListSet& set, int segmentTicks) const;
    // The same over the lists Convert cuts: each list that one of the first
    // partCount entries of assignment names, once. Entries naming no list of
    // set count nothing.
    virtual long long CountPlayedSegments(const NoteListSet& set, int segmentTicks,
                                          const std::vector<int>& assignment, int partCount) const;
    // With the settings' line limit on: where each PLAY line of a conversion
    // ends over the quantized lists of set (see LineFitter), the lines (0
    // for the first) wider than the limit because one grid step does not
    // fit it, and the default length of each part (ordinals: each part's
    // list or kUnassigned). set is not changed. Returns kConvertOk, or
    // kConvertTooLarge for more than kMaxSegmentTotal segments.
    virtual int FitLineEnds(NoteListSet& set, const ConvertSettings& settings, int timeBase,
                            const std::vector<int>& ordinals, std::vector<int>& ends,
                            std::vector<long long>& wideLines, std::vector<int>& defaults);
    virtual bool IsSupportedFormat(int format) const;
    virtual bool IsSupportedTimeBase(int timeBase) const;
    // Format first, then time base. Returns a ConvertResult.
    virtual int CheckFile(const MidiFile& file) const;
    // Converts file with the settings (every option, see ConvertSettings).
    // assignment[r] is the list ordinal of part row r, or kUnassigned; rows
    // beyond the vector are unassigned. Every entry must be kUnassigned or
    // name a list of the file; entries beyond the part count are checked
    // but not used.
    //
    // Checks in this order: format, time base, settings (SettingsCheck::Check),
    // assignment, size. Only the lists of the parts within the part count are
    // split and decomposed; the others stay quantized.
    //
    // On success the result holds the whole program, the lists it was written
    // from and kConvertOk. On a refusal it holds the status with its detail,
    // the settings and assignment, and no text or lists; music too long for
    // the split step count (the assigned lists would need more than
    // kMaxSegmentTotal segments) gives kConvertTooLarge before any segment
    // is cut.
    virtual ConversionResult Convert(const MidiFile& file, const ConvertSettings& settings,
                                     const std::vector<int>& assignment);
    // The same with part r playing list r, for as many parts as the file has
    // lists; the result's assignment holds the entries used (empty when a
    // check before the lists are made refuses). The lists are made once:
    // with voices, counting them first would cost as much as making them.
    virtual ConversionResult ConvertInOrder(const MidiFile& file, const ConvertSettings& settings);
    // Off, the lists no part plays keep no records in the result (their
    // counts are still in it): a caller that shows only the program and the
    // report then needs no memory for them. On by default; returns the
    // previous setting.
    virtual bool SetKeepUnplayedLists(bool keep);
    virtual bool GetKeepUnplayedLists() const;
    // Off, with unplayed lists not kept, they are not counted either: a
    // caller that shows only the program saves the walk over their notes.
    // The result then says not every list is counted, and no report can be
    // made from it. On by default; returns the previous setting.
    virtual bool SetCountUnplayedLists(bool count);
    virtual bool GetCountUnplayedLists() const;

private:
    // The checks that need no note list, in Convert's order.
    int CheckInput(const MidiFile& file, const ConvertSettings& settings,
                   ConvertStatus& status) const;
    // Convert and ConvertInOrder into result, whose settings and assignment
    // are set: with inOrder, the assignment is filled in once the lists are
    // known. Returns a ConvertResult.
    int ConvertFresh(const MidiFile& file, bool inOrder, ConversionResult& result);
    // Each list's notes as built and as quantized, before any is cut.
    // built counts the notes of lists it kept no records of.
    void CountNotes(const NoteListSet& set, const NoteListBuilder& built,
                    std::vector<ConversionResult::ListCounts>& counts) const;
    int ConvertInto(const MidiFile& file, const ConvertSettings& settings,
                    const std::vector<int>& assignment, NoteListSet& set, std::string& text,
                    std::vector<int>& ends, std::vector<long long>& wideLines,
                    ConvertStatus& status);
    long long CountListSegments(const NoteList& list, int segmentTicks) const;
    // The distinct ordinals of set's lists among the first partCount entries
    // of assignment, in the order they first appear.
    std::vector<int> GetPlayedLists(const NoteListSet& set, const std::vector<int>& assignment,
                                    int partCount) const;
    // BuildPlayLines appending to text: the program grows in one string,
    // made large enough for it at the start.
    void AppendPlayLines(std::string& text, NoteListSet& set, MmlWriter* writers, int partCount,
                         long long firstLine, int lineStep, const char* keyword);

    int m_headerLineCount;
    std::string m_headerLines[kHeaderLineCount];
    bool m_keepUnplayedLists;
    bool m_countUnplayedLists;
};

#endif
