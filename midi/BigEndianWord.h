#ifndef MORVEK_MIDI_BIGENDIANWORD_H
#define MORVEK_MIDI_BIGENDIANWORD_H

// One unsigned 16-bit value of a chunk header, stored most significant byte first.
class BigEndianWord {
public:
// Construction
    BigEndianWord();
    virtual ~BigEndianWord();

// Operations
    // raw: the two bytes as they lie in the file, read as a little-endian number.
    virtual unsigned short SetFromFile(unsigned short raw);
    virtual unsigned short Set(unsigned short value);
    virtual unsigned short GetForFile() const;
    virtual unsigned short Get() const;
    virtual unsigned short Swap(unsigned short v) const;

    // Reads the two bytes at bytes[0..1]; the caller makes sure they exist.
    static unsigned short ReadRaw(const unsigned char* bytes);

private:
    unsigned short m_value;
};

#endif
