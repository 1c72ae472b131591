#ifndef MORVEK_TEXT_CODEPAGE_H
#define MORVEK_TEXT_CODEPAGE_H

// Which bytes of an ANSI code page start a double-byte character, and the
// cuts that follow from it. In code page 932 the lead bytes are 0x81-0x9F
// and 0xE0-0xFC, and the trail byte may be anything from 0x40 up, so a
// backslash (0x5C) or a full stop can be the second half of a character:
// every search and every cut steps over whole characters.
//
// A lead byte followed by the terminator counts as one character of one
// byte, as the system's CharNextA counts it.
class CodePage {
public:
    static const int kJapanese = 932;

// Construction
    CodePage();                                       // single-byte: no lead bytes
    virtual ~CodePage();

    static CodePage Japanese();                       // code page 932
    // The code page the program's texts and file names come in: on Windows
    // the ANSI code page's lead bytes; elsewhere none (UTF-8 names never
    // hold an ASCII byte inside a character, so bytes may be stepped singly).
    static CodePage FromSystem();

// Attributes
    virtual bool IsLeadByte(unsigned char byte) const;

// Operations
    // Marks first..last as lead bytes.
    virtual void AddLeadBytes(unsigned char first, unsigned char last);
    // The start of the character after the one at p; p itself at the terminator.
    virtual const char* Next(const char* p) const;
    // Bytes of the longest start of text that holds whole characters and fits
    // a buffer of size bytes with its terminator (at most size - 1); 0 for a
    // null text or size < 1.
    virtual int Fit(const char* text, int size) const;
    // Copies as much of text as Fit allows and terminates it; returns the
    // length copied. Does nothing for a null buffer or size < 1.
    virtual int Copy(char* buffer, int size, const char* text) const;

private:
    bool m_lead[256];
};

#endif
