#ifndef MORVEK_CLI_CONSOLETEXTS_H
#define MORVEK_CLI_CONSOLETEXTS_H

#include <string>

#include "text/TextTable.h"

class ReadStatus;

// The command-line tool's texts: the English string table, and the one
// place its messages word where a program text could not be read.
class ConsoleTexts : public TextTable {
public:
// Construction
    ConsoleTexts();
    virtual ~ConsoleTexts();

// Operations
    // "line L, column C: reason" for a refusal.
    virtual std::string DescribeUnreadable(const ReadStatus& status) const;
};

#endif
