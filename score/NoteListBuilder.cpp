#include "score/NoteListBuilder.h"

#include "base/HugePageBlock.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "settings/ConvertSettings.h"
#include "settings/SettingsCheck.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

const unsigned char kNoteOff = 0x80;
const unsigned char kNoteOn = 0x90;
const unsigned char kSysEx = 0xF0;
const unsigned char kSysExContinue = 0xF7;
const unsigned char kMeta = 0xFF;
const int kChannelCount = 16;
const int kKeyCount = 128;
const int kFinestGridPerQuarter = 48; // 192nd notes in a quarter note

int ClampTicks(long long ticks)
{
    return ticks > INT_MAX ? INT_MAX : static_cast<int>(ticks);
}

// Appends a record, quantized to the grid when there is one: the step
// Quantize takes for it, with the carry of the list it goes to. Returns 1
// for a note that quantizing removed, 0 otherwise.
template <typename KeepRecord>
int AppendRecord(KeepRecord keep, long long& carry, const QuantizeGrid* grid, int note,
                 long long ticks, int velocity)
{
    long long length = ClampTicks(ticks);
    if (grid) {
        length = QuantizeStep(length, *grid, carry);
        if (length == 0)
            return note == kRestNote ? 0 : 1;
    }
    keep(NoteRecord(note, static_cast<int>(length), velocity));
    return 0;
}

// The voice count of settings, or 0 for one that SettingsCheck refuses.
int VoiceCountOf(const ConvertSettings& settings)
{
    const int voices = settings.GetVoiceCount();
    return SettingsCheck().CheckVoiceCount(voices) == SettingsCheck::kSettingsValid ? voices : 0;
}

} // namespace

// A note of a track from its note-on to its note-off.
struct NoteListBuilder::SourceNote {
    long long start;
    long long end; // -1 while it sounds; a note never ended is not placed
    // While the notes are collected, the next sounding note of its key and
    // channel, or -1; then, in a long chord, its place among the chord's
    // notes; once placed, the next note of its voice, or -1.
    int order;
    unsigned char key;
    unsigned char velocity;
};

// The notes of one track, per channel, and what the walk needs to pair each
// note-off with the earliest sounding note-on of its key. A track's channels
// take the buffers in order. Every buffer has room for the most notes any
// track gives it (ScanTracks), back to back in one block allocated once: on
// huge pages for a long file, and never grown or copied.
struct NoteListBuilder::Voices {
    Voices() : block(nullptr), blockSize(0), buffers(), notes(), counts() {}
    ~Voices()
    {
        if (block)
            HugePageBlock::Free(block, blockSize * sizeof(SourceNote));
    }
    Voices(const Voices&) = delete;
    Voices& operator=(const Voices&) = delete;

    SourceNote* block;
    size_t blockSize;
    SourceNote* buffers[kChannelCount];
    SourceNote* notes[kChannelCount]; // null for a channel the track does not use
    size_t counts[kChannelCount];     // of notes[channel]
    int firstOpen[kChannelCount][kKeyCount];
    int lastOpen[kChannelCount][kKeyCount];
};

NoteListBuilder::NoteListBuilder()
    : m_chordSpan(1), m_recordOnly(false), m_countUnrecorded(true)
{
}

bool NoteListBuilder::SetCountUnrecorded(bool count)
{
    return std::exchange(m_countUnrecorded, count);
}

void NoteListBuilder::RecordOnly(const std::vector<int>& ordinals)
{
    m_recordOnly = true;
    m_recorded.clear();
    for (int ordinal : ordinals) {
        if (ordinal < 0)
            continue;
        if (static_cast<size_t>(ordinal) >= m_recorded.size())
            m_recorded.resize(static_cast<size_t>(ordinal) + 1, 0);
        m_recorded[static_cast<size_t>(ordinal)] = 1;
    }
}

long long NoteListBuilder::GetCountedNotes(int ordinal) const
{
    if (ordinal < 0 || static_cast<size_t>(ordinal) >= m_counted.size())
        return 0;
    return m_counted[static_cast<size_t>(ordinal)];
}

// Inline: it runs for every record the builder makes.
inline void NoteListBuilder::Keep(NoteList& list, bool records, long long& notes, const NoteRecord& record)
{
    if (record.IsNote())
        ++notes;
    if (records)
        list.Append(record);
}

void NoteListBuilder::AddCountedNotes(const NoteList& list, long long notes)
{
    const size_t ordinal = static_cast<size_t>(list.GetOrdinal());
    if (ordinal >= m_counted.size())
        m_counted.resize(ordinal + 1, 0);
    m_counted[ordinal] += notes;
}

NoteListBuilder::~NoteListBuilder()
{
}

int NoteListBuilder::SetChordSpan(int span)
{
    int previous = m_chordSpan;
    m_chordSpan = span < 0 ? 0 : span;
    return previous;
}

int NoteListBuilder::GetChordSpan() const
{
    return m_chordSpan;
}

int NoteListBuilder::BuildNoteLists(const MidiFile& file, const ConvertSettings& settings,
                                    NoteListSet& set)
{
    return Build(file, VoiceCountOf(settings), set, 0);
}

int NoteListBuilder::BuildQuantizedNoteLists(const MidiFile& file, const ConvertSettings& settings,
                                             NoteListSet& set, int unit)
{
    // As Quantize takes a unit below 1.
    return Build(file, VoiceCountOf(settings), set, unit < 1 ? 1 : unit);
}

int NoteListBuilder::Build(const MidiFile& file, int voiceCount, NoteListSet& set, int unit)
{
    m_counted.clear();
    if (voiceCount < 1) {
        set.Allocate(0);
        set.SetTimeBase(file.GetTimeBase());
        return 0;
    }
    if (voiceCount > 1)
        return BuildVoices(file, voiceCount, &set, unit);
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
            NoteListIdentity identity = { t, channel, ordinal, 0 };
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
        long long notes = 0; // kept or counted
        int dropped = 0;     // note-ons while another note sounded
        int vanished = 0;    // notes quantizing removed
    };
    bool records[kChannelCount];
    for (int channel = 0; channel < kChannelCount; ++channel)
        records[channel] = lists[channel] != nullptr && Records(lists[channel]->GetOrdinal());
    // Appends a record, quantized when asked: the step Quantize takes for it.
    const QuantizeGrid grid(unit > 0 ? unit : 1);
    auto append = [this, unit, &grid, lists, &records](int channel, Line& line, int note, int length,
                                                int velocity) {
        if (!records[channel] && !m_countUnrecorded)
            return;
        if (unit > 0) {
            const long long x = QuantizeStep(length, grid, line.carry);
            if (x == 0) {
                line.vanished += note == kRestNote ? 0 : 1;
                return;
            }
            length = static_cast<int>(x);
        }
        Keep(*lists[channel], records[channel], line.notes, NoteRecord(note, length, velocity));
    };
    Line lines[kChannelCount];
    long long now = 0; // wide: a long track of long deltas must not wrap
    const MidiTrack::Position end = track.GetPosition(1);
    for (MidiTrack::Position p = track.GetPosition(0); p != end; ++p) {
        // Every event moves the time, whatever its channel or kind. A delta
        // is a count of ticks: one of five or more bytes with bit 31 set
        // must not move time back and make a length negative.
        now += static_cast<uint32_t>(p.GetDelta());
        int length = 0;
        const unsigned char* message = p.GetRecord(length);
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
            append(status & 0x0F, line, kRestNote, ClampTicks(now - line.since), 0);
            line.key = message[1];
            line.velocity = message[2];
            line.since = now;
            line.sounding = true;
        } else if (line.sounding && kind == kNoteOff && message[1] == line.key) {
            append(status & 0x0F, line, line.key, ClampTicks(now - line.since), line.velocity);
            line.key = kRestNote;
            line.velocity = 0;
            line.since = now;
            line.sounding = false;
        } else if (line.sounding && kind == kNoteOn) {
            ++line.dropped;
        }
    }
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (lists[channel]) {
            lists[channel]->SetDroppedNoteCount(lines[channel].dropped);
            lists[channel]->SetVanishedNoteCount(lines[channel].vanished);
            AddCountedNotes(*lists[channel], lines[channel].notes);
        }
    }
}

int NoteListBuilder::BuildVoices(const MidiFile& file, int voiceCount, NoteListSet* set, int unit)
{
    const int trackCount = file.GetTrackCount();
    if (set)
        set->Allocate(0);
    std::unique_ptr<Voices> voices(new Voices);
    std::vector<unsigned> masks;
    ScanTracks(file, masks, *voices);
    // At least one tick: the notes of one tick are always one chord.
    const long long chordTicks = std::max<long long>(
        1, static_cast<long long>(m_chordSpan) * file.GetTimeBase() / kFinestGridPerQuarter);
    int ordinal = 0;
    for (int t = 0; t < trackCount; ++t) {
        const MidiTrack* track = file.GetTrack(t);
        const unsigned mask = masks[static_cast<size_t>(t)];
        if (!track || mask == 0)
            continue;
        CollectNotes(*track, mask, *voices);
        for (int channel = 0; channel < kChannelCount; ++channel) {
            if (mask & (1u << channel))
                ordinal += PlaceNotes(t, channel, voiceCount, *voices, set, unit, ordinal,
                                      chordTicks);
        }
    }
    if (set) {
        set->SetCount(ordinal);
        set->SetTimeBase(file.GetTimeBase());
    }
    return ordinal;
}

void NoteListBuilder::ScanTracks(const MidiFile& file, std::vector<unsigned>& masks,
                                 Voices& voices)
{
    const int trackCount = file.GetTrackCount();
    masks.assign(trackCount > 0 ? static_cast<size_t>(trackCount) : 0, 0u);
    size_t most[kChannelCount] = {}; // per buffer, as CollectNotes hands them out
    for (int t = 0; t < trackCount; ++t) {
        const MidiTrack* track = file.GetTrack(t);
        if (!track)
            continue;
        // The track counted its channels and note-ons as it read them; room
        // is all this needs, and only a note-on with a velocity starts a note.
        const unsigned used = track->GetChannelMask();
        size_t noteOns[kChannelCount] = {};
        for (int channel = 0; channel < kChannelCount; ++channel)
            noteOns[channel] = static_cast<size_t>(track->GetNoteOnCount(channel));
        masks[static_cast<size_t>(t)] = used;
        int buffer = 0;
        for (int channel = 0; channel < kChannelCount; ++channel) {
            if (used & (1u << channel)) {
                most[buffer] = std::max(most[buffer], noteOns[channel]);
                ++buffer;
            }
        }
    }
    size_t total = 0;
    for (int buffer = 0; buffer < kChannelCount; ++buffer)
        total += most[buffer];
    if (total == 0)
        return;
    if (total > SIZE_MAX / sizeof(SourceNote))
        throw std::bad_alloc();
    voices.block = static_cast<SourceNote*>(HugePageBlock::Allocate(total * sizeof(SourceNote)));
    voices.blockSize = total;
    SourceNote* next = voices.block;
    for (int buffer = 0; buffer < kChannelCount; ++buffer) {
        voices.buffers[buffer] = next;
        next += most[buffer];
    }
}

void NoteListBuilder::CollectNotes(const MidiTrack& track, unsigned mask, Voices& voices)
{
    int buffer = 0;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        voices.notes[channel] = nullptr;
        if (!(mask & (1u << channel)))
            continue;
        voices.notes[channel] = voices.buffers[buffer++];
        voices.counts[channel] = 0;
        std::fill_n(voices.firstOpen[channel], kKeyCount, -1);
        std::fill_n(voices.lastOpen[channel], kKeyCount, -1);
    }
    long long now = 0;
    const MidiTrack::Position end = track.GetPosition(1);
    for (MidiTrack::Position p = track.GetPosition(0); p != end; ++p) {
        now += static_cast<uint32_t>(p.GetDelta()); // as ExtractChannels
        int length = 0;
        const unsigned char* message = p.GetRecord(length);
        if (!message || length < 3)
            continue; // no key or velocity to read, or no channel message
        const unsigned char kind = ClassifyStatus(message, length);
        if (kind != kNoteOn && kind != kNoteOff)
            continue;
        const int channel = message[0] & 0x0F;
        const int key = message[1];
        if (key >= kKeyCount || !voices.notes[channel])
            continue;
        SourceNote* notes = voices.notes[channel];
        size_t& count = voices.counts[channel];
        int& first = voices.firstOpen[channel][key];
        int& last = voices.lastOpen[channel][key];
        if (kind == kNoteOn) {
            // A key struck again while it sounds is a second note: each
            // note-off ends the earliest note of its key.
            const int index = static_cast<int>(count);
            notes[count++] = SourceNote{ now, -1, -1, static_cast<unsigned char>(key), message[2] };
            if (last >= 0)
                notes[last].order = index;
            else
                first = index;
            last = index;
        } else if (first >= 0) {
            SourceNote& note = notes[first];
            note.end = now;
            first = note.order;
            if (first < 0)
                last = -1;
        }
    }
}

inline void NoteListBuilder::SortChord(SourceNote* first, SourceNote* last)
{
    // Keys struck twice stay in the order they were struck.
    const ptrdiff_t kFewNotes = 16;
    if (last - first <= kFewNotes) {
        // A chord is a few notes: by insertion, which keeps that order.
        for (SourceNote* k = first + 1; k < last; ++k) {
            const SourceNote note = *k;
            SourceNote* at = k;
            for (; at > first && at[-1].key < note.key; --at)
                *at = at[-1];
            *at = note;
        }
        return;
    }
    for (SourceNote* k = first; k < last; ++k)
        k->order = static_cast<int>(k - first);
    std::sort(first, last, [](const SourceNote& a, const SourceNote& b) {
        return a.key != b.key ? a.key > b.key : a.order < b.order;
    });
}

int NoteListBuilder::PlaceNotes(int track, int channel, int voiceCount, Voices& voices,
                                NoteListSet* set, int unit, int ordinal, long long chordTicks)
{
    SourceNote* const notes = voices.notes[channel];
    const size_t count = voices.counts[channel];
    // First every note's voice, then each voice's records in one run: a
    // list's records then lie together in the set's pool, and the passes
    // after this one walk them without jumping between the voices.
    long long lastEnd[ConvertSettings::kMaxVoiceCount] = {};
    // Each voice's notes are linked in order through their order fields,
    // free once the chord they belong to is sorted.
    int firstOf[ConvertSettings::kMaxVoiceCount];
    int lastOf[ConvertSettings::kMaxVoiceCount];
    std::fill_n(firstOf, ConvertSettings::kMaxVoiceCount, -1);
    // A voice whose list keeps no records is counted as its notes come, so
    // only the voices that keep records walk their notes again.
    struct Count {
        bool now;        // counted here, not linked
        long long carry; // of the quantization
        long long kept;
        int vanished;
    };
    Count counts[ConvertSettings::kMaxVoiceCount];
    for (int voice = 0; voice < voiceCount; ++voice)
        counts[voice] = Count{ set && !Records(ordinal + voice) && m_countUnrecorded, 0, 0, 0 };
    const QuantizeGrid grid(unit > 0 ? unit : 1);
    const QuantizeGrid* quantized = unit > 0 ? &grid : nullptr;
    int used = 1; // the first voice has a list even without a note
    int dropped = 0;
    for (size_t i = 0; i < count;) {
        // The notes of a chord, those that start less than chordTicks after
        // the first of them, are taken from the highest key down.
        size_t j = i + 1;
        while (j < count && notes[j].start - notes[i].start < chordTicks)
            ++j;
        if (j - i > 1)
            SortChord(notes + i, notes + j);
        for (; i < j; ++i) {
            const SourceNote& note = notes[i];
            if (note.end < 0)
                continue;
            // The lowest voice that is free; a voice not yet used is free,
            // so the voices come into use in order.
            int voice = 0;
            while (voice < voiceCount && lastEnd[voice] > note.start)
                ++voice;
            if (voice == voiceCount) {
                ++dropped;
                continue;
            }
            used = std::max(used, voice + 1);
            const long long end = lastEnd[voice];
            lastEnd[voice] = note.end;
            if (counts[voice].now) {
                Count& c = counts[voice];
                auto keep = [&c](const NoteRecord& record) { c.kept += record.IsNote() ? 1 : 0; };
                AppendRecord(keep, c.carry, quantized, kRestNote, note.start - end, 0);
                c.vanished += AppendRecord(keep, c.carry, quantized, note.key, note.end - note.start,
                                           note.velocity);
                continue;
            }
            if (firstOf[voice] < 0)
                firstOf[voice] = static_cast<int>(i);
            else
                notes[lastOf[voice]].order = static_cast<int>(i);
            lastOf[voice] = static_cast<int>(i);
        }
    }
    if (!set)
        return used;
    for (int voice = 0; voice < used; ++voice) {
        NoteList* list = set->AddList();
        NoteListIdentity identity = { track, channel, ordinal + voice, voice };
        list->SetIdentity(identity);
        if (voice == 0)
            list->SetDroppedNoteCount(dropped);
        long long end = 0;
        long long carry = 0;
        int vanished = counts[voice].vanished;
        const bool records = Records(ordinal + voice);
        long long kept = counts[voice].kept;
        auto keep = [this, list, records, &kept](const NoteRecord& record) {
            Keep(*list, records, kept, record);
        };
        if (firstOf[voice] >= 0)
            notes[lastOf[voice]].order = -1;
        if (!records)
            firstOf[voice] = -1; // counted above, or not at all
        for (int i = firstOf[voice]; i >= 0; i = notes[i].order) {
            const SourceNote& note = notes[i];
            AppendRecord(keep, carry, quantized, kRestNote, note.start - end, 0);
            vanished += AppendRecord(keep, carry, quantized, note.key, note.end - note.start,
                                     note.velocity);
            end = note.end;
        }
        list->SetVanishedNoteCount(vanished);
        AddCountedNotes(*list, kept);
    }
    return used;
}

int NoteListBuilder::CountLists(const MidiFile& file, const ConvertSettings& settings)
{
    const int voiceCount = VoiceCountOf(settings);
    if (voiceCount < 1)
        return 0;
    if (voiceCount > 1)
        return BuildVoices(file, voiceCount, nullptr, 0);
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
    const unsigned used = track.GetChannelMask();
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
