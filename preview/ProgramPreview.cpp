#include "preview/ProgramPreview.h"

#include <cstdint>
#include <new>
#include <vector>

#include "base/SafeFileWriter.h"
#include "engine/ProgramReader.h"
#include "preview/PreviewRenderer.h"
#include "preview/WavWriter.h"

ProgramPreview::ProgramPreview() : m_timeBase(480), m_sampleCount(0)
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

int ProgramPreview::Read(const char* text, size_t size, int timeBase)
{
    m_parts.clear();
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
            m_samples.resize(kChunkSamples);
            m_bytes.resize(2 * kChunkSamples);
        } catch (const std::bad_alloc&) {
            return kPreviewNoMemory;
        }
    }

    PreviewRenderer renderer;
    renderer.SetTempo(m_tempo);
    switch (renderer.Begin(parts, timeBase)) {
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
    if (WavWriter().GetFileSize(static_cast<unsigned long long>(renderer.GetSampleCount())) == 0)
        return kPreviewTooLong;
    m_parts.swap(parts);
    m_timeBase = timeBase;
    m_sampleCount = renderer.GetSampleCount();
    return kPreviewOk;
}

int ProgramPreview::Make(const char* text, size_t size, int timeBase, std::string& image)
{
    image.clear();
    int result = Read(text, size, timeBase);
    if (result != kPreviewOk)
        return result;
    std::vector<int16_t> samples;
    PreviewRenderer renderer;
    renderer.SetTempo(m_tempo);
    result = renderer.Render(m_parts, timeBase, samples) == PreviewRenderer::kRenderOk ? kPreviewOk : kPreviewNoMemory;
    if (result == kPreviewOk) {
        switch (WavWriter().Write(samples.data(), samples.size(), image)) {
        case WavWriter::kWavOk:
            break;
        case WavWriter::kWavTooLarge:
            result = kPreviewTooLong;
            break;
        default:
            result = kPreviewNoMemory;
            break;
        }
    }
    if (result != kPreviewOk)
        m_sampleCount = 0;
    return result;
}

unsigned long ProgramPreview::Save(DiskFile& file, const char* path)
{
    PreviewRenderer renderer;
    renderer.SetTempo(m_tempo);
    char header[WavWriter::kHeaderSize];
    const WavWriter wav;
    // Read has made the chunks' room and checked what is checked here again.
    if (m_samples.size() < kChunkSamples || m_bytes.size() < 2 * kChunkSamples ||
        renderer.Begin(m_parts, m_timeBase) != PreviewRenderer::kRenderOk ||
        wav.WriteHeader(static_cast<unsigned long long>(renderer.GetSampleCount()), header) !=
            WavWriter::kWavOk)
        return SafeFileWriter::kErrorWriteFault;
    SafeFileWriter writer;
    unsigned long code = writer.Open(file, path);
    if (code == 0)
        code = writer.Append(header, sizeof header);
    while (code == 0) {
        const size_t count = renderer.RenderNext(m_samples.data(), kChunkSamples);
        if (count == 0)
            break;
        wav.PutSamples(m_samples.data(), count, m_bytes.data());
        code = writer.Append(m_bytes.data(), 2 * count);
    }
    if (code == 0)
        code = writer.Commit();
    return code;
}
