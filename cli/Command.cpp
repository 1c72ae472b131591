#include "cli/Command.h"

#include <ostream>

#include "cli/OptionParser.h"
#include "base/DiskFile.h"
#include "base/FileImage.h"
#include "settings/ConvertSettings.h"
#include "settings/SettingsCheck.h"
#include "engine/Converter.h"
#include "midi/MidiFile.h"
#include "midi/MidiReadOptions.h"

Command::Command()
{
}

Command::~Command()
{
}

void Command::DeclareOptions(OptionParser& /*parser*/)
{
}

int Command::ReportFileFailure(std::ostream& err, const std::string& file,
                               const std::string& reason) const
{
    err << kToolName << ": " << file << ": " << reason << '\n';
    return kExitFailure;
}

int Command::ReportUsageError(std::ostream& err, const std::string& problem) const
{
    err << kToolName << ": " << problem << " (see --help)\n";
    return kExitUsage;
}

int Command::ReadInput(const std::string& path, FileImage& image, std::ostream& err) const
{
    DiskFile file;
    const unsigned long code = image.Read(file, path.c_str());
    if (code == 0)
        return kExitOk;
    // A code the file did not record is the image's own.
    if (code != file.GetErrorCode()) {
        switch (code) {
        case FileImage::kFileTooLarge:
            return ReportFileFailure(err, path, "file is too large");
        case FileImage::kNotEnoughMemory:
            return ReportFileFailure(err, path, "not enough memory to read the file");
        case FileImage::kHandleEof:
            return ReportFileFailure(err, path, "file ended before its reported size");
        default:
            break;
        }
    }
    return ReportFileFailure(err, path, file.DescribeError(code));
}

int Command::ReadVoiceCount(const OptionParser& options, ConvertSettings& settings,
                            std::ostream& err) const
{
    if (!options.Has("voices"))
        return kExitOk;
    // Refused here, before the file is read, in the tool's own words.
    const std::string text = options.GetValue("voices");
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos ||
        SettingsCheck().CheckVoiceCount(std::stoi(text)) != SettingsCheck::kSettingsValid)
        return ReportUsageError(err, "voice count '" + text + "' is not a number from 1 to 18");
    settings.SetVoiceCount(std::stoi(text));
    return kExitOk;
}

MidiReadOptions Command::GetReadOptions(const OptionParser& options) const
{
    MidiReadOptions reading;
    reading.SetLenient(options.Has("lenient"));
    return reading;
}

std::string Command::DescribeLoadFailure(int result, bool lenient) const
{
    if (!lenient)
        return "not a well-formed Standard MIDI File";
    if (result == MIDIFILE_TOO_LONG)
        return "the music is too long to re-time to 480 ticks per quarter note";
    return "not a Standard MIDI File, even read leniently: it must begin with a whole \"MThd\" header chunk";
}

int Command::LoadMidiFile(const OptionParser& options, const std::string& path,
                          Converter& converter, MidiFile*& file, std::ostream& err) const
{
    // The image goes as soon as it is read: the MidiFile holds copies of
    // everything.
    FileImage input;
    if (ReadInput(path, input, err) != kExitOk)
        return kExitFailure;
    const MidiReadOptions reading = GetReadOptions(options);
    int result = MIDIFILE_INVALID;
    file = converter.LoadMidiFile(input.GetData(), input.GetSize(), reading, &result);
    if (file == nullptr)
        return ReportFileFailure(err, path, DescribeLoadFailure(result, reading.IsLenient()));
    return kExitOk;
}
