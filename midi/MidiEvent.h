#ifndef MORVEK_MIDI_MIDIEVENT_H
#define MORVEK_MIDI_MIDIEVENT_H

#include <cstdint>

#include "midi/VarLenQuantity.h"

// One event of a track: its delta time, its absolute time and its complete
// MIDI message as raw bytes. The first byte of the record is always a status
// byte; under running status the reader puts the running status in front.
// Owns its record, so it cannot be copied; moving hands the record over.
//
// A record of up to kInlineRecordSize bytes (every channel message) is kept
// inside the event itself, a longer one in a heap buffer of its own. The
// class is final and its accessors are defined here, so that the walks over
// millions of events compile them to plain loads.
//
// A track keeps its events in a compact form of its own and shows each one
// through an event that borrows the record (see MidiTrack::Position).
class MidiEvent final {
public:
    static constexpr int kInlineRecordSize = 8;

// Construction
    MidiEvent() : m_length(0), m_time(0), m_borrowed(nullptr) { m_record.heap = nullptr; }
    virtual ~MidiEvent() { FreeRecord(); }
    MidiEvent(const MidiEvent&) = delete;
    MidiEvent& operator=(const MidiEvent&) = delete;
    // Takes other's record, delta and time; other is left without a record.
    MidiEvent(MidiEvent&& other) noexcept;
    MidiEvent& operator=(MidiEvent&&) = delete;

// Operations
    // Decodes one event (delta time, then message) inside [bytes, limit).
    // runningStatus is the decoding state of the file being read: it supplies
    // the status of a message without one, and a decoded status byte replaces
    // it. Returns the bytes taken; 0 when the delta or the message would run
    // past the limit or the record cannot be allocated, and then the event
    // and the running status are left as they were.
    virtual unsigned long Parse(const unsigned char* bytes, const unsigned char* limit,
                                unsigned char& runningStatus);
    // Length of the message whose status byte is at bytes, that byte included;
    // 0 when the message's length field cannot be read inside the limit or
    // the length does not fit in 32 bits.
    virtual unsigned long GetMessageLength(const unsigned char* bytes,
                                           const unsigned char* limit) const
    {
        if (bytes == nullptr || limit == nullptr || bytes >= limit)
            return 0;
        const unsigned char status = bytes[0];
        if (status < 0xC0 || (status >= 0xE0 && status < 0xF0))
            return 3;
        if (status < 0xE0)
            return 2;
        if (status != 0xF0 && status != 0xF7 && status != 0xFF)
            return 2;
        return GetCarriedLength(bytes, limit);
    }

// Attributes
    virtual int GetLength() const { return m_length; }
    // Null before Parse; lives as long as the event.
    virtual const unsigned char* GetData() const
    {
        if (m_length == 0)
            return nullptr;
        if (m_borrowed != nullptr)
            return m_borrowed;
        return m_length > kInlineRecordSize ? m_record.heap : m_record.bytes;
    }
    virtual int SetDelta(int32_t v) { return m_delta.SetValue(v); }   // the new delta's byte count
    virtual int32_t GetDelta() const { return m_delta.GetValue(); }
    virtual int GetDeltaByteCount() const { return m_delta.GetByteCount(); }
    virtual int32_t SetTime(int32_t t)              // returns the time it replaces
    {
        int32_t old = m_time;
        m_time = t;
        return old;
    }
    virtual int32_t GetTime() const { return m_time; }

private:
    friend class MidiTrack;

    // Shows an event that a track keeps: record is borrowed and lives as
    // long as the track.
    void Show(int32_t delta, int deltaByteCount, int32_t time, int length,
              const unsigned char* record)
    {
        FreeRecord();
        m_delta = VarLenQuantity(delta, deltaByteCount);
        m_time = time;
        m_length = length;
        m_borrowed = record;
    }

    // GetMessageLength of a system exclusive or meta event, whose length
    // field follows the status (and, for a meta event, the type).
    unsigned long GetCarriedLength(const unsigned char* bytes, const unsigned char* limit) const;
    void FreeRecord()
    {
        if (m_length > kInlineRecordSize && m_borrowed == nullptr)
            delete[] m_record.heap;
        m_length = 0;
        m_record.heap = nullptr;
        m_borrowed = nullptr;
    }

    VarLenQuantity m_delta;
    int m_length;
    int32_t m_time;
    union {
        unsigned char* heap;                         // owned, when m_length > kInlineRecordSize
        unsigned char bytes[kInlineRecordSize];      // when 0 < m_length <= kInlineRecordSize
    } m_record;
    const unsigned char* m_borrowed;                 // not owned; the record when set
};

#endif
