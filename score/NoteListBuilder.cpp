#include "score/NoteListBuilder.h"

#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"

#include <climits>
#include <cstdint>
#include <vector>

namespace {

const unsigned char kNoteOff = 0x80;
const unsigned char kNoteOn = 0x90;
const unsigned char kSysEx = 0xF0;
const unsigned char kSysExContinue = 0xF7;
const unsigned char kMeta = 0xFF;
const int kChannelCount = 16;

int ClampTicks(long long ticks)
{
    return ticks > INT_MAX ? INT_MAX : static_cast<int>(ticks);
}

bool IsChannelMessage(unsigned char status)
{
    return status >= 0x80 && status < 0xF0;
}

} // namespace

NoteListBuilder::NoteListBuilder()
{
}

NoteListBuilder::~NoteListBuilder()
{
}

int NoteListBuilder::BuildNoteLists(const MidiFile& file, NoteListSet& set)
{
    return Build(file, set, 0);
}

int NoteListBuilder::BuildQuantizedNoteLists(const MidiFile& file, NoteListSet& set, int unit)
{
    return Build(file, set, unit < 1 ? 1 : unit); // as Quantize takes a unit below 1
}

int NoteListBuilder::Build(const MidiFile& file, NoteListSet& set, int unit)
{
    const int trackCount = file.GetTrackCount();
    std::vector<unsigned> masks;
    set.Allocate(GetChannelMasks(file, masks));

    int ordinal = 0;
    for (int t = 0; t < trackCount; ++t) {
        const MidiTrack* track = file.GetTrack(t);
        if (!track || masks[t] == 0)
            continue;
        NoteList* lists[kChannelCount] = {};
        for (int channel = 0; channel < kChannelCount; ++channel) {
            if (!(masks[t] & (1u << channel)))
                continue;
            NoteList* list = set.GetList(ordinal);
            NoteListIdentity identity = { t, channel, ordinal };
            list->SetIdentity(identity);
            lists[channel] = list;
            ++ordinal;
        }
        ExtractChannels(*track, lists, unit);
    }
    set.SetCount(ordinal);
    set.SetTimeBase(file.GetTimeBase());
    return ordinal;
}

int NoteListBuilder::ExtractChannel(int channel, const MidiTrack& track, NoteList& list)
{
    NoteList* lists[kChannelCount] = {};
    if (channel >= 0 && channel < kChannelCount)
        lists[channel] = &list;
    ExtractChannels(track, lists, 0);
    return 0;
}

void NoteListBuilder::ExtractChannels(const MidiTrack& track, NoteList* const lists[kChannelCount],
                                      int unit)
{
    // The two-state walk of every channel at once: sounding or not, the key
    // and velocity sounding, and the time its current rest or note began.
    struct Line {
        bool sounding = false;
        int key = kRestNote;
        int velocity = 0;
        long long since = 0;
        long long carry = 0; // of the quantization, owed to the next record
    };
    // Appends a record, quantized when asked: the step Quantize takes for it.
    auto append = [unit](NoteList& list, Line& line, int note, int length, int velocity) {
        if (unit > 0) {
            const long long x = QuantizeStep(length, unit, line.carry);
            if (x == 0)
                return;
            length = static_cast<int>(x);
        }
        list.Append(NoteRecord(note, length, velocity));
    };
    Line lines[kChannelCount];
    long long now = 0; // wide: a long track of long deltas must not wrap
    const MidiTrack::Position end = track.GetPosition(1);
    for (MidiTrack::Position p = track.GetPosition(0); p != end; ++p) {
        const MidiEvent* event = *p;
        // Every event moves the time, whatever its channel or kind. A delta
        // is a count of ticks: one of five or more bytes with bit 31 set
        // must not move time back and make a length negative.
        now += static_cast<uint32_t>(event->GetDelta());
        const unsigned char* message = event->GetData();
        const int length = event->GetLength();
        if (!message || length < 1)
            continue;
        const unsigned char status = message[0];
        if (status == kSysEx || status == kSysExContinue || status == kMeta)
            continue;
        NoteList* list = lists[status & 0x0F];
        if (!list)
            continue;
        const unsigned char kind = ClassifyStatus(message, length);
        if ((kind == kNoteOn || kind == kNoteOff) && length < 3)
            continue; // no key or velocity to read
        Line& line = lines[status & 0x0F];
        if (!line.sounding && kind == kNoteOn) {
            append(*list, line, kRestNote, ClampTicks(now - line.since), 0);
            line.key = message[1];
            line.velocity = message[2];
            line.since = now;
            line.sounding = true;
        } else if (line.sounding && kind == kNoteOff && message[1] == line.key) {
            append(*list, line, line.key, ClampTicks(now - line.since), line.velocity);
            line.key = kRestNote;
            line.velocity = 0;
            line.since = now;
            line.sounding = false;
        }
    }
}

int NoteListBuilder::CountLists(const MidiFile& file)
{
    std::vector<unsigned> masks;
    return GetChannelMasks(file, masks);
}

int NoteListBuilder::GetChannelMasks(const MidiFile& file, std::vector<unsigned>& masks)
{
    const int trackCount = file.GetTrackCount();
    masks.assign(trackCount > 0 ? static_cast<size_t>(trackCount) : 0, 0u);
    int count = 0;
    for (int t = 0; t < trackCount; ++t) {
        const MidiTrack* track = file.GetTrack(t);
        if (track)
            count += GetChannelMask(*track, &masks[static_cast<size_t>(t)]);
    }
    return count;
}

int NoteListBuilder::GetChannelMask(const MidiTrack& track, unsigned* mask)
{
    unsigned used = 0;
    const MidiTrack::Position end = track.GetPosition(1);
    for (MidiTrack::Position p = track.GetPosition(0); p != end; ++p) {
        const unsigned char* message = (*p)->GetData();
        if (message && (*p)->GetLength() > 0 && IsChannelMessage(message[0]))
            used |= 1u << (message[0] & 0x0F);
    }
    if (mask)
        *mask = used;
    int count = 0;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (used & (1u << channel))
            ++count;
    }
    return count;
}

unsigned char NoteListBuilder::ClassifyStatus(const unsigned char* message, int length)
{
    if (!message || length < 1)
        return 0;
    const unsigned char status = message[0];
    if (status == kSysEx || status == kSysExContinue || status == kMeta)
        return status;
    const unsigned char kind = status & 0xF0;
    if (kind == kNoteOn && length >= 3 && message[2] == 0)
        return kNoteOff;
    return kind;
}
