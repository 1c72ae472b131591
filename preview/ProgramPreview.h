#ifndef MORVEK_PREVIEW_PROGRAMPREVIEW_H
#define MORVEK_PREVIEW_PROGRAMPREVIEW_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "preview/PreviewTempo.h"
#include "score/ProgramNote.h"
#include "score/ReadStatus.h"

class DiskFile;

// The preview of a program text as a WAV image: the text read back into its
// parts, the parts rendered, the samples put into a WAV file. The one way
// from a program to its sound, for the window's Play and Save and for the
// command line's --wav and --render alike.
//
// How to use:
//   1. ProgramPreview preview; preview.SetTempo(tempo);
//   2. int result = preview.Make(text, size, timeBase, image);
//      Or, for a file, without the whole image in memory:
//      result = preview.Read(text, size, timeBase); then, when it is
//      kPreviewOk, unsigned long code = preview.Save(file, path).
//   3. kPreviewUnreadable: GetStatus says where and why the text could not
//      be read back.
class ProgramPreview {
public:
    enum {
        kPreviewOk = 0,
        kPreviewUnreadable = 1,                      // the text is not a program that can be read back
        kPreviewTooLong = 2,                         // more than a WAV file holds (4 GiB, 13.5 hours)
        kPreviewNoMemory = 3,
        kPreviewBadTimeBase = 4                      // not 1..32767
    };

// Construction
    ProgramPreview();
    virtual ~ProgramPreview();
    ProgramPreview(const ProgramPreview&) = delete;
    ProgramPreview& operator=(const ProgramPreview&) = delete;

// Attributes
    // Returns the tempo it replaces; 120 quarter notes per minute at first.
    virtual PreviewTempo SetTempo(const PreviewTempo& tempo);
    virtual const PreviewTempo& GetTempo() const;
    // Of the last Make that read the text: 1-based line and column, and the
    // reason; a good status after any other result.
    virtual const ReadStatus& GetStatus() const;
    // The samples of the last image made or text read (44,100 a second).
    virtual long long GetSampleCount() const;

// Operations
    // Replaces image with the WAV file of the program in [text, text + size),
    // whose note lengths count timeBase ticks to the quarter note. On failure
    // image is empty.
    virtual int Make(const char* text, size_t size, int timeBase, std::string& image);
    // Reads the program back and checks that its preview can be made, with
    // the results of Make; Save then writes it.
    virtual int Read(const char* text, size_t size, int timeBase);
    // Writes the WAV file of the program last read to path through file, a
    // piece at a time, complete or not at all (SafeFileWriter). Returns 0 or
    // the Windows code of the failure, for file.DescribeError.
    virtual unsigned long Save(DiskFile& file, const char* path);

private:
    enum { kChunkSamples = 1 << 16 };

    PreviewTempo m_tempo;
    std::vector<std::vector<ProgramNote>> m_parts;   // of the last Read that succeeded
    int m_timeBase;
    std::vector<int16_t> m_samples;                  // one chunk of Save
    std::vector<char> m_bytes;
    ReadStatus m_status;
    long long m_sampleCount;
};

#endif
