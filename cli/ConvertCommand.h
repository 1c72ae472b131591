#ifndef CLI_CONVERTCOMMAND_H
#define CLI_CONVERTCOMMAND_H

#include <string>
#include <vector>

#include "cli/Command.h"

class ConvertSettings;

// The default command: converts FILE into the BASIC program, with the same
// engine entry point as the window, so both give the same bytes for the same
// choices. Writes the program to standard output or, with --output, to a
// file that is either written whole or not at all.
//
// Checks, in order: the command line (exit 2); the file: readable, a MIDI
// file, format 0 or 1, time base 48, 96, 240 or 480 (exit 1); the settings:
// split step count, part count, first line number (exit 1); the part
// assignment against the file's lists (exit 2).
class ConvertCommand : public Command {
public:
// Construction
    ConvertCommand();
    virtual ~ConvertCommand();

// Attributes
    virtual const char* GetOption() const override;
    virtual const char* GetArgumentName() const override;
    virtual const char* GetDescription() const override;

// Operations
    virtual void DeclareOptions(OptionParser& parser) override;
    virtual int Run(const OptionParser& options, std::ostream& out, std::ostream& err) override;

    // Readers of the option values; each returns false on text it cannot read.
    // A whole number, optionally signed, with or without thousands separators
    // ("1,920"); too many digits give the largest (or smallest) int.
    virtual bool ParseNumber(const std::string& text, int& value) const;
    // The note value whose MML length text is text ("32", "8.").
    virtual bool ParseResolution(const std::string& text, int& valueIndex) const;
    // "PLAY", "PLAY HG" or "PLAY@", in any case.
    virtual bool ParseKind(const std::string& text, int& kind) const;
    // Ordinals separated by commas, "-" for an unassigned part.
    virtual bool ParseAssignment(const std::string& text, std::vector<int>& ordinals) const;

private:
    int ReadOptions(const OptionParser& options, ConvertSettings& settings,
                    std::vector<int>& assignment, bool& splitGiven, std::ostream& err) const;
};

#endif
