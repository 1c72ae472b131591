#include "cli/Command.h"

#include <ostream>

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
