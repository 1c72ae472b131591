#include "cli/ListCommand.h"

#include <ostream>
#include <vector>

#include "cli/FileName.h"
#include "cli/OptionParser.h"
#include "engine/Converter.h"
#include "engine/ReadingReport.h"
#include "text/NumberText.h"
#include "base/FileImage.h"
#include "midi/MidiFile.h"
#include "settings/ConvertSettings.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"

ListCommand::ListCommand()
{
}

ListCommand::~ListCommand()
{
}

const char* ListCommand::GetOption() const
{
    return "list";
}

const char* ListCommand::GetArgumentName() const
{
    return "FILE";
}

const char* ListCommand::GetDescription() const
{
    return "show the file information and its MIDI channel list";
}

void ListCommand::DeclareOptions(OptionParser& parser)
{
    parser.AddOption("voices", 'V', "N",
                     "voices per track and channel, 1..18: overlapping notes and chords go to "
                     "further lists instead of being dropped (default 1)");
}

int ListCommand::Run(const OptionParser& options, std::ostream& out, std::ostream& err)
{
    const std::vector<std::string>& args = options.GetArguments();
    if (args.size() != 1)
        return ReportUsageError(err, "--list needs exactly one FILE");
    const std::string& path = args[0];
    ConvertSettings settings;
    const int code = ReadVoiceCount(options, settings, err);
    if (code != kExitOk)
        return code;

    Converter converter;
    MidiFile* file = nullptr;
    if (LoadMidiFile(options, path, converter, file, err) != kExitOk)
        return kExitFailure;
    NoteListSet* set = converter.BuildNoteListSet(file, settings);
    if (set == nullptr) {
        converter.FreeMidiFile(file);
        return ReportFileFailure(err, path, "not enough memory for the note lists");
    }
    std::string listing = FormatListing(GetFileName(path), *file, *set, settings.GetVoiceCount());
    converter.FreeNoteListSet(set);
    converter.FreeMidiFile(file);

    out.write(listing.data(), static_cast<std::streamsize>(listing.size()));
    out.flush();
    if (!out)
        return ReportFileFailure(err, "(standard output)", "the listing could not be written");
    return kExitOk;
}

std::string ListCommand::FormatListing(const std::string& name, const MidiFile& file,
                                       const NoteListSet& set, int voiceCount) const
{
    const bool voices = voiceCount > 1;
    const ReadingReport reading;
    const std::string adapted = reading.FormatOtherRows(file.GetReadLog());
    std::string text = "File name\t" + name + "\n" +
                       "Format\t" + std::to_string(file.GetFormat()) + "\n" +
                       "Time base\t" + reading.FormatTimeBase(file.GetReadLog(), file.GetTimeBase()) +
                       "\n" + (adapted.empty() ? std::string() : "Reading\t" + adapted + "\n") +
                       "Used channels\t" + std::to_string(set.GetChannelCount()) + "\n" +
                       (voices ? "No.\tTr.\tCh.\tStep\tVoice\n" : "No.\tTr.\tCh.\tStep\n");
    for (int i = 0; i < set.GetCount(); ++i) {
        const NoteList* list = set.GetList(i);
        if (list == nullptr)
            continue;
        text += std::to_string(list->GetOrdinal()) + '\t' + std::to_string(list->GetTrackIndex()) +
                '\t' + std::to_string(list->GetChannel()) + '\t' +
                FormatThousands(list->GetTotalTicks()) +
                (voices ? '\t' + std::to_string(list->GetVoice() + 1) : std::string()) + '\n';
    }
    return text;
}
