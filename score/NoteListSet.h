#ifndef MORVEK_SCORE_NOTELISTSET_H
#define MORVEK_SCORE_NOTELISTSET_H

#include "base/NodePool.h"
#include "score/NoteList.h"

#include <vector>

// All note lists of one file; a list's ordinal is its index here.
class NoteListSet {
public:
// Construction
    NoteListSet();
    virtual ~NoteListSet();
    // The set owns its lists.
    NoteListSet(const NoteListSet&) = delete;
    NoteListSet& operator=(const NoteListSet&) = delete;

// Operations
    // Replaces the lists with count new empty ones; returns their number.
    virtual int Allocate(int count);
    // Appends one new empty list after those there are; returns it. Lists
    // added this way count once SetCount says so.
    virtual NoteList* AddList();
    // Runs the three passes over every list with the finest grid (one 192nd
    // note). Returns 0.
    virtual int ProcessAll(int timeBase, int segmentTicks);

// Attributes
    // The list with that ordinal, or null outside the set.
    virtual NoteList* GetList(int ordinal) const;
    virtual int SetCount(int count);
    virtual int GetCount() const;
    // The track and channel pairs the lists come from: the lists of the
    // first voice, so every list with one voice.
    virtual int GetChannelCount() const;
    virtual int SetTimeBase(int timeBase);
    virtual int GetTimeBase() const;
    // Forwarded to the list with that ordinal; -1 when there is none.
    virtual int GetSegmentCount(int ordinal) const;
    virtual int GetTotalTicks(int ordinal) const;
    virtual int CountValueIndex(int ordinal, int valueIndex) const;
    virtual int GetMostFrequentBaseValue(int ordinal) const;
    // Notes of track and channel the builder dropped (see
    // NoteList::GetDroppedNoteCount); 0 for a pair without lists.
    virtual int GetDroppedNoteCount(int track, int channel) const;

private:
    int m_count;
    int m_timeBase;
    NodePool m_pool; // the records of every list; outlives them
    std::vector<NoteList*> m_lists; // owned
    // Where the records go when the set goes: a list that is never destroyed
    // (see the destructor).
    alignas(NoteList::RecordList) unsigned char m_leftovers[sizeof(NoteList::RecordList)];
};

#endif
