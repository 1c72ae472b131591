#include "midi/MidiEvent.h"

#include <climits>
#include <cstring>
#include <new>

MidiEvent::MidiEvent(MidiEvent&& other) noexcept
    : m_delta(other.m_delta), m_length(other.m_length), m_time(other.m_time), m_record(other.m_record),
      m_borrowed(other.m_borrowed)
{
    other.m_length = 0;
    other.m_record.heap = nullptr;
    other.m_borrowed = nullptr;
}

unsigned long MidiEvent::GetCarriedLength(const unsigned char* bytes,
                                          const unsigned char* limit) const
{
    const unsigned char status = bytes[0];
    // System exclusive and meta events carry their payload length.
    const unsigned char* lengthField = bytes + (status == 0xFF ? 2 : 1);
    if (lengthField >= limit)
        return 0;
    VarLenQuantity n;
    int k = n.Decode(lengthField, limit);
    if (k == 0)
        return 0;
    uint64_t total = static_cast<uint64_t>(lengthField - bytes) + static_cast<uint64_t>(k) +
                     static_cast<uint32_t>(n.GetValue());
    if (total > 0xFFFFFFFFu)
        return 0;
    return static_cast<unsigned long>(total);
}

unsigned long MidiEvent::Parse(const unsigned char* bytes, const unsigned char* limit,
                               unsigned char& runningStatus)
{
    VarLenQuantity delta;
    int deltaCount = delta.Decode(bytes, limit);
    if (deltaCount == 0)
        return 0;
    const unsigned char* message = bytes + deltaCount;
    if (message >= limit)
        return 0;

    unsigned char status;
    unsigned long length;                            // of the record
    unsigned long taken;                             // from the file
    const unsigned char* rest;                       // the bytes after the status
    if (message[0] >= 0x80) {
        status = message[0];
        length = GetMessageLength(message, limit);
        if (length == 0)
            return 0;
        taken = length;
        rest = message + 1;
    } else {
        // Running status; a status that does not have a known data length
        // (none yet, system exclusive, meta) is taken as a three-byte message.
        status = runningStatus;
        length = (status >= 0xC0 && status < 0xE0) ? 2 : 3;
        taken = length - 1;
        rest = message;
    }
    if (taken > static_cast<unsigned long>(limit - message) || length > INT_MAX)
        return 0;

    unsigned char* heap = nullptr;
    if (length > static_cast<unsigned long>(kInlineRecordSize)) {
        heap = new (std::nothrow) unsigned char[length];
        if (heap == nullptr)
            return 0;
    }
    FreeRecord();
    unsigned char* record = heap != nullptr ? heap : m_record.bytes;
    if (heap != nullptr)
        m_record.heap = heap;
    record[0] = status;
    std::memcpy(record + 1, rest, length - 1);
    m_length = static_cast<int>(length);
    m_delta = delta;
    runningStatus = status;
    return static_cast<unsigned long>(deltaCount) + taken;
}
