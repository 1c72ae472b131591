#ifndef MORVEK_UI_MIDIFILEINFO_H
#define MORVEK_UI_MIDIFILEINFO_H

// What the "MIDI File Information" group shows about the loaded file: its
// name without the folder, format, time base and the number of track and
// channel pairs that carry channel messages.
class MidiFileInfo {
public:
    enum {
        kNameSize = 256,          // name buffer, terminator included
        kDefaultTimeBase = 480
    };

// Construction
    MidiFileInfo();
    virtual ~MidiFileInfo();

// Operations
    // Empty name, format 0, time base 480 not re-timed, no channels.
    virtual void Reset();

// Attributes
    // Keeps at most kNameSize - 1 bytes of name, never cutting a double-byte
    // character in two; returns the length kept.
    virtual int SetName(const char* name);
    virtual const char* GetName() const;
    virtual int SetFormat(int format);
    virtual int GetFormat() const;
    virtual int SetTimeBase(int timeBase);
    virtual int GetTimeBase() const;
    // The file's own time base when it was opened leniently and re-timed
    // to GetTimeBase; 0 otherwise.
    virtual int SetRetimedFrom(int timeBase);
    virtual int GetRetimedFrom() const;
    virtual int SetUsedChannelCount(int count);
    virtual int GetUsedChannelCount() const;

private:
    char m_name[kNameSize];
    int m_format;
    int m_timeBase;
    int m_retimedFrom;
    int m_usedChannelCount;
};

#endif
