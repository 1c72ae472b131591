#ifndef MIDI_MIDIEVENT_H
#define MIDI_MIDIEVENT_H

#include <cstdint>

#include "midi/VarLenQuantity.h"

// One event of a track: its delta time, its absolute time and its complete
// MIDI message as raw bytes. The first byte of the record is always a status
// byte; under running status the reader puts the running status in front.
// Owns its record, so it cannot be copied.
class MidiEvent {
public:
// Construction
    MidiEvent();
    virtual ~MidiEvent();
    MidiEvent(const MidiEvent&) = delete;
    MidiEvent& operator=(const MidiEvent&) = delete;

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
                                           const unsigned char* limit) const;

// Attributes
    virtual int GetLength() const;
    virtual const unsigned char* GetData() const;    // null before Parse; lives as long as the event
    virtual int SetDelta(int32_t v);                 // returns the new delta's byte count
    virtual int32_t GetDelta() const;
    virtual int GetDeltaByteCount() const;
    virtual int32_t SetTime(int32_t t);              // returns the time it replaces
    virtual int32_t GetTime() const;

private:
    VarLenQuantity m_delta;
    int m_length;
    unsigned char* m_record;                         // owned, m_length bytes
    int32_t m_time;
};

#endif
