#include "cli/RenderCommand.h"

#include <string>

#include "cli/OptionParser.h"
#include "cli/PreviewOutput.h"
#include "base/FileImage.h"
#include "preview/PreviewTempo.h"

RenderCommand::RenderCommand()
{
}

RenderCommand::~RenderCommand()
{
}

const char* RenderCommand::GetOption() const
{
    return "render";
}

const char* RenderCommand::GetArgumentName() const
{
    return "PROGRAM --wav FILE";
}

const char* RenderCommand::GetDescription() const
{
    return "write the preview of PROGRAM, a program text, to the WAV file of --wav";
}

void RenderCommand::DeclareOptions(OptionParser& parser)
{
    parser.AddOption("wav", 0, "FILE",
                     "write the preview as a WAV file there: square waves, 44,100 Hz, 16-bit mono "
                     "(with a conversion: beside the program)");
    parser.AddOption("tempo", 0, "BPM",
                     "the preview's tempo in quarter notes per minute, 1 to 1000 (default: the "
                     "file's first tempo; 120 with --render)");
    parser.AddOption("time-base", 0, "N",
                     "with --render: ticks to the quarter note the text is read in, 48, 96, 240 or "
                     "480 (default 480)");
}

int RenderCommand::Run(const OptionParser& options, std::ostream& out, std::ostream& err)
{
    (void)out;
    const std::vector<std::string>& args = options.GetArguments();
    if (args.empty())
        return ReportUsageError(err, "no PROGRAM to render");
    if (args.size() > 1)
        return ReportUsageError(err, "only one PROGRAM can be rendered at a time");
    if (!options.Has("wav") || options.GetValue("wav").empty())
        return ReportUsageError(err, "--render needs --wav FILE");
    if (options.GetValue("wav") == args[0])
        return ReportUsageError(err, "--wav names PROGRAM itself");

    PreviewTempo tempo;
    if (options.Has("tempo") && !tempo.SetBeatsPerMinuteText(options.GetValue("tempo")))
        return ReportUsageError(err, "tempo '" + options.GetValue("tempo") + "' is not " +
                                         PreviewOutput::kTempoRange);
    int timeBase = kDefaultTimeBase;
    if (options.Has("time-base")) {
        const std::string text = options.GetValue("time-base");
        if (text != "48" && text != "96" && text != "240" && text != "480")
            return ReportUsageError(err, "time base '" + text + "' is not 48, 96, 240 or 480");
        timeBase = std::stoi(text);
    }

    const std::string& path = args[0];
    std::string text;
    {
        FileImage input;
        if (ReadInput(path, input, err) != kExitOk)
            return kExitFailure;
        text.assign(reinterpret_cast<const char*>(input.GetData()), input.GetSize());
    }
    PreviewOutput output;
    if (!output.Write(options.GetValue("wav"), text, path, timeBase, tempo))
        return ReportFileFailure(err, output.GetFailedFile(), output.GetReason());
    return kExitOk;
}
