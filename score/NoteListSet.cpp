#include "score/NoteListSet.h"

#include "engine/NoteValueTable.h"
#include "score/NoteList.h"

#include <new>

NoteListSet::NoteListSet()
    : count_(0)
    , timeBase_(0)
{
}

NoteListSet::~NoteListSet()
{
    // Every record lives in pool_, which goes with the set, and a record's
    // destructor does nothing. So the lists hand their records over, whole,
    // to a list that is never destroyed, instead of giving back hundreds of
    // thousands of nodes one by one; their memory returns with the pool.
    NoteList::RecordList* leftovers =
        new (leftovers_) NoteList::RecordList(PoolAllocator<NoteRecord>(&pool_));
    for (NoteList* list : lists_)
        leftovers->splice(leftovers->end(), list->records_);
    Allocate(0);
}

int NoteListSet::Allocate(int count)
{
    for (NoteList* list : lists_)
        delete list;
    lists_.clear();
    if (count < 1)
        return 0;
    lists_.reserve(count); // so that no push_back can fail and lose a list
    for (int i = 0; i < count; ++i)
        lists_.push_back(new NoteList(&pool_));
    return static_cast<int>(lists_.size());
}

int NoteListSet::ProcessAll(int timeBase, int segmentTicks)
{
    for (NoteList* list : lists_) {
        list->Quantize(timeBase / NoteValueTable::kBaseTimeBase);
        list->SplitIntoSegments(segmentTicks);
        list->Decompose(timeBase);
    }
    return 0;
}

NoteList* NoteListSet::GetList(int ordinal) const
{
    if (ordinal < 0 || ordinal >= static_cast<int>(lists_.size()))
        return nullptr;
    return lists_[ordinal];
}

int NoteListSet::SetCount(int count)
{
    int previous = count_;
    count_ = count;
    return previous;
}

int NoteListSet::GetCount() const
{
    return count_;
}

int NoteListSet::SetTimeBase(int timeBase)
{
    int previous = timeBase_;
    timeBase_ = timeBase;
    return previous;
}

int NoteListSet::GetTimeBase() const
{
    return timeBase_;
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
