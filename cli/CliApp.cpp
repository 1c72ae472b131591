#include "cli/CliApp.h"

#include <ostream>
#include <string>

#include "cli/Command.h"
#include "cli/ConvertCommand.h"
#include "cli/EventsCommand.h"
#include "cli/ListCommand.h"
#include "cli/OptionParser.h"
#include "cli/RenderCommand.h"

#ifndef MORVEK_VERSION
#define MORVEK_VERSION "0.0.0"
#endif

CliApp::CliApp()
{
}

CliApp::~CliApp()
{
}

void CliApp::AddStandardCommands()
{
    AddCommand(new ConvertCommand);
    AddCommand(new ListCommand);
    AddCommand(new EventsCommand);
    AddCommand(new RenderCommand);
}

void CliApp::AddCommand(Command* command)
{
    if (command != nullptr)
        m_commands.emplace_back(command);
}

void CliApp::DeclareOptions(OptionParser& parser) const
{
    parser.AddOption("help", 'h', nullptr, "show this help and exit");
    parser.AddOption("version", 0, nullptr, "show the version and exit");
    for (const std::unique_ptr<Command>& c : m_commands) {
        if (c->GetOption() != nullptr)
            parser.AddOption(c->GetOption(), 0, nullptr, c->GetDescription());
    }
    for (const std::unique_ptr<Command>& c : m_commands)
        c->DeclareOptions(parser);
}

int CliApp::Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    OptionParser parser;
    DeclareOptions(parser);
    if (!parser.Parse(argc, argv)) {
        err << Command::kToolName << ": " << parser.GetError() << " (see --help)\n";
        return Command::kExitUsage;
    }
    if (parser.Has("help")) {
        WriteHelp(parser, out);
        return out ? Command::kExitOk : Command::kExitFailure;
    }
    if (parser.Has("version")) {
        out << Command::kToolName << ' ' << MORVEK_VERSION << '\n';
        return out ? Command::kExitOk : Command::kExitFailure;
    }

    Command* selected = nullptr;
    Command* fallback = nullptr;
    for (const std::unique_ptr<Command>& c : m_commands) {
        if (c->GetOption() == nullptr) {
            fallback = c.get();
        } else if (parser.Has(c->GetOption())) {
            if (selected != nullptr) {
                err << Command::kToolName << ": --" << selected->GetOption() << " and --"
                    << c->GetOption() << " cannot be combined (see --help)\n";
                return Command::kExitUsage;
            }
            selected = c.get();
        }
    }
    if (selected == nullptr)
        selected = fallback;
    if (selected == nullptr) {
        err << Command::kToolName << ": no command given (see --help)\n";
        return Command::kExitUsage;
    }
    return selected->Run(parser, out, err);
}

void CliApp::WriteHelp(const OptionParser& parser, std::ostream& out) const
{
    out << "Usage:\n";
    for (const std::unique_ptr<Command>& c : m_commands) {
        out << "  " << Command::kToolName;
        if (c->GetOption() != nullptr)
            out << " --" << c->GetOption();
        else
            out << " [options]";
        out << ' ' << c->GetArgumentName() << '\n';
    }
    out << "\nReads a Standard MIDI File for the MORVEK music driver's BASIC PLAY statements.\n"
        << "\nOptions:\n"
        << parser.FormatOptions()
        << "\nExit status: 0 success, 1 the file could not be read or used, 2 usage error.\n";
}
