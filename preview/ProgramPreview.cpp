#include "preview/ProgramPreview.h"

#include <cstdint>
#include <new>
#include <vector>

#include "engine/ProgramReader.h"
#include "preview/PreviewRenderer.h"
#include "preview/WavWriter.h"

ProgramPreview::ProgramPreview() : m_sampleCount(0)
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

const ReadStatus& ProgramPreview::GetStatus() const
{
    return m_status;
}

long long ProgramPreview::GetSampleCount() const
{
    return m_sampleCount;
}

int ProgramPreview::Make(const char* text, size_t size, int timeBase, std::string& image)
{
    image.clear();
    m_status = ReadStatus();
    m_sampleCount = 0;
    if (timeBase < 1 || timeBase > 32767)
        return kPreviewBadTimeBase;

    std::vector<std::vector<ProgramNote>> parts;
    {
        ProgramReader reader;
        if (reader.Read(text, size, timeBase) != ProgramReader::kReadOk) {
            m_status = reader.GetStatus();
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
        m_status = ReadStatus(1, 1, ReadStatus::kOutOfTime);
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
