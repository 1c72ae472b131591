#include "cli/PreviewOutput.h"

#include <memory>

#include "base/DiskFile.h"
#include "cli/ConsoleTexts.h"
#include "cli/OutputFile.h"
#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"

PreviewOutput::PreviewOutput()
{
}

PreviewOutput::~PreviewOutput()
{
}

DiskFile* PreviewOutput::CreateDiskFile()
{
    return new DiskFile;
}

bool PreviewOutput::Fail(const std::string& file, const std::string& reason)
{
    m_failedFile = file;
    m_reason = reason;
    return false;
}

bool PreviewOutput::Write(const std::string& wavPath, const std::string& text,
                          const std::string& textName, int timeBase, const PreviewTempo& tempo)
{
    m_failedFile.clear();
    m_reason.clear();
    ProgramPreview preview;
    preview.SetTempo(tempo);
    {
        switch (preview.Read(text.data(), text.size(), timeBase)) {
        case ProgramPreview::kPreviewOk:
            break;
        case ProgramPreview::kPreviewUnreadable:
            return Fail(textName, ConsoleTexts().DescribeUnreadable(preview.GetStatus()));
        case ProgramPreview::kPreviewTooLong:
            return Fail(wavPath, "the preview at " + tempo.GetBeatsPerMinuteText() +
                                     " quarter notes per minute would last longer than a WAV "
                                     "file can hold (4 GiB, about 13.5 hours)");
        case ProgramPreview::kPreviewNoMemory:
            return Fail(wavPath, "not enough memory to make the preview");
        default:
            return Fail(wavPath, "time base " + std::to_string(timeBase) + " cannot be previewed");
        }
    }
    if (wavPath.empty())
        return Fail(wavPath, "no file name");
    std::unique_ptr<DiskFile> file(CreateDiskFile());
    const unsigned long code = preview.Save(*file, wavPath.c_str());
    if (code != 0)
        return Fail(wavPath, OutputFile().Describe(*file, code));
    return true;
}

const std::string& PreviewOutput::GetFailedFile() const
{
    return m_failedFile;
}

const std::string& PreviewOutput::GetReason() const
{
    return m_reason;
}
