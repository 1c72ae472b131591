#ifndef MORVEK_TESTS_SUPPORT_MMLREADER_H
#define MORVEK_TESTS_SUPPORT_MMLREADER_H

#include <string>
#include <vector>

// One note or rest read back from MML.
struct MmlNote {
    int note;  // MIDI key 0..127, or 128 for a rest
    int ticks; // length at time base 48 (192 to the whole note)
    bool tied; // followed by "&"
};

// Reads the MML the converter writes, the way the target's music driver
// plays it, so that tests can compare what would sound with what went in.
// The octave and the default length carry over from one Read to the next,
// as they do from one PLAY line to the next.
//
// 1. Read each string of one part in order (one per PLAY line).
// 2. GetNotes gives every piece as written; GetJoinedNotes joins the pieces
//    of tied notes into one note each.
class MmlReader {
public:
    enum { kRest = 128 };

    MmlReader();
    virtual ~MmlReader();

    // Appends the notes of mml. Returns 0, or the 1-based position of the
    // first character that is not MML of our dialect; GetError says why.
    virtual int Read(const std::string& mml);
    // Back to octave 4 and default length 4, no notes.
    virtual void Reset();

    virtual const std::vector<MmlNote>& GetNotes() const;
    // Tied pieces of the same key joined; rests are never joined.
    virtual std::vector<MmlNote> GetJoinedNotes() const;
    // Sum of all lengths at time base 48.
    virtual int GetTotalTicks() const;
    virtual int GetOctave() const;
    virtual int GetDefaultTicks() const;
    virtual const std::string& GetError() const;

private:
    int ReadLength(const std::string& mml, size_t& i, int defaultTicks, int& ticks);
    int Fail(size_t position, const std::string& why);

    int m_octave;
    int m_defaultTicks;
    std::vector<MmlNote> m_notes;
    std::string m_error;
};

#endif
