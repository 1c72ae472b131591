#include "cli/EventsCommand.h"

#include <ostream>
#include <string>

#include "cli/OptionParser.h"
#include "base/FileImage.h"
#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiReadOptions.h"
#include "midi/MidiTrack.h"

EventsCommand::EventsCommand()
{
}

EventsCommand::~EventsCommand()
{
}

const char* EventsCommand::GetOption() const
{
    return "events";
}

const char* EventsCommand::GetArgumentName() const
{
    return "FILE";
}

const char* EventsCommand::GetDescription() const
{
    return "list every event of every track: track, time, delta, bytes";
}

int EventsCommand::Run(const OptionParser& options, std::ostream& out, std::ostream& err)
{
    const std::vector<std::string>& args = options.GetArguments();
    if (args.size() != 1)
        return ReportUsageError(err, "--events needs exactly one FILE");
    const std::string& path = args[0];

    FileImage input;
    if (ReadInput(path, input, err) != kExitOk)
        return kExitFailure;
    MidiFile file;
    const MidiReadOptions reading = GetReadOptions(options);
    const int result = reading.IsLenient() ? file.Build(input.GetData(), input.GetSize(), reading)
                                           : file.Build(input.GetData(), input.GetSize());
    if (result != MIDIFILE_OK)
        return ReportFileFailure(err, path, DescribeLoadFailure(result, reading.IsLenient()));

    WriteEvents(file, out);
    out.flush();
    if (!out)
        return ReportFileFailure(err, "(standard output)", "the listing could not be written");
    return kExitOk;
}

void EventsCommand::WriteEvents(const MidiFile& file, std::ostream& out) const
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string line;
    for (int i = 0; i < file.GetTrackCount(); ++i) {
        const MidiTrack* track = file.GetTrack(i);
        for (MidiTrack::Position p = track->GetPosition(0); p != track->GetPosition(1); ++p) {
            const MidiEvent* e = *p;
            line = std::to_string(i) + '\t' + std::to_string(e->GetTime()) + '\t' +
                   std::to_string(e->GetDelta()) + '\t';
            const unsigned char* data = e->GetData();
            for (int b = 0; b < e->GetLength(); ++b) {
                if (b > 0)
                    line += ' ';
                line += kHex[data[b] >> 4];
                line += kHex[data[b] & 0x0F];
            }
            line += '\n';
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
        }
    }
}
