#include "gen/SongGenerator.h"

#include <algorithm>

#include "gen/SmfBuilder.h"

#include <utility>

namespace {

const int kDrumChannel = 9;

enum PartKind { kMelody, kChords, kBass, kFastLine, kKindCount };

// xorshift32: small, fast, and the same sequence on every platform.
class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed != 0 ? seed : 0x9E3779B9u) {}

    uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int Below(int n) { return n > 0 ? static_cast<int>(Next() % static_cast<uint32_t>(n)) : 0; }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool OneIn(int n) { return Below(n) == 0; }

private:
    uint32_t m_state;
};

// A channel message waiting for its turn: messages of one track are made note
// by note and written in time order.
struct Pending {
    uint32_t time;
    int priority;                                    // at equal times, note-offs (0) go first
    uint8_t bytes[3];
    int length;
};

// One instrument track while it is being written.
struct Part {
    int track;                                       // builder index
    PartKind kind;
    int channel;
    int key;                                         // where the melody walk stands
    uint32_t written;                                // time of the last event written
    std::vector<Pending> pending;
};

class Writer {
public:
    Writer(SmfBuilder& builder, int timeBase, uint32_t seed, bool human)
        : m_builder(builder), m_t(timeBase), m_random(seed), m_events(0), m_human(human)
    {
    }

    long GetEvents() const { return m_events; }

    void Start(Part& p, const char* name, int program)
    {
        m_builder.TrackName(p.track, 0, name);
        ++m_events;
        Queue(p, 0, 1, 0xC0 | p.channel, program, -1);
    }

    void Conductor(int track, uint32_t& written, int bar)
    {
        const uint32_t at = static_cast<uint32_t>(bar) * Bar();
        if (bar % 16 == 0) {
            m_builder.Tempo(track, at - written, bar % 32 == 0 ? 500000 : 461538);
            written = at;
            ++m_events;
        }
        if (bar % 64 == 0) {
            m_builder.Meta(track, at - written, 0x06, {'A'});
            written = at;
            ++m_events;
        }
    }

    void Bar(Part& p, int bar)
    {
        const uint32_t start = static_cast<uint32_t>(bar) * Bar();
        switch (p.kind) {
        case kMelody: Melody(p, start); break;
        case kChords: Chords(p, start); break;
        case kBass: Bass(p, start, bar); break;
        default: FastLine(p, start); Drums(p, start); break;
        }
    }

    // Writes the queued messages that come before until, in time order.
    void Flush(Part& p, uint32_t until)
    {
        std::stable_sort(p.pending.begin(), p.pending.end(),
                         [](const Pending& a, const Pending& b) {
                             return a.time != b.time ? a.time < b.time : a.priority < b.priority;
                         });
        size_t n = 0;
        for (; n < p.pending.size() && p.pending[n].time < until; ++n) {
            const Pending& m = p.pending[n];
            m_builder.AddMessage(p.track, m.time - p.written,
                                 std::vector<uint8_t>(m.bytes, m.bytes + m.length));
            p.written = m.time;
            ++m_events;
        }
        p.pending.erase(p.pending.begin(), p.pending.begin() + static_cast<long>(n));
    }

    void End(int track, uint32_t written, uint32_t at)
    {
        m_builder.EndOfTrack(track, at > written ? at - written : 0);
        ++m_events;
    }

    uint32_t Bar() const { return static_cast<uint32_t>(4 * m_t); }
    // How early a note of the next bar may start.
    uint32_t Margin() const { return m_human ? static_cast<uint32_t>(Few() + 1) : 0; }

private:
    void Queue(Part& p, uint32_t time, int priority, int b0, int b1, int b2)
    {
        Pending m;
        m.time = time;
        m.priority = priority;
        m.bytes[0] = static_cast<uint8_t>(b0);
        m.bytes[1] = static_cast<uint8_t>(b1 & 0x7F);
        m.bytes[2] = static_cast<uint8_t>(b2 & 0x7F);
        m.length = b2 < 0 ? 2 : 3;
        p.pending.push_back(m);
    }

    void Note(Part& p, int channel, uint32_t on, uint32_t off, int key, bool zeroVelocityOff)
    {
        Queue(p, on, 1, 0x90 | channel, key, m_random.Between(40, 120));
        if (zeroVelocityOff)
            Queue(p, off, 0, 0x90 | channel, key, 0);
        else
            Queue(p, off, 0, 0x80 | channel, key, 64);
    }

    // Single notes of mixed values with humanized starts; now and then a rest,
    // or a note held into the next one (which the converter then drops).
    void Melody(Part& p, uint32_t start)
    {
        static const int kEighths[] = {1, 1, 2, 2, 2, 3, 4, 8};   // in eighth notes
        Queue(p, start, 1, 0xB0 | p.channel, 11, m_random.Between(80, 127));
        const uint32_t end = start + Bar();
        uint32_t t = start;
        while (t < end) {
            uint32_t length = static_cast<uint32_t>(kEighths[m_random.Below(8)] * m_t / 2);
            if (m_random.OneIn(6))
                length = static_cast<uint32_t>(m_t / 3);           // a triplet eighth
            length = std::min(length, end - t);
            if (m_random.OneIn(10)) {
                t += length;
                continue;
            }
            p.key = std::max(55, std::min(84, p.key + m_random.Between(-4, 4)));
            uint32_t on = t + static_cast<uint32_t>(m_random.Below(m_t / 24 + 1));
            uint32_t off = t + length - static_cast<uint32_t>(m_random.Between(m_t / 48, m_t / 8));
            if (m_random.OneIn(20))
                off = t + length + static_cast<uint32_t>(m_t / 4);
            if (m_human) {
                on = Nudge(on);
                if (m_random.OneIn(2))                    // legato into the next note
                    off = t + length + static_cast<uint32_t>(m_random.Between(1, Few()));
            }
            Note(p, p.channel, on, std::max(off, on + 1), p.key, false);
            t += length;
        }
    }

    // Three or four notes struck together, two or four times a bar, with the
    // sustain pedal around them.
    void Chords(Part& p, uint32_t start)
    {
        Queue(p, start, 1, 0xB0 | p.channel, 64, 127);
        const int count = m_random.OneIn(2) ? 2 : 4;
        const uint32_t length = Bar() / static_cast<uint32_t>(count);
        for (int c = 0; c < count; ++c) {
            const uint32_t on = start + static_cast<uint32_t>(c) * length;
            const uint32_t off = on + length - static_cast<uint32_t>(m_t / 16 + 1);
            const int root = 48 + m_random.Below(12);
            const int third = root + (m_random.OneIn(2) ? 3 : 4);
            if (m_human) {
                HumanChord(p, on, off, length, root, third);
                continue;
            }
            Note(p, p.channel, on, off, root, true);
            Note(p, p.channel, on, off, third, true);
            Note(p, p.channel, on, off, root + 7, true);
            if (m_random.OneIn(2))
                Note(p, p.channel, on, off, root + 12, true);
        }
        Queue(p, start + Bar() - 1, 0, 0xB0 | p.channel, 64, 0);
    }

    // Quarters and eighths ended by note-off messages; a pitch bend every
    // fourth bar.
    void Bass(Part& p, uint32_t start, int bar)
    {
        const int root = 36 + m_random.Below(12);
        for (int beat = 0; beat < 4; ++beat) {
            const uint32_t b = start + static_cast<uint32_t>(beat * m_t);
            const int key = root + (beat % 2 == 0 ? 0 : 7);
            if (m_human) {
                // Legato: each note held a few ticks into the next beat.
                const uint32_t on = Nudge(b);
                Note(p, p.channel, on, b + static_cast<uint32_t>(m_t + m_random.Between(1, Few())), key,
                     false);
                continue;
            }
            if (m_random.OneIn(2)) {
                Note(p, p.channel, b, b + static_cast<uint32_t>(m_t - m_t / 12), key, false);
            } else {
                const uint32_t half = static_cast<uint32_t>(m_t / 2);
                Note(p, p.channel, b, b + half - 1, key, false);
                Note(p, p.channel, b + half, b + 2 * half - 1, key + 12, false);
            }
        }
        if (bar % 4 == 3) {
            Queue(p, start + static_cast<uint32_t>(3 * m_t), 1, 0xE0 | p.channel, 0, 72);
            Queue(p, start + Bar() - 1, 1, 0xE0 | p.channel, 0, 64);
        }
    }

    // Sixteenths and triplet eighths, broken chords.
    void FastLine(Part& p, uint32_t start)
    {
        const int root = 60 + m_random.Below(12);
        static const int kSteps[] = {0, 4, 7, 12, 7, 4};
        int step = 0;
        for (int beat = 0; beat < 4; ++beat) {
            const int notes = beat == 3 ? 3 : 4;
            const uint32_t length = static_cast<uint32_t>(m_t / notes);
            for (int n = 0; n < notes; ++n) {
                const uint32_t on = start + static_cast<uint32_t>(beat * m_t) + static_cast<uint32_t>(n) * length;
                const int key = root + kSteps[step++ % 6];
                Note(p, p.channel, on, on + length - static_cast<uint32_t>(m_t / 16), key, true);
            }
        }
    }

    // Hi-hat on every eighth, bass drum and snare on the beats: several
    // drums on one tick.
    void Drums(Part& p, uint32_t start)
    {
        const uint32_t eighth = static_cast<uint32_t>(m_t / 2);
        for (int e = 0; e < 8; ++e) {
            const uint32_t on = start + static_cast<uint32_t>(e) * eighth;
            const uint32_t off = on + eighth / 2;
            if (e % 2 == 0)
                Note(p, kDrumChannel, on, off, e % 4 == 0 ? 36 : 38, true);
            Note(p, kDrumChannel, on, off, 42, true);
        }
    }

    // A few ticks: about a 96th note, at least 2.
    int Few() const { return std::max(2, m_t / 24); }

    // A start moved a few ticks early or late (never before tick 0).
    uint32_t Nudge(uint32_t time)
    {
        const int shift = m_random.Between(-Few(), Few());
        return shift < 0 && time < static_cast<uint32_t>(-shift) ? 0 : time + static_cast<uint32_t>(shift);
    }

    // A chord played by hand: its notes rolled from the bottom up a few ticks
    // apart, each released at its own time, and a melody note above it that
    // lasts half the chord, then another.
    void HumanChord(Part& p, uint32_t on, uint32_t off, uint32_t length, int root, int third)
    {
        int keys[] = {root, third, root + 7, root + 12};
        const int count = m_random.OneIn(2) ? 4 : 3;
        uint32_t start = Nudge(on);
        for (int k = 0; k < count; ++k) {
            const uint32_t end = off + static_cast<uint32_t>(m_random.Between(0, Few()));
            Note(p, p.channel, start, std::max(end, start + 1), keys[k], true);
            start += static_cast<uint32_t>(m_random.Between(0, Few()));
        }
        const uint32_t half = length / 2;
        for (int m = 0; m < 2; ++m) {
            const uint32_t from = Nudge(on + static_cast<uint32_t>(m) * half);
            const uint32_t to = on + static_cast<uint32_t>(m + 1) * half +
                                static_cast<uint32_t>(m_random.Between(0, Few()));
            Note(p, p.channel, from, std::max(to, from + 1), 72 + m_random.Below(12), true);
        }
    }

    SmfBuilder& m_builder;
    int m_t;                                         // ticks per quarter note
    Random m_random;
    long m_events;
    bool m_human;
};

const char* const kNames[kKindCount] = {"Melody", "Chords", "Bass", "Fast line"};
const int kPrograms[kKindCount] = {73, 0, 33, 81};

}  // namespace

SongGenerator::SongGenerator()
    : m_trackCount(8), m_timeBase(480), m_seed(20240601u), m_humanTiming(false), m_eventCount(0),
      m_listCount(0)
{
}

SongGenerator::~SongGenerator()
{
}

int SongGenerator::SetTrackCount(int count)
{
    return std::exchange(m_trackCount, std::max(1, std::min(kMaxTrackCount, count)));
}

int SongGenerator::GetTrackCount() const
{
    return m_trackCount;
}

int SongGenerator::SetTimeBase(int timeBase)
{
    return std::exchange(m_timeBase, timeBase);
}

int SongGenerator::GetTimeBase() const
{
    return m_timeBase;
}

uint32_t SongGenerator::SetSeed(uint32_t seed)
{
    return std::exchange(m_seed, seed);
}

uint32_t SongGenerator::GetSeed() const
{
    return m_seed;
}

bool SongGenerator::SetHumanTiming(bool on)
{
    return std::exchange(m_humanTiming, on);
}

bool SongGenerator::GetHumanTiming() const
{
    return m_humanTiming;
}

long SongGenerator::GetEventCount() const
{
    return m_eventCount;
}

int SongGenerator::GetListCount() const
{
    return m_listCount;
}

std::vector<uint8_t> SongGenerator::Build(long eventCount)
{
    SmfBuilder builder(1, m_timeBase);
    builder.SetRunningStatus(true);
    Writer w(builder, m_timeBase, m_seed, m_humanTiming);

    const int conductor = builder.AddTrack();
    uint32_t conductorWritten = 0;
    builder.TrackName(conductor, 0, "Benchmark Song");
    builder.Meta(conductor, 0, 0x58, {4, 2, 24, 8});
    builder.Meta(conductor, 0, 0x59, {0, 0});
    long headerEvents = 3;

    std::vector<Part> parts(static_cast<size_t>(m_trackCount));
    m_listCount = 0;
    for (int i = 0; i < m_trackCount; ++i) {
        Part& p = parts[static_cast<size_t>(i)];
        p.track = builder.AddTrack();
        p.kind = static_cast<PartKind>(i % kKindCount);
        p.channel = i < kDrumChannel ? i : i + 1;
        p.key = 72;
        p.written = 0;
        w.Start(p, kNames[p.kind], kPrograms[p.kind]);
        m_listCount += p.kind == kFastLine ? 2 : 1;
    }

    int bar = 0;
    while (headerEvents + w.GetEvents() < eventCount) {
        w.Conductor(conductor, conductorWritten, bar);
        for (Part& p : parts)
            w.Bar(p, bar);
        ++bar;
        // Played by hand, the next bar may begin a few ticks early.
        for (Part& p : parts)
            w.Flush(p, static_cast<uint32_t>(bar) * w.Bar() - w.Margin());
    }

    const uint32_t end = static_cast<uint32_t>(bar) * w.Bar();
    w.End(conductor, conductorWritten, end);
    for (Part& p : parts) {
        w.Flush(p, UINT32_MAX);
        w.End(p.track, p.written, end);
    }
    m_eventCount = headerEvents + w.GetEvents();
    return builder.Build();
}
