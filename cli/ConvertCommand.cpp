#include "cli/ConvertCommand.h"

#include <algorithm>
#include <cctype>
#include <ostream>

#include "cli/ConsoleTexts.h"
#include "cli/OptionParser.h"
#include "cli/OutputFile.h"
#include "cli/PreviewOutput.h"
#include "engine/ConversionReport.h"
#include "settings/ConvertSettings.h"
#include "engine/ConvertStatus.h"
#include "engine/Converter.h"
#include "settings/NoteValueTable.h"
#include "text/NumberText.h"
#include "settings/PlayKindTable.h"
#include "settings/SettingsCheck.h"
#include "base/FileImage.h"
#include "midi/MidiFile.h"
#include "preview/PreviewTempo.h"
#include "preview/TempoFinder.h"

namespace {

// Frees what the converter made, whichever way Run leaves.
class ConversionObjects {
public:
    explicit ConversionObjects(Converter& converter) : m_converter(converter) {}
    virtual ~ConversionObjects()
    {
        m_converter.FreeMidiFile(file);
    }
    ConversionObjects(const ConversionObjects&) = delete;
    ConversionObjects& operator=(const ConversionObjects&) = delete;

    MidiFile* file = nullptr;

private:
    Converter& m_converter;
};

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Upper(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// Every note value's MML length text, whole note first: "1 2. 2 ... 192".
std::string ResolutionTexts()
{
    NoteValueTable values;
    std::string texts;
    for (int i = 0; i < values.GetCount(); ++i)
        texts += std::string(i > 0 ? " " : "") + values.GetLengthText(i);
    return texts;
}

// How a refusal reaches the user: a file failure ("FILE: reason", exit 1),
// a usage error ("reason (see --help)", exit 2) or a setting ("reason", exit 1).
enum RefusalKind { kFileRefusal, kUsageRefusal, kSettingRefusal };

struct Refusal {
    int result;                                      // a Converter::ConvertResult
    RefusalKind kind;
    std::string (*describe)(const ConvertStatus& status, const std::string& path);
};

std::string Number(long long value)
{
    return std::to_string(value);
}

// The one table from the converter's results to the tool's messages.
const Refusal kRefusals[] = {
    {Converter::kConvertBadFormat, kFileRefusal,
     [](const ConvertStatus& s, const std::string&) {
         return "format " + Number(s.GetValue()) + " is not supported: only formats 0 and 1 are";
     }},
    {Converter::kConvertBadTimeBase, kFileRefusal,
     [](const ConvertStatus& s, const std::string&) {
         return "time base " + Number(s.GetValue()) +
                " is not supported: only 48, 96, 240 and 480 are";
     }},
    {Converter::kConvertBadSettings, kSettingRefusal,
     [](const ConvertStatus& s, const std::string&) {
         return SettingsCheck().GetEnglishTextFor(s.GetSetting(), static_cast<int>(s.GetValue()));
     }},
    {Converter::kConvertBadAssignment, kUsageRefusal,
     [](const ConvertStatus& s, const std::string& path) {
         const int lists = s.GetListCount();
         return "list " + Number(s.GetValue()) + " does not exist: " + path + " has " +
                Number(lists) + " lists" +
                (lists > 0 ? " (0 to " + Number(lists - 1) + ")" : std::string());
     }},
    {Converter::kConvertNoMemory, kFileRefusal,
     [](const ConvertStatus&, const std::string&) {
         return std::string("not enough memory to convert it");
     }},
    {Converter::kConvertTooLarge, kFileRefusal,
     [](const ConvertStatus& s, const std::string&) {
         return "the music is too long for split step count " + Number(s.GetValue()) + ": about " +
                Number(s.GetSegmentCount()) + " segments, more than the " +
                Number(Converter::kMaxSegmentTotal) +
                " a conversion may cut; choose a larger --split";
     }},
};

// The division of a file that lenient reading could not re-time: SMPTE
// frames (a negative frame rate in the high byte, ticks per frame in the
// low one) or 0.
std::string DescribeUntimedDivision(long long division)
{
    if (division < 0x8000)
        return "time base " + Number(division) + " is not supported: a file's time base must be "
               "1 or more ticks per quarter note";
    const int frames = 256 - static_cast<int>((division >> 8) & 0xFF);
    return "SMPTE time division (" + Number(frames) + " frames per second, " +
           Number(division & 0xFF) + " ticks per frame) is not supported, also with --lenient: "
           "only ticks per quarter note can be re-timed";
}

// Any other refusal (a choice the command line cannot make).
const Refusal kOtherRefusal = {0, kFileRefusal, [](const ConvertStatus&, const std::string&) {
                                   return std::string("the conversion was refused");
                               }};

}  // namespace

ConvertCommand::ConvertCommand() : m_largestUnforcedProgram(kLargestUnforcedProgram)
{
}

ConvertCommand::~ConvertCommand()
{
}

size_t ConvertCommand::SetLargestUnforcedProgram(size_t bytes)
{
    size_t previous = m_largestUnforcedProgram;
    m_largestUnforcedProgram = bytes;
    return previous;
}

size_t ConvertCommand::GetLargestUnforcedProgram() const
{
    return m_largestUnforcedProgram;
}

const char* ConvertCommand::GetOption() const
{
    return nullptr;
}

const char* ConvertCommand::GetArgumentName() const
{
    return "FILE";
}

const char* ConvertCommand::GetDescription() const
{
    return "convert FILE into the BASIC program";
}

void ConvertCommand::DeclareOptions(OptionParser& parser)
{
    const std::string resolution =
        "minimum resolution as the note value's MML length text: " + ResolutionTexts() + " (default 32)";
    parser.AddOption("output", 'o', "FILE", "write the program there (default: standard output)");
    parser.AddOption("parts", 'p', "N", "number of parts, 1..18 (default 6)");
    parser.AddOption("resolution", 'r', "TEXT", resolution.c_str());
    parser.AddOption("split", 's', "N", "split step count, 1..1920 (default 4 x the file's time base)");
    parser.AddOption("line", 'l', "N", "first line number, 1..32000 (default 1000)");
    parser.AddOption("kind", 'k', "TEXT", "PLAY, \"PLAY HG\" or PLAY@, any case (default PLAY)");
    parser.AddOption("assign", 'a', "LIST",
                     "list ordinals for parts 0, 1, 2, ... separated by commas; \"-\" leaves a part "
                     "unassigned; parts after the list are unassigned (default: part i gets list i)");
    parser.AddOption("lenient", 0, nullptr,
                     "open leniently (also for --list and --events): re-time any time base to 480, "
                     "skip unknown chunks, unwrap RIFF RMID files, read a cut-off last track up "
                     "to the end of the file, keep the tracks there are; the report's Reading "
                     "section says what was adapted");
    parser.AddOption("force", 0, nullptr, "write the program even when it is larger than 64 MiB");
    parser.AddOption("report", 0, nullptr,
                     "after converting, write the conversion report to standard error");
    parser.AddOption("report-only", 0, nullptr,
                     "convert and write only the report, to standard output; no program");
    parser.AddOption("max-line", 0, "N",
                     "the report warns of PLAY lines longer than N characters (default 255); "
                     "implies --report");
    parser.AddOption("fit-lines", 0, "N",
                     "cut PLAY lines early so that none is longer than N characters, 40..255 "
                     "(default: every line holds one split step count); the report's limit");
}

bool ConvertCommand::ParseResolution(const std::string& text, int& valueIndex) const
{
    NoteValueTable values;
    for (int i = 0; i < values.GetCount(); ++i) {
        if (text == values.GetLengthText(i)) {
            valueIndex = i;
            return true;
        }
    }
    return false;
}

bool ConvertCommand::ParseKind(const std::string& text, int& kind) const
{
    PlayKindTable kinds;
    for (int i = 0; i < kinds.GetCount(); ++i) {
        if (Upper(text) == kinds.GetKeyword(i)) {
            kind = i;
            return true;
        }
    }
    return false;
}

bool ConvertCommand::ParseAssignment(const std::string& text, std::vector<int>& ordinals) const
{
    ordinals.clear();
    if (Trim(text).empty())
        return true;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        std::string item = Trim(text.substr(start, comma == std::string::npos ? std::string::npos
                                                                              : comma - start));
        int ordinal = Converter::kUnassigned;
        if (item != "-") {
            // Plain digits: no sign, no separator, which here parts the items.
            if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos ||
                !ReadWholeNumber(item, ordinal))
                return false;
        }
        ordinals.push_back(ordinal);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

int ConvertCommand::ReadOptions(const OptionParser& options, ConvertSettings& settings,
                                std::vector<int>& assignment, std::ostream& err) const
{
    struct NumberOption {
        const char* name;
        const char* what;
        int (ConvertSettings::*set)(int);
    } numbers[] = {
        { "parts", "part count", &ConvertSettings::SetPartCount },
        { "split", "split step count", &ConvertSettings::SetSplitStepCount },
        { "line", "first line number", &ConvertSettings::SetFirstLineNumber },
        { "fit-lines", "line limit", &ConvertSettings::SetLineLimit },
    };
    for (const NumberOption& n : numbers) {
        if (!options.Has(n.name))
            continue;
        int value = 0;
        if (!ReadWholeNumber(options.GetValue(n.name), value))
            return ReportUsageError(err, std::string(n.what) + " '" + options.GetValue(n.name) +
                                             "' is not a number");
        (settings.*n.set)(value);
    }

    int index = 0;
    if (options.Has("resolution")) {
        if (!ParseResolution(options.GetValue("resolution"), index))
            return ReportUsageError(err, "unknown resolution '" + options.GetValue("resolution") +
                                             "': use " + ResolutionTexts());
        settings.SetMinimumResolution(index);
    }
    if (options.Has("kind")) {
        if (!ParseKind(options.GetValue("kind"), index))
            return ReportUsageError(err, "unknown PLAY kind '" + options.GetValue("kind") +
                                             "': use PLAY, \"PLAY HG\" or PLAY@");
        settings.SetPlayKind(index);
    }
    if (options.Has("max-line") && options.Has("fit-lines"))
        return ReportUsageError(err, "--max-line and --fit-lines cannot go together: with "
                                     "--fit-lines the report warns at its limit");
    if (options.Has("max-line")) {
        int limit = 0;
        if (!ReadWholeNumber(options.GetValue("max-line"), limit) || limit < 1)
            return ReportUsageError(err, "--max-line '" + options.GetValue("max-line") +
                                             "' is not a number of 1 or more");
    }
    if (options.Has("assign") && !ParseAssignment(options.GetValue("assign"), assignment))
        return ReportUsageError(err, "--assign '" + options.GetValue("assign") +
                                         "' is not a list of ordinals and '-' separated by commas");
    return kExitOk;
}

void ConvertCommand::ApplyFileDefaults(const OptionParser& options, const MidiFile& file,
                                       ConvertSettings& settings) const
{
    if (!options.Has("split"))
        settings.SetSplitStepCountForTimeBase(file.GetTimeBase());
}

int ConvertCommand::ReportRefusal(std::ostream& err, const std::string& path,
                                  const ConvertStatus& status) const
{
    const Refusal* refusal = &kOtherRefusal;
    for (const Refusal& r : kRefusals) {
        if (r.result == status.GetResult())
            refusal = &r;
    }
    const std::string reason = refusal->describe(status, path);
    switch (refusal->kind) {
    case kUsageRefusal:
        return ReportUsageError(err, reason);
    case kSettingRefusal:
        err << kToolName << ": " << reason << '\n';
        return kExitFailure;
    default:
        return ReportFileFailure(err, path, reason);
    }
}

int ConvertCommand::CheckProgramSize(const OptionParser& options, const std::string& path,
                                     const std::string& program, std::ostream& err) const
{
    // Said before anything is written, not after gigabytes.
    if (program.size() <= GetLargestUnforcedProgram() || options.Has("force"))
        return kExitOk;
    const size_t lines = static_cast<size_t>(std::count(program.begin(), program.end(), '\n'));
    return ReportFileFailure(err, path, "the program would be " + std::to_string(program.size()) +
                                            " bytes in " + std::to_string(lines) +
                                            " lines, more than the " +
                                            std::to_string(GetLargestUnforcedProgram()) +
                                            " bytes written without --force; use --force to write it");
}

int ConvertCommand::WriteProgram(const OptionParser& options, const std::string& program,
                                 std::ostream& out, std::ostream& err) const
{
    if (options.Has("output")) {
        const std::string target = options.GetValue("output");
        OutputFile output;
        if (!output.Write(target, program.data(), program.size()))
            return ReportFileFailure(err, target, output.GetReason());
        return kExitOk;
    }
    out.write(program.data(), static_cast<std::streamsize>(program.size()));
    out.flush();
    if (!out)
        return ReportFileFailure(err, "(standard output)", "the program could not be written");
    return kExitOk;
}

int ConvertCommand::Run(const OptionParser& options, std::ostream& out, std::ostream& err)
{
    const std::vector<std::string>& args = options.GetArguments();
    if (args.empty())
        return ReportUsageError(err, "no FILE to convert");
    if (args.size() > 1)
        return ReportUsageError(err, "only one FILE can be converted at a time");
    const std::string& path = args[0];

    ConvertSettings settings;
    std::vector<int> assignment;
    int code = ReadOptions(options, settings, assignment, err);
    if (code == kExitOk)
        code = CheckPreviewOptions(options, err);
    if (code != kExitOk)
        return code;
    code = ReadVoiceCount(options, settings, err);
    if (code != kExitOk)
        return code;

    // The report comes alone, or after the program (with --max-line too).
    const bool reportOnly = options.Has("report-only");
    const bool reportAfter = options.Has("report") || options.Has("max-line");
    Converter converter;
    // Only the program and the report: lists no part plays need no records,
    // and without a report no counts.
    converter.SetKeepUnplayedLists(false);
    converter.SetCountUnplayedLists(reportOnly || reportAfter);
    ConversionObjects objects(converter);
    code = LoadMidiFile(options, path, converter, objects.file, err);
    if (code != kExitOk)
        return code;
    ApplyFileDefaults(options, *objects.file, settings);

    // The same checks and conversion as the window's. Without -a, part i
    // plays list i.
    const ConversionResult result = options.Has("assign")
                                        ? converter.Convert(*objects.file, settings, assignment)
                                        : converter.ConvertInOrder(*objects.file, settings);
    // Lenient reading re-timed every positive time base: what is left is
    // no number of ticks per quarter note.
    if (result.GetStatus().GetResult() == Converter::kConvertBadTimeBase && options.Has("lenient"))
        return ReportFileFailure(err, path, DescribeUntimedDivision(result.GetStatus().GetValue()));
    if (!result.IsOk())
        return ReportRefusal(err, path, result.GetStatus());

    if (reportOnly)
        return WriteReport(options, *objects.file, result, path, out, err);

    const std::string& program = result.GetText();
    code = CheckProgramSize(options, path, program, err);
    if (code != kExitOk)
        return code;
    code = WriteProgram(options, program, out, err);
    // The report never changes the exit status of a written program.
    if (code == kExitOk && reportAfter)
        WriteReport(options, *objects.file, result, path, err, err);
    if (code != kExitOk)
        return code;
    return WritePreview(options, path, program, *objects.file, err);
}

int ConvertCommand::CheckPreviewOptions(const OptionParser& options, std::ostream& err) const
{
    if (!options.Has("wav")) {
        if (options.Has("tempo"))
            return ReportUsageError(err, "--tempo goes with --wav");
        return kExitOk;
    }
    if (options.GetValue("wav").empty())
        return ReportUsageError(err, "--wav needs a FILE name");
    if (options.Has("output") && options.GetValue("output") == options.GetValue("wav"))
        return ReportUsageError(err, "--wav and --output name the same file");
    if (options.Has("time-base"))
        return ReportUsageError(err, "--time-base goes with --render: a conversion's preview "
                                     "counts in its file's time base");
    PreviewTempo tempo;
    if (options.Has("tempo") && !tempo.SetBeatsPerMinuteText(options.GetValue("tempo")))
        return ReportUsageError(err, "tempo '" + options.GetValue("tempo") + "' is not " +
                                         PreviewOutput::kTempoRange);
    return kExitOk;
}

int ConvertCommand::WritePreview(const OptionParser& options, const std::string& path,
                                 const std::string& program, const MidiFile& file,
                                 std::ostream& err) const
{
    if (!options.Has("wav"))
        return kExitOk;
    // The tempo was checked before the conversion.
    PreviewTempo tempo;
    if (options.Has("tempo"))
        tempo.SetBeatsPerMinuteText(options.GetValue("tempo"));
    else
        tempo.SetMicrosecondsPerQuarter(TempoFinder().GetFirstTempo(file));
    PreviewOutput output;
    if (!output.Write(options.GetValue("wav"), program, "the program of " + path,
                      file.GetTimeBase(), tempo))
        return ReportFileFailure(err, output.GetFailedFile(), output.GetReason());
    return kExitOk;
}

int ConvertCommand::WriteReport(const OptionParser& options, const MidiFile& file,
                                const ConversionResult& result, const std::string& path,
                                std::ostream& to, std::ostream& err) const
{
    ConversionReport report;
    int limit = ConversionReport::kDefaultLineLimit;
    if (options.Has("max-line") && ReadWholeNumber(options.GetValue("max-line"), limit))
        report.SetLineLimit(limit);
    if (report.Compute(file, result, result.GetText()) != ConversionReport::kReportOk)
        return ReportFileFailure(err, path, "not enough memory for the conversion report");
    const std::string text = report.Format(ConsoleTexts());
    to.write(text.data(), static_cast<std::streamsize>(text.size()));
    to.flush();
    if (!to)
        return ReportFileFailure(err, "(standard output)", "the report could not be written");
    return kExitOk;
}
