#include "web/WebSession.h"

#include <new>
#include <utility>

#include "engine/ConversionReport.h"
#include "midi/MidiFile.h"
#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"
#include "preview/TempoFinder.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "text/TextTable.h"

WebSession::WebSession()
    : m_file(nullptr),
      m_set(nullptr),
      m_lineLimit(ConversionReport::kDefaultLineLimit),
      m_reportLanguage(TextTable::kEnglish),
      m_assignment(kPartRowCount, Converter::kUnassigned),
      m_previewLine(0),
      m_previewColumn(0)
{
}

WebSession::~WebSession()
{
    Close();
}

void WebSession::Close()
{
    m_converter.FreeNoteListSet(m_set);
    m_set = nullptr;
    m_conversion.Clear();
    m_converter.FreeMidiFile(m_file);
    m_file = nullptr;
    m_assignment.assign(kPartRowCount, Converter::kUnassigned);
    m_status.Clear();
    for (std::string& text : m_texts)
        std::string().swap(text);
}

int WebSession::Open(const unsigned char* image, unsigned long size)
{
    Close();
    int read = MIDIFILE_INVALID;
    m_file = m_converter.LoadMidiFile(image, size, m_reading, &read);
    if (m_file == nullptr)
        return read == MIDIFILE_TOO_LONG ? kOpenTooLong : kOpenNotMidi;
    switch (m_converter.CheckFile(*m_file)) {
    case Converter::kConvertOk:
        break;
    case Converter::kConvertBadFormat:
        return kOpenBadFormat;
    default:
        return kOpenBadTimeBase;
    }
    m_settings.SetSplitStepCountForTimeBase(m_file->GetTimeBase());
    RebuildLists();
    if (m_set == nullptr) {
        Close();
        return kOpenNoMemory;
    }
    return kOpenOk;
}

void WebSession::RebuildLists()
{
    m_converter.FreeNoteListSet(m_set);
    m_conversion.Clear();
    m_set = m_file != nullptr ? m_converter.BuildNoteListSet(m_file, m_settings) : nullptr;
    // The ordinals change with the voices: the parts start over.
    m_assignment.assign(kPartRowCount, Converter::kUnassigned);
}

int WebSession::Convert()
{
    std::string().swap(m_texts[kProgramText]);
    if (!IsOpen())
        return kNoFile;
    ConversionResult result = m_converter.Convert(*m_file, m_settings, m_assignment);
    m_status = result.GetStatus();
    if (!result.IsOk())
        return m_status.GetResult();
    m_texts[kProgramText] = result.TakeText();
    m_converter.FreeNoteListSet(m_set);
    m_set = nullptr;
    m_conversion = std::move(result);
    return Converter::kConvertOk;
}

const NoteListSet* WebSession::GetLists() const
{
    return m_set != nullptr ? m_set : m_conversion.GetLists();
}

int WebSession::MakeReport(const std::string& text)
{
    std::string().swap(m_texts[kReportText]);
    if (!IsOpen())
        return kNoFile;
    ConversionReport report;
    report.SetLineLimit(m_lineLimit);
    const int result = report.Compute(*m_file, m_conversion, text);
    if (result != ConversionReport::kReportOk)
        return result;
    try {
        m_texts[kReportText] = report.Format(TextTable(m_reportLanguage));
    } catch (const std::bad_alloc&) {
        return ConversionReport::kReportNoMemory;
    }
    return result;
}

int WebSession::MakePreview(const std::string& text, const std::string& tempo)
{
    std::string().swap(m_texts[kPreviewImage]);
    m_texts[kPreviewError].clear();
    m_previewLine = m_previewColumn = 0;
    if (!IsOpen())
        return kNoFile;
    PreviewTempo chosen;
    if (tempo.empty())
        chosen.SetMicrosecondsPerQuarter(TempoFinder().GetFirstTempo(*m_file));
    else if (!chosen.SetBeatsPerMinuteText(tempo))
        return kBadTempo;
    ProgramPreview preview;
    preview.SetTempo(chosen);
    const int result =
        preview.Make(text.data(), text.size(), m_file->GetTimeBase(), m_texts[kPreviewImage]);
    const ReadStatus& status = preview.GetStatus();
    m_previewLine = status.GetLine();
    m_previewColumn = status.GetColumn();
    m_texts[kPreviewError] = status.DescribeReason(TextTable(m_reportLanguage));
    return result;
}

int WebSession::SetSetting(int setting, int value)
{
    switch (setting) {
    case kPartCount:
        return m_settings.SetPartCount(value);
    case kMinimumResolution:
        return m_settings.SetMinimumResolution(value);
    case kSplitStepCount:
        return m_settings.SetSplitStepCount(value);
    case kFirstLineNumber:
        return m_settings.SetFirstLineNumber(value);
    case kPlayKind:
        return m_settings.SetPlayKind(value);
    case kVoiceCount: {
        const int previous = m_settings.SetVoiceCount(value);
        if (value != previous && IsOpen())
            RebuildLists();
        return previous;
    }
    case kReportLineLimit: {
        const int previous = m_lineLimit;
        m_lineLimit = value;
        return previous;
    }
    case kLenient:
        return m_reading.SetLenient(value != 0) ? 1 : 0;
    case kFitLines:
        return m_settings.SetLineLimit(value);
    case kReportLanguage: {
        const int previous = m_reportLanguage;
        m_reportLanguage = value == TextTable::kJapanese ? TextTable::kJapanese : TextTable::kEnglish;
        return previous;
    }
    default:
        return kNoFact;
    }
}

int WebSession::GetSetting(int setting) const
{
    switch (setting) {
    case kPartCount:
        return m_settings.GetPartCount();
    case kMinimumResolution:
        return m_settings.GetMinimumResolution();
    case kSplitStepCount:
        return m_settings.GetSplitStepCount();
    case kFirstLineNumber:
        return m_settings.GetFirstLineNumber();
    case kPlayKind:
        return m_settings.GetPlayKind();
    case kVoiceCount:
        return m_settings.GetVoiceCount();
    case kReportLineLimit:
        return m_lineLimit;
    case kLenient:
        return m_reading.IsLenient() ? 1 : 0;
    case kFitLines:
        return m_settings.GetLineLimit();
    case kReportLanguage:
        return m_reportLanguage;
    default:
        return kNoFact;
    }
}

int WebSession::SetAssignment(int row, int ordinal)
{
    if (row < 0 || row >= kPartRowCount)
        return kNoFact;
    const int previous = m_assignment[static_cast<size_t>(row)];
    m_assignment[static_cast<size_t>(row)] = ordinal;
    return previous;
}

int WebSession::GetAssignment(int row) const
{
    if (row < 0 || row >= kPartRowCount)
        return kNoFact;
    return m_assignment[static_cast<size_t>(row)];
}

bool WebSession::IsOpen() const
{
    return GetLists() != nullptr;
}

long WebSession::GetFileFact(int fact) const
{
    if (m_file == nullptr)
        return kNoFact;
    switch (fact) {
    case kFormat:
        return m_file->GetFormat();
    case kTimeBase:
        return m_file->GetTimeBase();
    case kUsedChannels:
        return GetLists() != nullptr ? GetLists()->GetChannelCount() : 0;
    case kListCount:
        return GetLists() != nullptr ? GetLists()->GetCount() : 0;
    case kFirstTempo:
        return TempoFinder().GetFirstTempo(*m_file);
    case kRetimedFrom:
        return m_file->GetReadLog().timeBaseFrom;
    default:
        return kNoFact;
    }
}

long WebSession::GetListFact(int ordinal, int fact) const
{
    const NoteList* list = GetLists() != nullptr ? GetLists()->GetList(ordinal) : nullptr;
    if (list == nullptr)
        return kNoFact;
    switch (fact) {
    case kListTrack:
        return list->GetTrackIndex();
    case kListChannel:
        return list->GetChannel();
    case kListVoice:
        return list->GetVoice();
    case kListTicks:
        return list->GetTotalTicks();
    default:
        return kNoFact;
    }
}

const ConvertStatus& WebSession::GetStatus() const
{
    return m_status;
}

const std::string& WebSession::GetText(int text) const
{
    static const std::string kNone;
    return text >= 0 && text < kTextCount ? m_texts[text] : kNone;
}

int WebSession::GetPreviewErrorLine() const
{
    return m_previewLine;
}

int WebSession::GetPreviewErrorColumn() const
{
    return m_previewColumn;
}
