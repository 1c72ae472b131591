#include "score/NoteList.h"

#include "settings/NoteValueTable.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>

namespace {

int ClampTicks(long long ticks)
{
    return ticks > INT_MAX ? INT_MAX : static_cast<int>(ticks);
}

} // namespace

NoteList::NoteList(NodePool* pool)
    : m_identity{0, 0, 0, 0}
    , m_ownPool(pool ? nullptr : new NodePool)
    , m_records(PoolAllocator<NoteRecord>(pool ? pool : m_ownPool.get()))
    , m_segmentCount(0)
    , m_droppedNoteCount(0)
    , m_vanishedNoteCount(0)
{
}

NoteList::~NoteList()
{
    Clear();
}

int NoteList::SetIdentity(const NoteListIdentity& identity)
{
    m_identity = identity;
    return 0;
}

int NoteList::GetIdentity(NoteListIdentity& identity) const
{
    identity = m_identity;
    return 0;
}

int NoteList::SetTrackIndex(int track)
{
    int previous = m_identity.track;
    m_identity.track = track;
    return previous;
}

int NoteList::GetTrackIndex() const
{
    return m_identity.track;
}

int NoteList::SetChannel(int channel)
{
    int previous = m_identity.channel;
    m_identity.channel = channel;
    return previous;
}

int NoteList::GetChannel() const
{
    return m_identity.channel;
}

int NoteList::SetOrdinal(int ordinal)
{
    int previous = m_identity.ordinal;
    m_identity.ordinal = ordinal;
    return previous;
}

int NoteList::GetOrdinal() const
{
    return m_identity.ordinal;
}

int NoteList::SetVoice(int voice)
{
    int previous = m_identity.voice;
    m_identity.voice = voice;
    return previous;
}

int NoteList::GetVoice() const
{
    return m_identity.voice;
}

int NoteList::SetDroppedNoteCount(int count)
{
    int previous = m_droppedNoteCount;
    m_droppedNoteCount = count;
    return previous;
}

int NoteList::GetDroppedNoteCount() const
{
    return m_droppedNoteCount;
}

int NoteList::SetVanishedNoteCount(int count)
{
    int previous = m_vanishedNoteCount;
    m_vanishedNoteCount = count;
    return previous;
}

int NoteList::GetVanishedNoteCount() const
{
    return m_vanishedNoteCount;
}

int NoteList::GetRecordCount() const
{
    return static_cast<int>(m_records.size());
}

int NoteList::GetSegmentCount() const
{
    return m_segmentCount;
}

int NoteList::GetTotalTicks() const
{
    long long total = 0;
    for (const NoteRecord& record : m_records)
        total += record.GetLength();
    return ClampTicks(total);
}

int NoteList::CountValueIndex(int valueIndex) const
{
    int count = 0;
    for (const NoteRecord& record : m_records) {
        if (record.GetValueIndex() == valueIndex)
            ++count;
    }
    return count;
}

int NoteList::GetMostFrequentBaseValue() const
{
    NoteValueTable table;
    // Each value index counted first, then the counts gathered by base
    // value: one table look-up per value instead of one per record.
    int byIndex[NoteValueTable::kValueCount] = {};
    for (const NoteRecord& record : m_records) {
        const unsigned index = static_cast<unsigned>(record.GetValueIndex());
        if (index < static_cast<unsigned>(NoteValueTable::kValueCount))
            ++byIndex[index];
    }
    int counts[NoteValueTable::kValueCount] = {};
    for (int index = 0; index < NoteValueTable::kValueCount; ++index) {
        const int base = table.GetBaseValue(index);
        if (base != NoteValueTable::kNoValue)
            counts[base] += byIndex[index];
    }
    int best = 0;
    for (int i = 1; i < NoteValueTable::kValueCount; ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return best;
}

int NoteList::Clear()
{
    m_records.clear();
    return GetRecordCount();
}

int NoteList::Quantize(int unit)
{
    // A grid finer than one tick cannot exist; with one tick nothing moves
    // and only empty records go, which the later passes rely on.
    const long long q = unit < 1 ? 1 : unit;
    long long carry = 0; // how far the last boundary moved, owed to the next record
    Position position = Begin();
    while (position != End()) {
        if (position->IsSegmentEnd()) {
            ++position;
            continue;
        }
        const long long x = QuantizeStep(position->GetLength(), q, carry);
        if (x == 0) {
            position = Erase(position);
            continue;
        }
        position->SetLength(static_cast<int>(x));
        ++position;
    }
    return static_cast<int>(carry);
}

int NoteList::SplitIntoSegments(int segmentTicks)
{
    if (segmentTicks < 1)
        return m_segmentCount = 0;
    return SplitAt(nullptr, segmentTicks);
}

int NoteList::SplitAtEnds(const std::vector<int>& ends)
{
    return SplitAt(&ends, 0);
}

int NoteList::SplitAt(const std::vector<int>* ends, long long step)
{
    const NoteRecord marker(kSegmentEnd, 0);
    size_t next = 0;
    long long start = 0; // where the record at position begins
    long long cut = 0;
    // The next cut after start; past every tick once the ends run out.
    auto nextCut = [&]() {
        do {
            if (!ends)
                cut += step;
            else
                cut = next < ends->size() ? (*ends)[next++] : LLONG_MAX;
        } while (cut <= start);
    };
    nextCut();
    int count = 0;
    Position position = Begin();
    while (position != End()) {
        const long long length = position->GetLength();
        if (start + length < cut) {
            start += length;
            ++position;
            continue;
        }
        const int over = static_cast<int>(start + length - cut);
        position->SetLength(static_cast<int>(cut - start));
        if (over > 0 && !position->IsRest())
            position->SetTie(position->GetTie() | kTieToNext);
        start = cut;
        nextCut();
        Position end = InsertBefore(std::next(position), marker);
        ++count;
        if (over > 0) {
            // The rest of the record starts the next segment and may cross
            // further cuts itself.
            NoteRecord rest(position->GetNote(), over, position->GetVelocity());
            position = InsertBefore(std::next(end), rest);
        } else {
            position = std::next(end);
        }
    }
    if (m_records.empty() || !m_records.back().IsSegmentEnd()) {
        Append(marker);
        ++count;
    }
    m_segmentCount = count;
    return count;
}

int DecomposeStep(int length, const int* ticks, int count, int from)
{
    // The ticks fall strictly: halve the range to the first that fits.
    int low = from;
    int high = count - 1;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (ticks[middle] > length)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int NoteList::Decompose(int timeBase)
{
    NoteValueTable table;
    int factor = timeBase / NoteValueTable::kBaseTimeBase;
    if (factor < 1)
        factor = 1;
    const int lastIndex = NoteValueTable::kValueCount - 1;
    // The table's ticks at this time base, looked up once for every record.
    int ticks[NoteValueTable::kValueCount];
    for (int i = 0; i <= lastIndex; ++i)
        ticks[i] = table.GetTicks(i) * factor;
    // DecomposeStep's answer for every length below the longest value, looked
    // up instead of searched for every piece. A remainder never fits a longer
    // value than the piece cut before it, so the index before needs no say.
    std::vector<unsigned char> indexOf(static_cast<size_t>(ticks[0]), static_cast<unsigned char>(lastIndex));
    for (int i = 0; i < lastIndex; ++i)
        std::fill(indexOf.begin() + ticks[i + 1], indexOf.begin() + ticks[i], static_cast<unsigned char>(i + 1));
    const auto step = [&ticks, &indexOf](int length) {
        return length >= ticks[0] ? 0 : length < 0 ? lastIndex : static_cast<int>(indexOf[static_cast<size_t>(length)]);
    };
    for (Position piece = Begin(); piece != End(); ++piece) {
        if (piece->IsSegmentEnd())
            continue;
        int length = piece->GetLength();
        const int tie = piece->GetTie(); // the last piece keeps it
        int index = step(length);
        while (length > ticks[index]) {
            const int value = ticks[index];
            piece->SetLength(value);
            piece->SetValueIndex(index);
            if (!piece->IsRest())
                piece->SetTie(piece->GetTie() | kTieToNext);
            NoteRecord remainder(piece->GetNote(), length - value, piece->GetVelocity(), tie);
            piece = InsertBefore(std::next(piece), remainder);
            length -= value;
            index = step(length);
        }
        // An exact value, or the shortest, which a shorter length grows to.
        piece->SetLength(ticks[index]);
        piece->SetValueIndex(index);
    }
    return 0;
}
