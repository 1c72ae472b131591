#include "cli/ConsoleTexts.h"

#include "score/ReadStatus.h"

ConsoleTexts::ConsoleTexts() : TextTable(kEnglish)
{
}

ConsoleTexts::~ConsoleTexts()
{
}

std::string ConsoleTexts::DescribeUnreadable(const ReadStatus& status) const
{
    return "line " + std::to_string(status.GetLine()) + ", column " +
           std::to_string(status.GetColumn()) + ": " + status.DescribeReason(*this);
}
