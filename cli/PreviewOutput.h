#ifndef MORVEK_CLI_PREVIEWOUTPUT_H
#define MORVEK_CLI_PREVIEWOUTPUT_H

#include <string>

class DiskFile;
class PreviewTempo;

// Writes the preview of a program text to a WAV file, whole or not at all
// (SafeFileWriter, a piece at a time so that a long preview is never held
// whole), for --wav after a conversion and for --render. On
// failure it names the file at fault, the text or the WAV file, and why.
class PreviewOutput {
public:
    // The usage text of --tempo, for the help and its refusal.
    static constexpr const char* kTempoRange =
        "quarter notes per minute, 1 to 1000 with up to three decimals";

// Construction
    PreviewOutput();
    virtual ~PreviewOutput();
    PreviewOutput(const PreviewOutput&) = delete;
    PreviewOutput& operator=(const PreviewOutput&) = delete;

// Operations
    // Makes the preview of text (note lengths in timeBase ticks to the
    // quarter note) at tempo and writes it to wavPath. textName names the
    // text when it cannot be read back. True on success.
    virtual bool Write(const std::string& wavPath, const std::string& text,
                       const std::string& textName, int timeBase, const PreviewTempo& tempo);

// Attributes
    // After a failed Write: the file to name in the message, and why.
    virtual const std::string& GetFailedFile() const;
    virtual const std::string& GetReason() const;

protected:
    // The file access of one Write; the caller deletes it.
    virtual DiskFile* CreateDiskFile();

private:
    bool Fail(const std::string& file, const std::string& reason);

    std::string m_failedFile;
    std::string m_reason;
};

#endif
