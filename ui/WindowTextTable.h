#ifndef MORVEK_UI_WINDOWTEXTTABLE_H
#define MORVEK_UI_WINDOWTEXTTABLE_H

#include <windows.h>

#include <string>

#include "text/TextTable.h"

class ReadStatus;

// The window's texts for core code that words something (the report, why a
// program cannot be read): loaded from the program's string table like
// every other text of the window, so in the interface's language; and the
// one place the window words where a program text could not be read.
class WindowTextTable : public TextTable {
public:
    enum { kTextSize = 1024 }; // the longest text of the table, terminator included

// Construction
    explicit WindowTextTable(HINSTANCE instance);
    virtual ~WindowTextTable();

// Operations
    virtual std::string Get(int id) const;
    // The message for a source that cannot be read back to be played, with
    // its line, column and reason.
    virtual std::string DescribeUnreadable(const ReadStatus& status) const;

private:
    HINSTANCE m_instance;
};

#endif
