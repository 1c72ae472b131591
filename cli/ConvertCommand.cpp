#include "cli/ConvertCommand.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <ostream>

#include "cli/InputFile.h"
#include "cli/OptionParser.h"
#include "cli/OutputFile.h"
#include "engine/ConvertSettings.h"
#include "engine/Converter.h"
#include "engine/NoteValueTable.h"
#include "engine/PlayKindTable.h"
#include "engine/SettingsCheck.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteListBuilder.h"
#include "score/NoteListSet.h"

namespace {

// Frees what the converter made, whichever way Run leaves.
class ConversionObjects {
public:
    explicit ConversionObjects(Converter& converter) : m_converter(converter) {}
    virtual ~ConversionObjects()
    {
        m_converter.FreeNoteListSet(set);
        m_converter.FreeMidiFile(file);
    }
    ConversionObjects(const ConversionObjects&) = delete;
    ConversionObjects& operator=(const ConversionObjects&) = delete;

    MidiFile* file = nullptr;
    NoteListSet* set = nullptr;

private:
    Converter& m_converter;
};

// The number of note lists the file gives, one per track and channel in use,
// counted without building them: the conversion builds its own.
int CountLists(const MidiFile& file)
{
    NoteListBuilder builder;
    int lists = 0;
    for (int t = 0; t < file.GetTrackCount(); ++t) {
        const MidiTrack* track = file.GetTrack(t);
        if (track)
            lists += builder.GetChannelMask(*track, nullptr);
    }
    return lists;
}

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
    parser.AddOption("output", 'o', "FILE", "write the program there (default: standard output)");
    parser.AddOption("parts", 'p', "N", "number of parts, 1..18 (default 6)");
    parser.AddOption("resolution", 'r', "TEXT",
                     "minimum resolution as the note value's MML length text: 1 2. 2 4. 4 8. 6 8 "
                     "16. 12 16 32. 24 32 48 64 96 192 (default 32)");
    parser.AddOption("split", 's', "N", "split step count, 1..1920 (default 4 x the file's time base)");
    parser.AddOption("line", 'l', "N", "first line number, 1..32000 (default 1000)");
    parser.AddOption("kind", 'k', "TEXT", "PLAY, \"PLAY HG\" or PLAY@, any case (default PLAY)");
    parser.AddOption("assign", 'a', "LIST",
                     "list ordinals for parts 0, 1, 2, ... separated by commas; \"-\" leaves a part "
                     "unassigned; parts after the list are unassigned (default: part i gets list i)");
    parser.AddOption("force", 0, nullptr, "write the program even when it is larger than 64 MiB");
}

bool ConvertCommand::ParseNumber(const std::string& text, int& value) const
{
    std::string digits = Trim(text);
    bool negative = false;
    size_t i = 0;
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+'))
        negative = digits[i++] == '-';
    long long number = 0;
    bool any = false;
    for (; i < digits.size(); ++i) {
        char c = digits[i];
        if (c == ',' && any)
            continue;
        if (c < '0' || c > '9')
            return false;
        any = true;
        if (number <= INT_MAX)
            number = number * 10 + (c - '0');
    }
    if (!any)
        return false;
    if (negative)
        number = -number;
    value = number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : static_cast<int>(number);
    return true;
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
            if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos ||
                !ParseNumber(item, ordinal))
                return false;
        }
        ordinals.push_back(ordinal);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

int ConvertCommand::ReadOptions(const OptionParser& options, ConvertSettings& settings,
                                std::vector<int>& assignment, bool& splitGiven,
                                std::ostream& err) const
{
    struct NumberOption {
        const char* name;
        const char* what;
        int (ConvertSettings::*set)(int);
    } numbers[] = {
        { "parts", "part count", &ConvertSettings::SetPartCount },
        { "split", "split step count", &ConvertSettings::SetSplitStepCount },
        { "line", "first line number", &ConvertSettings::SetFirstLineNumber },
    };
    for (const NumberOption& n : numbers) {
        if (!options.Has(n.name))
            continue;
        int value = 0;
        if (!ParseNumber(options.GetValue(n.name), value))
            return ReportUsageError(err, std::string(n.what) + " '" + options.GetValue(n.name) +
                                             "' is not a number");
        (settings.*n.set)(value);
    }
    splitGiven = options.Has("split");

    int index = 0;
    if (options.Has("resolution")) {
        if (!ParseResolution(options.GetValue("resolution"), index))
            return ReportUsageError(err, "unknown resolution '" + options.GetValue("resolution") +
                                             "': use 1 2. 2 4. 4 8. 6 8 16. 12 16 32. 24 32 48 64 96 192");
        settings.SetMinimumResolution(index);
    }
    if (options.Has("kind")) {
        if (!ParseKind(options.GetValue("kind"), index))
            return ReportUsageError(err, "unknown PLAY kind '" + options.GetValue("kind") +
                                             "': use PLAY, \"PLAY HG\" or PLAY@");
        settings.SetPlayKind(index);
    }
    if (options.Has("assign") && !ParseAssignment(options.GetValue("assign"), assignment))
        return ReportUsageError(err, "--assign '" + options.GetValue("assign") +
                                         "' is not a list of ordinals and '-' separated by commas");
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
    bool splitGiven = false;
    int code = ReadOptions(options, settings, assignment, splitGiven, err);
    if (code != kExitOk)
        return code;

    // The file, checked as the window checks it when it opens one. Its image
    // goes as soon as it is read: the MidiFile holds copies of everything.
    Converter converter;
    ConversionObjects objects(converter);
    {
        InputFile input;
        if (!input.Load(path.c_str()))
            return ReportFileFailure(err, path, input.GetReason());
        objects.file = converter.LoadMidiFile(input.GetData(), input.GetSize());
        if (objects.file == nullptr)
            return ReportFileFailure(err, path, "not a well-formed Standard MIDI File");
    }
    const int format = objects.file->GetFormat();
    const int timeBase = objects.file->GetTimeBase();
    switch (converter.CheckFile(*objects.file)) {
    case Converter::kConvertOk:
        break;
    case Converter::kConvertBadFormat:
        return ReportFileFailure(err, path, "format " + std::to_string(format) +
                                                " is not supported: only formats 0 and 1 are");
    default:
        return ReportFileFailure(err, path, "time base " + std::to_string(timeBase) +
                                                " is not supported: only 48, 96, 240 and 480 are");
    }
    if (!splitGiven)
        settings.SetSplitStepCountForTimeBase(timeBase);

    SettingsCheck check;
    if (check.CheckValues(settings.GetSplitStepCount(), settings.GetPartCount(),
                          settings.GetFirstLineNumber()) != SettingsCheck::kSettingsValid) {
        err << kToolName << ": " << check.GetEnglishText() << '\n';
        return kExitFailure;
    }

    const int lists = CountLists(*objects.file);
    if (options.Has("assign")) {
        for (int ordinal : assignment) {
            if (ordinal != Converter::kUnassigned && (ordinal < 0 || ordinal >= lists))
                return ReportUsageError(err, "list " + std::to_string(ordinal) + " does not exist: " +
                                                 path + " has " + std::to_string(lists) + " lists" +
                                                 (lists > 0 ? " (0 to " + std::to_string(lists - 1) + ")"
                                                            : std::string()));
        }
    } else {
        for (int i = 0; i < settings.GetPartCount() && i < lists; ++i)
            assignment.push_back(i);
    }

    std::string program;
    switch (converter.Convert(*objects.file, settings, assignment, objects.set, program)) {
    case Converter::kConvertOk:
        break;
    case Converter::kConvertNoMemory:
        return ReportFileFailure(err, path, "not enough memory to convert it");
    case Converter::kConvertTooLarge:
        // The count comes from the file's raw lists, built for the message.
        objects.set = converter.BuildNoteListSet(objects.file);
        if (objects.set == nullptr)
            return ReportFileFailure(err, path, "not enough memory to convert it");
        return ReportFileFailure(
            err, path, "the music is too long for split step count " +
                           std::to_string(settings.GetSplitStepCount()) + ": about " +
                           std::to_string(converter.CountSegments(
                               *objects.set,
                               converter.GetSegmentTicks(settings.GetSplitStepCount(), timeBase))) +
                           " segments, more than the " + std::to_string(Converter::kMaxSegmentTotal) +
                           " a conversion may cut; choose a larger --split");
    default:
        return ReportFileFailure(err, path, "the conversion was refused");
    }

    // Said before anything is written, not after gigabytes.
    if (program.size() > GetLargestUnforcedProgram() && !options.Has("force")) {
        const size_t lines = static_cast<size_t>(std::count(program.begin(), program.end(), '\n'));
        return ReportFileFailure(err, path, "the program would be " + std::to_string(program.size()) +
                                                " bytes in " + std::to_string(lines) +
                                                " lines, more than the " +
                                                std::to_string(GetLargestUnforcedProgram()) +
                                                " bytes written without --force; use --force to write it");
    }

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
