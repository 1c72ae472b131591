#include "preview/ProgramPreview.h"

#include <cstdint>
#include <new>
#include <vector>

#include "engine/ProgramReader.h"
#include "preview/PreviewRenderer.h"
#include "preview/WavWriter.h"

ProgramPreview::ProgramPreview() : m_errorLine(0), m_errorColumn(0), m_sampleCount(0)
{
}

ProgramPreview::~ProgramPreview()
{
}

PreviewTempo ProgramPreview::SetTempo(const PreviewTempo& tempo)
{
    PreviewTempo previous = m_tempo;
    m_tempo = tempo;
    return previous;
}

const PreviewTempo& ProgramPreview::GetTempo() const
{
    return m_tempo;
}

int ProgramPreview::GetErrorLine() const
{
    return m_errorLine;
}

int ProgramPreview::GetErrorColumn() const
{
    return m_errorColumn;
}

const std::string& ProgramPreview::GetErrorText() const
{
    return m_errorText;
}

long long ProgramPreview::GetSampleCount() const
{
    return m_sampleCount;
}

int ProgramPreview::Make(const char* text, size_t size, int timeBase, std::string& image)
{
    image.clear();
    m_errorLine = 0;
    m_errorColumn = 0;
    m_errorText.clear();
    m_sampleCount = 0;
    if (timeBase < 1 || timeBase > 32767)
        return kPreviewBadTimeBase;

    std::vector<std::vector<ProgramNote>> parts;
    {
        ProgramReader reader;
        if (reader.Read(text, size, timeBase) != ProgramReader::kReadOk) {
            m_errorLine = reader.GetErrorLine();
            m_errorColumn = reader.GetErrorColumn();
            m_errorText = reader.GetErrorText();
            return kPreviewUnreadable;
        }
        try {
            for (int part = 0; part < reader.GetPartCount(); ++part)
                parts.push_back(reader.GetPart(part));
        } catch (const std::bad_alloc&) {
            return kPreviewNoMemory;
        }
    }

    std::vector<int16_t> samples;
    PreviewRenderer renderer;
    renderer.SetTempo(m_tempo);
    switch (renderer.Render(parts, timeBase, samples)) {
    case PreviewRenderer::kRenderOk:
        break;
    case PreviewRenderer::kRenderTooLong:
        return kPreviewTooLong;
    case PreviewRenderer::kRenderNoMemory:
        return kPreviewNoMemory;
    case PreviewRenderer::kRenderBadTimeBase:
        return kPreviewBadTimeBase;
    default:
        // The reader gives parts in time order with keys in range; anything
        // else is a text it should have refused.
        m_errorLine = 1;
        m_errorColumn = 1;
        m_errorText = "the parts read back do not follow one another in time";
        return kPreviewUnreadable;
    }
    parts.clear();

    switch (WavWriter().Write(samples.data(), samples.size(), image)) {
    case WavWriter::kWavOk:
        m_sampleCount = static_cast<long long>(samples.size());
        return kPreviewOk;
    case WavWriter::kWavTooLarge:
        return kPreviewTooLong;
    default:
        return kPreviewNoMemory;
    }
}
