#ifndef MORVEK_CLI_COMMAND_H
#define MORVEK_CLI_COMMAND_H

#include <iosfwd>
#include <string>

class Converter;
class ConvertSettings;
class FileImage;
class MidiFile;
class MidiReadOptions;
class OptionParser;

// One thing the command-line tool can do, selected by its own option
// (--events) or, for the default command, by giving no command option.
// Commands write to the streams they are given, never to the console.
class Command {
public:
    // Exit codes of the tool.
    enum {
        kExitOk = 0,
        kExitFailure = 1,                              // a file could not be read or used
        kExitUsage = 2                                 // the command line is wrong
    };

    // The name the tool gives itself in help and messages.
    static constexpr const char* kToolName = "midi2morvek";

// Construction
    Command();
    virtual ~Command();

// Attributes
    // Long option that selects the command ("events"); null for the default command.
    virtual const char* GetOption() const = 0;
    // Name of the command's argument in the help ("FILE").
    virtual const char* GetArgumentName() const = 0;
    virtual const char* GetDescription() const = 0;

// Operations
    // Declares the options that only this command reads.
    virtual void DeclareOptions(OptionParser& parser);
    virtual int Run(const OptionParser& options, std::ostream& out, std::ostream& err) = 0;

protected:
    // "midi2morvek: FILE: reason" on one line; returns kExitFailure.
    virtual int ReportFileFailure(std::ostream& err, const std::string& file,
                                  const std::string& reason) const;
    // "midi2morvek: problem (see --help)" on one line; returns kExitUsage.
    virtual int ReportUsageError(std::ostream& err, const std::string& problem) const;
    // Reads the file at path whole into image; kExitOk, or kExitFailure
    // after reporting why (in the system's words where it gave a reason).
    virtual int ReadInput(const std::string& path, FileImage& image, std::ostream& err) const;
    // The voice count of --voices into settings (left as it is without
    // it); kExitOk, or kExitUsage after saying why the value is refused.
    virtual int ReadVoiceCount(const OptionParser& options, ConvertSettings& settings,
                               std::ostream& err) const;
    // The reading --lenient asks for (strict without it).
    virtual MidiReadOptions GetReadOptions(const OptionParser& options) const;
    // Why a MidiFile was not built: a MidiFileResult of a strict or a
    // lenient reading, in the tool's words.
    virtual std::string DescribeLoadFailure(int result, bool lenient) const;
    // Reads the file at path and loads it as options say; kExitOk with a new
    // file (the converter's, freed with FreeMidiFile), or kExitFailure after
    // reporting why.
    virtual int LoadMidiFile(const OptionParser& options, const std::string& path,
                             Converter& converter, MidiFile*& file, std::ostream& err) const;
};

#endif
