#ifndef MORVEK_CLI_CLIAPP_H
#define MORVEK_CLI_CLIAPP_H

#include <iosfwd>
#include <memory>
#include <vector>

class Command;
class OptionParser;

// The command-line tool: reads the command line, answers --help and
// --version, and hands everything else to the one command selected.
class CliApp {
public:
// Construction
    CliApp();
    virtual ~CliApp();
    CliApp(const CliApp&) = delete;
    CliApp& operator=(const CliApp&) = delete;

// Operations
    // The commands of midi2morvek.
    virtual void AddStandardCommands();
    // Takes ownership. At most one command has no option: the default one.
    virtual void AddCommand(Command* command);
    // Returns the exit code.
    virtual int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
    virtual void WriteHelp(const OptionParser& parser, std::ostream& out) const;

private:
    void DeclareOptions(OptionParser& parser) const;

    std::vector<std::unique_ptr<Command>> m_commands;
};

#endif
