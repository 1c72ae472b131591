#ifndef MORVEK_SCORE_NOTELIST_H
#define MORVEK_SCORE_NOTELIST_H

#include "base/NodePool.h"
#include "score/NoteListIdentity.h"
#include "score/NoteRecord.h"
#include "score/QuantizeGrid.h"
#include "base/PoolAllocator.h"

#include <climits>
#include <list>
#include <memory>
#include <vector>

// One monophonic line of one track and channel: rests and notes in time
// order, from tick 0 of the track. After the conversion passes it is cut into
// segments (one per PLAY line) and every note and rest is a note value.
// Final, with the operations on the sequence defined here: the builder and
// the passes call them for every record.
class NoteList final {
public:
    // A place in the record sequence. Positions stay valid while other
    // records are inserted or erased.
    typedef std::list<NoteRecord, PoolAllocator<NoteRecord>> RecordList;
    typedef RecordList::iterator Position;

// Construction
    // pool: where the record nodes live, not owned, outliving the list (the
    // set's, shared by all its lists); null for a pool of the list's own.
    explicit NoteList(NodePool* pool = nullptr);
    virtual ~NoteList();
    // The list owns its records.
    NoteList(const NoteList&) = delete;
    NoteList& operator=(const NoteList&) = delete;

// Attributes
    // Sets track, channel, ordinal and voice at once; returns 0.
    virtual int SetIdentity(const NoteListIdentity& identity);
    virtual int GetIdentity(NoteListIdentity& identity) const;
    virtual int SetTrackIndex(int track);
    virtual int GetTrackIndex() const;
    virtual int SetChannel(int channel);
    virtual int GetChannel() const;
    virtual int SetOrdinal(int ordinal);
    virtual int GetOrdinal() const;
    virtual int SetVoice(int voice);
    virtual int GetVoice() const;
    // Notes of the list's track and channel that the builder dropped: with
    // one voice those that began while another note sounded, with more those
    // that found no free voice. Kept on the channel's first voice (0 on the
    // others).
    virtual int SetDroppedNoteCount(int count);
    virtual int GetDroppedNoteCount() const;
    // Notes shorter than the grid that a quantizing build removed
    // (NoteListBuilder::BuildQuantizedNoteLists); 0 for any other list.
    virtual int SetVanishedNoteCount(int count);
    virtual int GetVanishedNoteCount() const;
    // Number of records, segment markers included.
    virtual int GetRecordCount() const;
    // Number of segments, set by SplitIntoSegments (0 before).
    virtual int GetSegmentCount() const;
    // Sum of all lengths: the list's end as a time from the start of the
    // track. Stops at the largest int rather than overflowing.
    virtual int GetTotalTicks() const;
    // Number of records whose value index equals valueIndex.
    virtual int CountValueIndex(int valueIndex) const;
    // The part's default length: the base value (see NoteValueTable) that
    // most decomposed records have, pieces of tied notes counted one by one;
    // on a tie the smaller index (the longer value) wins. 0 for a list
    // without decomposed records.
    virtual int GetMostFrequentBaseValue() const;

// Operations on the record sequence
    virtual Position Begin() { return m_records.begin(); }
    virtual Position End() { return m_records.end(); }
    // Inserts a copy of record before position; returns the new position.
    virtual Position InsertBefore(Position position, const NoteRecord& record)
    {
        return m_records.insert(position, record);
    }
    virtual Position Append(const NoteRecord& record) { return InsertBefore(End(), record); }
    // Removes the record; returns the position of the one that followed it.
    virtual Position Erase(Position position) { return m_records.erase(position); }
    // Removes every record; returns the record count (0).
    virtual int Clear();

// Conversion passes, in this order
    // Moves every boundary between records to the nearest multiple of unit
    // ticks (an exact half moves later) and removes records that become
    // empty. Returns the rounding remainder left after the last record.
    virtual int Quantize(int unit);
    // Cuts the list every segmentTicks ticks with a segment marker; a note
    // that crosses a cut is split and tied over it, a rest is split untied.
    // Returns the segment count, also kept by the list. A count below 1
    // leaves the list as it is and gives 0.
    virtual int SplitIntoSegments(int segmentTicks);
    // The same with the segments ending at the given ticks from the start of
    // the track, in increasing order; ends past the list's end cut nothing.
    // The last segment ends with the list.
    virtual int SplitAtEnds(const std::vector<int>& ends);
    // Breaks every note and rest into note values of the table at timeBase,
    // largest first, tying the pieces of a note. A length that is not a
    // multiple of timeBase / 48 grows to the next one. Returns 0.
    virtual int Decompose(int timeBase);

private:
    friend class NoteListSet;

    // The cut of both splits: at every end of ends, or without ends every
    // step ticks.
    int SplitAt(const std::vector<int>* ends, long long step);

    NoteListIdentity m_identity;
    std::unique_ptr<NodePool> m_ownPool; // before m_records: their nodes live in it
    RecordList m_records;
    int m_segmentCount;
    int m_droppedNoteCount;
    int m_vanishedNoteCount;
};

// One step of NoteList::Quantize, for a record of length ticks whose start
// boundary moved by carry on the grid of unit ticks (at least 1): returns the
// record's new length (0: the record goes) and leaves in carry how far its
// end boundary moved. The same step serves records that are quantized as
// they are made (NoteListBuilder::BuildQuantizedNoteLists), with the grid's
// remainders; remainder32(x) gives x % unit for 32-bit x and unit.
template <class Remainder32>
inline long long QuantizeStepWith(long long length, long long unit, long long& carry, Remainder32 remainder32)
{
    long long x = length + carry;
    carry = 0;
    if (x == 0)
        return 0;
    // A record at a time over whole songs: 32-bit remainders where the
    // numbers allow it (the same remainder for x >= 0).
    long long r = x >= 0 && x <= 0xFFFFFFFFLL && unit <= 0xFFFFFFFFLL
                      ? static_cast<long long>(remainder32(static_cast<uint32_t>(x)))
                      : x % unit;
    if (r != 0) {
        if (2 * r < unit) {
            x -= r;
            carry = r;
        } else {
            x += unit - r;
            carry = r - unit;
        }
    }
    if (x > INT_MAX) {
        // Keep the boundary on the grid and hand the excess on.
        long long limit = INT_MAX - INT_MAX % unit;
        carry += x - limit;
        x = limit;
    }
    return x;
}

inline long long QuantizeStep(long long length, long long unit, long long& carry)
{
    return QuantizeStepWith(length, unit, carry, [unit](uint32_t x) {
        return x % static_cast<uint32_t>(unit);
    });
}

inline long long QuantizeStep(long long length, const QuantizeGrid& grid, long long& carry)
{
    return QuantizeStepWith(length, grid.GetUnit(), carry, [&grid](uint32_t x) { return grid.Remainder(x); });
}

// One step of NoteList::Decompose: the value index of the next piece cut from
// length ticks, given the table's ticks (count of them, longest first) and
// the index of the piece before (0 for the first): the longest value that
// fits, or the shortest when none does. The piece is the last when length is
// at most its ticks. The same step measures lines before they are cut.
int DecomposeStep(int length, const int* ticks, int count, int from);

#endif
