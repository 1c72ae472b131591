#ifndef MORVEK_FUZZ_CONVERSIONINPUT_H
#define MORVEK_FUZZ_CONVERSIONINPUT_H

#include <cstddef>
#include <cstdint>
#include <vector>

class ConvertSettings;

// The bytes the conversion fuzzer reads: a short prefix that chooses the
// settings and the part assignment, then the file image. Every prefix value
// reaches a little past its valid range, so the refusals are fuzzed too.
//
//   0      part count           value % 20          (0 and 19 are refused)
//   1      minimum resolution   low 7 bits % 19     (18 lies outside the table)
//          lenient reading      bit 7
//   2..3   split step count     big-endian % 2048   (0 and 1921.. are refused)
//   4..5   first line number    big-endian % 33000  (0 and 32001.. are refused)
//   6      PLAY kind            value % 4           (3 lies outside the table)
//          voice count          (1 + value / 4) % 19 (1 for every prefix below 4,
//                               0 is refused)
//   7      assignment           bit r % 7 assigns part r; with bit 7 set the
//                               ordinals run one past the last list
//   8..    the file image
class ConversionInput {
public:
    enum { kPrefixSize = 8 };

// Construction
    ConversionInput();
    virtual ~ConversionInput();

// Operations
    // Takes the prefix and borrows the image (it must outlive this object).
    // False when the input is shorter than the prefix.
    virtual bool Read(const uint8_t* data, size_t size);
    virtual void FillSettings(ConvertSettings& settings) const;
    // One entry per part: a list ordinal or -1 (unassigned).
    virtual std::vector<int> MakeAssignment(int listCount) const;
    // The prefix that Read turns into exactly these values (each taken
    // modulo its range above); pattern is byte 7.
    virtual std::vector<uint8_t> MakePrefix(int partCount, int resolution, int splitStepCount,
                                            int firstLineNumber, int playKind,
                                            int pattern, bool lenient = false) const;

// Attributes
    virtual const uint8_t* GetImage() const;
    virtual size_t GetImageSize() const;
    virtual int GetPartCount() const;
    virtual bool IsLenient() const;

private:
    int m_partCount;
    int m_resolution;
    int m_splitStepCount;
    int m_firstLineNumber;
    int m_playKind;
    int m_voiceCount;
    int m_pattern;
    bool m_lenient;
    const uint8_t* m_image;                           // borrowed
    size_t m_imageSize;
};

#endif
