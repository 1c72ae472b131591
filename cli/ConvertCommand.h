#ifndef MORVEK_CLI_CONVERTCOMMAND_H
#define MORVEK_CLI_CONVERTCOMMAND_H

#include <cstddef>
#include <string>
#include <vector>

#include "cli/Command.h"

class ConversionResult;
class ConvertSettings;
class ConvertStatus;
class Converter;
class MidiFile;

// The default command: converts FILE into the BASIC program, with the same
// engine entry point as the window, so both give the same bytes for the same
// choices. Writes the program to standard output or, with --output, to a
// file that is either written whole or not at all.
//
// Checks, in order: the command line (exit 2); the file: readable, a MIDI
// file, format 0 or 1, time base 48, 96, 240 or 480 (exit 1); the settings:
// split step count, part count, first line number (exit 1); the part
// assignment against the file's lists (exit 2); the size: music too long
// for the split step count, or a program over 64 MiB without --force (exit 1).
// Reading and the program's size are the command's own checks; the others
// are Converter::Convert's, worded from its ConvertStatus.
//
// With --wav (declared by RenderCommand) the program's preview is written
// there after the program, at --tempo or the file's first tempo.
// --report adds the conversion report on standard error after the program;
// --report-only writes the report instead of the program.
class ConvertCommand : public Command {
public:
    // 64 MiB: a song makes kilobytes; more comes from music far too long
    // for its split step count.
    static constexpr size_t kLargestUnforcedProgram = 64 * 1024 * 1024;

// Construction
    ConvertCommand();
    virtual ~ConvertCommand();

// Attributes
    virtual const char* GetOption() const override;
    virtual const char* GetArgumentName() const override;
    virtual const char* GetDescription() const override;
    // Programs larger than this many bytes are written only with --force
    // (kLargestUnforcedProgram unless set). Returns the previous size.
    virtual size_t SetLargestUnforcedProgram(size_t bytes);
    virtual size_t GetLargestUnforcedProgram() const;

// Operations
    virtual void DeclareOptions(OptionParser& parser) override;
    virtual int Run(const OptionParser& options, std::ostream& out, std::ostream& err) override;

    // Readers of the option values; each returns false on text it cannot read.
    // The note value whose MML length text is text ("32", "8.").
    virtual bool ParseResolution(const std::string& text, int& valueIndex) const;
    // "PLAY", "PLAY HG" or "PLAY@", in any case.
    virtual bool ParseKind(const std::string& text, int& kind) const;
    // Ordinals separated by commas, "-" for an unassigned part.
    virtual bool ParseAssignment(const std::string& text, std::vector<int>& ordinals) const;

private:
    // The steps of Run; each returns an exit code and reports its failure.
    int ReadOptions(const OptionParser& options, ConvertSettings& settings,
                    std::vector<int>& assignment, std::ostream& err) const;
    // The split step count of the file's time base unless -s gave one.
    void ApplyFileDefaults(const OptionParser& options, const MidiFile& file,
                           ConvertSettings& settings) const;
    // The message for a refusal of Converter::Convert.
    int ReportRefusal(std::ostream& err, const std::string& path,
                      const ConvertStatus& status) const;
    int CheckProgramSize(const OptionParser& options, const std::string& path,
                         const std::string& program, std::ostream& err) const;
    int WriteProgram(const OptionParser& options, const std::string& program, std::ostream& out,
                     std::ostream& err) const;
    // --wav, --tempo and --time-base, checked before any work is done.
    int CheckPreviewOptions(const OptionParser& options, std::ostream& err) const;
    // The step after the program is written: its preview, when --wav asks for it.
    int WritePreview(const OptionParser& options, const std::string& path,
                     const std::string& program, const MidiFile& file, std::ostream& err) const;
    // The conversion report of result (--report, --report-only, --max-line)
    // to 'to'. Returns kExitOk, or kExitFailure after a message on err.
    int WriteReport(const OptionParser& options, const MidiFile& file,
                    const ConversionResult& result, const std::string& path,
                    std::ostream& to, std::ostream& err) const;

    size_t m_largestUnforcedProgram;
};

#endif
