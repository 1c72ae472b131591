#include "score/NoteListSet.h"

#include "settings/NoteValueTable.h"
#include "score/NoteList.h"

#include <new>

NoteListSet::NoteListSet()
    : m_count(0)
    , m_timeBase(0)
{
}

NoteListSet::~NoteListSet()
{
    // Every record lives in m_pool, which goes with the set, and a record's
    // destructor does nothing. So the lists hand their records over, whole,
    // to a list that is never destroyed, instead of giving back hundreds of
    // thousands of nodes one by one; their memory returns with the pool.
    NoteList::RecordList* leftovers =
        new (m_leftovers) NoteList::RecordList(PoolAllocator<NoteRecord>(&m_pool));
    for (NoteList* list : m_lists)
        leftovers->splice(leftovers->end(), list->m_records);
    Allocate(0);
}

int NoteListSet::Allocate(int count)
{
    for (NoteList* list : m_lists)
        delete list;
    m_lists.clear();
    if (count < 1)
        return 0;
    m_lists.reserve(count); // so that no push_back can fail and lose a list
    for (int i = 0; i < count; ++i)
        m_lists.push_back(new NoteList(&m_pool));
    return static_cast<int>(m_lists.size());
}

int NoteListSet::ProcessAll(int timeBase, int segmentTicks)
{
    for (NoteList* list : m_lists) {
        list->Quantize(timeBase / NoteValueTable::kBaseTimeBase);
        list->SplitIntoSegments(segmentTicks);
        list->Decompose(timeBase);
    }
    return 0;
}

NoteList* NoteListSet::AddList()
{
    // Room first, so that push_back cannot fail and lose the new list.
    if (m_lists.size() == m_lists.capacity())
        m_lists.reserve(2 * m_lists.size() + 16);
    NoteList* list = new NoteList(&m_pool);
    m_lists.push_back(list);
    return list;
}

NoteList* NoteListSet::GetList(int ordinal) const
{
    if (ordinal < 0 || ordinal >= static_cast<int>(m_lists.size()))
        return nullptr;
    return m_lists[ordinal];
}

int NoteListSet::SetCount(int count)
{
    int previous = m_count;
    m_count = count;
    return previous;
}

int NoteListSet::GetCount() const
{
    return m_count;
}

int NoteListSet::GetChannelCount() const
{
    int count = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const NoteList* list = GetList(i);
        if (list && list->GetVoice() == 0)
            ++count;
    }
    return count;
}

int NoteListSet::SetTimeBase(int timeBase)
{
    int previous = m_timeBase;
    m_timeBase = timeBase;
    return previous;
}

int NoteListSet::GetTimeBase() const
{
    return m_timeBase;
}

int NoteListSet::GetSegmentCount(int ordinal) const
{
    NoteList* list = GetList(ordinal);
    return list ? list->GetSegmentCount() : -1;
}

int NoteListSet::GetTotalTicks(int ordinal) const
{
    NoteList* list = GetList(ordinal);
    return list ? list->GetTotalTicks() : -1;
}

int NoteListSet::CountValueIndex(int ordinal, int valueIndex) const
{
    NoteList* list = GetList(ordinal);
    return list ? list->CountValueIndex(valueIndex) : -1;
}

int NoteListSet::GetMostFrequentBaseValue(int ordinal) const
{
    NoteList* list = GetList(ordinal);
    return list ? list->GetMostFrequentBaseValue() : -1;
}

int NoteListSet::GetDroppedNoteCount(int track, int channel) const
{
    int count = 0;
    for (int i = 0; i < GetCount(); ++i) {
        const NoteList* list = GetList(i);
        if (list && list->GetTrackIndex() == track && list->GetChannel() == channel)
            count += list->GetDroppedNoteCount();
    }
    return count;
}
