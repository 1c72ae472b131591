#include "gen/SmfBuilder.h"

#include <cstring>
#include <stdexcept>
#include <utility>

namespace {

void PutWord(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutDword(std::vector<uint8_t>& out, uint32_t v)
{
    PutWord(out, v >> 16);
    PutWord(out, v & 0xFFFF);
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    // Byte by byte: GCC 12 at -O2 warns falsely about a range insert here.
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

SmfBuilder::SmfBuilder(int format, int division)
    : m_format(format), m_division(division)
{
}

SmfBuilder::~SmfBuilder()
{
}

int SmfBuilder::AddTrack()
{
    m_tracks.emplace_back();
    return static_cast<int>(m_tracks.size()) - 1;
}

void SmfBuilder::SetRunningStatus(bool on)
{
    m_runningStatus = on;
}

SmfBuilder::Track& SmfBuilder::TrackAt(int track)
{
    // A wrong index is a fault in the calling test or tool, not in the data.
    if (track < 0 || track >= static_cast<int>(m_tracks.size()))
        throw std::out_of_range("SmfBuilder: no such track");
    return m_tracks[static_cast<size_t>(track)];
}

void SmfBuilder::PutDelta(Track& t, uint32_t delta)
{
    std::vector<uint8_t> v = EncodeVarLen(delta);
    t.bytes.insert(t.bytes.end(), v.begin(), v.end());
}

void SmfBuilder::AddMessage(int track, uint32_t delta, const std::vector<uint8_t>& message)
{
    Track& t = TrackAt(track);
    PutDelta(t, delta);
    if (message.empty())
        return;
    uint8_t status = message[0];
    size_t from = 0;
    if (status >= 0x80 && status < 0xF0) {
        if (m_runningStatus && status == t.lastStatus)
            from = 1;
        t.lastStatus = status;
    } else if (status >= 0xF0 && status < 0xF8) {
        // System common and exclusive messages cancel the running status.
        t.lastStatus = 0;
    }
    t.bytes.insert(t.bytes.end(), message.begin() + static_cast<long>(from), message.end());
}

void SmfBuilder::AddRaw(int track, uint32_t delta, const std::vector<uint8_t>& bytes)
{
    Track& t = TrackAt(track);
    PutDelta(t, delta);
    t.bytes.insert(t.bytes.end(), bytes.begin(), bytes.end());
    // Whatever the bytes were, the next message writes its status again.
    t.lastStatus = 0;
}

void SmfBuilder::NoteOn(int track, uint32_t delta, int channel, int key, int velocity)
{
    AddMessage(track, delta, {static_cast<uint8_t>(0x90 | (channel & 0x0F)),
                              static_cast<uint8_t>(key & 0x7F),
                              static_cast<uint8_t>(velocity & 0x7F)});
}

void SmfBuilder::NoteOff(int track, uint32_t delta, int channel, int key, int velocity)
{
    AddMessage(track, delta, {static_cast<uint8_t>(0x80 | (channel & 0x0F)),
                              static_cast<uint8_t>(key & 0x7F),
                              static_cast<uint8_t>(velocity & 0x7F)});
}

void SmfBuilder::Meta(int track, uint32_t delta, int type, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> m;
    m.push_back(0xFF);
    m.push_back(static_cast<uint8_t>(type));
    std::vector<uint8_t> len = EncodeVarLen(static_cast<uint32_t>(data.size()));
    m.insert(m.end(), len.begin(), len.end());
    m.insert(m.end(), data.begin(), data.end());
    // Meta events do not touch the running status of the channel messages.
    Track& t = TrackAt(track);
    PutDelta(t, delta);
    t.bytes.insert(t.bytes.end(), m.begin(), m.end());
}

void SmfBuilder::Tempo(int track, uint32_t delta, uint32_t microsPerQuarter)
{
    Meta(track, delta, 0x51, {static_cast<uint8_t>(microsPerQuarter >> 16),
                              static_cast<uint8_t>(microsPerQuarter >> 8),
                              static_cast<uint8_t>(microsPerQuarter)});
}

void SmfBuilder::TrackName(int track, uint32_t delta, const char* name)
{
    const char* text = name ? name : "";
    Meta(track, delta, 0x03, std::vector<uint8_t>(text, text + std::strlen(text)));
}

void SmfBuilder::EndOfTrack(int track, uint32_t delta)
{
    Meta(track, delta, 0x2F, {});
}

void SmfBuilder::AppendAfterTracks(const std::vector<uint8_t>& bytes)
{
    m_trailer.insert(m_trailer.end(), bytes.begin(), bytes.end());
}

int SmfBuilder::SetHeaderTrackCount(int count)
{
    return std::exchange(m_headerTrackCount, count);
}

std::vector<uint8_t> SmfBuilder::Build() const
{
    std::vector<uint8_t> out;
    PutTag(out, "MThd");
    PutDword(out, 6);
    PutWord(out, static_cast<uint32_t>(m_format) & 0xFFFF);
    uint32_t count = m_headerTrackCount >= 0 ? static_cast<uint32_t>(m_headerTrackCount)
                                             : static_cast<uint32_t>(m_tracks.size());
    PutWord(out, count & 0xFFFF);
    PutWord(out, static_cast<uint32_t>(m_division) & 0xFFFF);
    for (const Track& t : m_tracks) {
        PutTag(out, "MTrk");
        PutDword(out, static_cast<uint32_t>(t.bytes.size()));
        out.insert(out.end(), t.bytes.begin(), t.bytes.end());
    }
    out.insert(out.end(), m_trailer.begin(), m_trailer.end());
    return out;
}

std::vector<uint8_t> SmfBuilder::EncodeVarLen(uint32_t value)
{
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    std::vector<uint8_t> out;
    for (int i = n - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
    return out;
}
