// Fuzz target: a file image through the whole conversion, as the window and
// midi2morvek run it: LoadMidiFile, BuildNoteListSet, then Convert (the three
// passes and the BASIC builders), with the settings, the voice count among
// them, taken from the first bytes, read strictly or leniently as a bit of
// them says.
// Besides the sanitizers' checks it asserts what every finished program must
// look like, that the report's self-check passes on it, and that a refusal
// gives neither text nor lists.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/ConversionReport.h"
#include "engine/ConversionResult.h"
#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "settings/PlayKindTable.h"
#include "fuzz/ConversionInput.h"
#include "midi/MidiFile.h"
#include "midi/MidiReadOptions.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"

namespace {

// Segments one fuzzed conversion may cut; a few milliseconds' work.
const long long kSegmentBudget = 20000;
// Counted before quantization, each list may be one segment off.
const long long kListsOffByOne = 65536LL * 16;

void Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "convert_fuzzer: %s\n", what);
    std::abort();
}

// Lists as built alternate rest and note from tick 0: no length is
// negative, so neither is a list's total (the channel list's Step).
void CheckLists(NoteListSet& set)
{
    for (int i = 0; i < set.GetCount(); ++i) {
        NoteList* list = set.GetList(i);
        Require(list != nullptr && list->GetOrdinal() == i, "a list missing or out of order");
        for (NoteList::Position p = list->Begin(); p != list->End(); ++p)
            Require(p->GetLength() >= 0, "a record of negative length");
        Require(list->GetTotalTicks() >= 0, "a list of negative length");
    }
}

// Strict reading adapts nothing; a re-timed file is at 480 as if written so.
void CheckReading(const MidiFile& file, bool lenient)
{
    const MidiReadLog& log = file.GetReadLog();
    Require(lenient || !log.IsAdapted(), "strict reading adapted the file");
    Require(!log.IsRetimed() || (file.GetTimeBase() == 480 && log.timeBaseFrom != 480),
            "a re-timed file not at time base 480");
    Require(log.missingTracks == 0 || log.declaredTracks == file.GetTrackCount() + log.missingTracks,
            "missing tracks miscounted");
    Require(log.cutTrack == MidiReadLog::kNoTrack || log.cutTrack == file.GetTrackCount() - 1,
            "a track other than the last ended early");
}

// Every line ends in CR LF; ten header lines, then PLAY lines numbered on
// in steps of 10, each with one quoted MML string per part.
void CheckProgram(const std::string& text, const ConvertSettings& settings)
{
    Require(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0,
            "the program does not end with CR LF");
    const char* keyword = PlayKindTable().GetKeyword(settings.GetPlayKind());
    const std::string lead = std::string(keyword) + " ";
    long long expected = settings.GetFirstLineNumber();
    int index = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        Require(end != std::string::npos, "a line without CR LF");
        const std::string line = text.substr(start, end - start);
        Require(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos,
                "a stray line break inside a line");
        char number[32];
        std::snprintf(number, sizeof number, "%4lld ", expected);
        Require(line.compare(0, std::strlen(number), number) == 0, "a line number out of step");
        if (index >= Converter::kHeaderLineCount) {
            const std::string body = line.substr(std::strlen(number));
            Require(body.compare(0, lead.size(), lead) == 0, "a PLAY line without its keyword");
            const std::string strings = body.substr(lead.size());
            size_t quotes = 0;
            for (char c : strings) {
                if (c == '"') {
                    ++quotes;
                    continue;
                }
                if (c == ',' && quotes % 2 == 0)
                    continue;
                Require(quotes % 2 == 1, "text between the quoted strings");
                Require(std::strchr("cdefgabr+.&<>ol0123456789", c) != nullptr,
                        "a character that is not MML");
            }
            Require(quotes == 2 * static_cast<size_t>(settings.GetPartCount()),
                    "a PLAY line without one string per part");
        }
        expected += Converter::kLineStep;
        ++index;
        start = end + 2;
    }
    Require(index >= Converter::kHeaderLineCount, "fewer than ten header lines");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ConversionInput input;
    if (!input.Read(data, size))
        return 0;
    // A copy of exactly the image, freed before the conversion: a file that
    // kept a pointer into its image would be caught using freed memory.
    std::vector<unsigned char>* image =
        new std::vector<unsigned char>(input.GetImage(), input.GetImage() + input.GetImageSize());
    Converter converter;
    MidiReadOptions reading;
    reading.SetLenient(input.IsLenient());
    MidiFile* file = converter.LoadMidiFile(image->empty() ? nullptr : image->data(),
                                            static_cast<unsigned long>(image->size()), reading,
                                            nullptr);
    delete image;
    if (file == nullptr)
        return 0;
    CheckReading(*file, input.IsLenient());
    ConvertSettings settings;
    input.FillSettings(settings);
    NoteListSet* set = converter.BuildNoteListSet(file, settings);
    Require(set != nullptr, "no note lists for a loaded file");
    Require(converter.CountLists(*file, settings) == set->GetCount(),
            "lists counted and built differ");
    CheckLists(*set);

    const std::vector<int> assignment = input.MakeAssignment(converter.GetListCount(*set));
    // Many segments are right but slow under the sanitizers (LongMusicTest
    // converts them); music beyond the converter's limit is refused before
    // any segment is cut, so it stays in. Only the lists the parts play are
    // cut.
    const long long segments = converter.CountPlayedSegments(
        *set, converter.GetSegmentTicks(settings.GetSplitStepCount(), file->GetTimeBase()),
        assignment, settings.GetPartCount());
    if (segments > kSegmentBudget && segments <= Converter::kMaxSegmentTotal + kListsOffByOne) {
        converter.FreeNoteListSet(set);
        converter.FreeMidiFile(file);
        return 0;
    }
    const ConversionResult result = converter.Convert(*file, settings, assignment);
    const std::string& text = result.GetText();
    if (!result.IsOk()) {
        Require(text.empty() && result.GetLists() == nullptr && result.GetListCounts().empty(),
                "a refused conversion gave results");
    } else {
        CheckProgram(text, settings);
        // The program read back holds exactly the quantized lists.
        ConversionReport report;
        Require(report.Compute(*file, result, text) == ConversionReport::kReportOk,
                "no report of a converted program");
        if (!report.IsSelfCheckPassed())
            std::fprintf(stderr, "convert_fuzzer: %s\n", report.GetSelfCheckFault().c_str());
        Require(report.IsSelfCheckPassed(), "the report's self-check failed");
        // The lists are made from the file each time: the same text again.
        Require(converter.Convert(*file, settings, assignment).GetText() == text,
                "a second conversion gave another text");
        // Where the assignment is "part r plays list r", ConvertInOrder
        // finds it by itself and writes the same program.
        const int lists = converter.GetListCount(*set);
        const int parts = settings.GetPartCount();
        bool inOrder = static_cast<int>(assignment.size()) == parts;
        for (int r = 0; inOrder && r < parts; ++r)
            inOrder = assignment[static_cast<size_t>(r)] == (r < lists ? r : Converter::kUnassigned);
        if (inOrder) {
            const ConversionResult found = converter.ConvertInOrder(*file, settings);
            Require(found.IsOk() &&
                        static_cast<int>(found.GetAssignment().size()) == std::min(parts, lists) &&
                        found.GetText() == text,
                    "ConvertInOrder gave another program");
        }
    }
    converter.FreeNoteListSet(set);
    converter.FreeMidiFile(file);
    return 0;
}
