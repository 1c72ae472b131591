#ifndef MORVEK_CLI_EVENTSCOMMAND_H
#define MORVEK_CLI_EVENTSCOMMAND_H

#include "cli/Command.h"

class MidiFile;

// --events FILE: every event of every track as the reader holds it, one line
// each: track, TAB, absolute time, TAB, delta, TAB, the record's bytes as
// upper-case hex pairs separated by spaces.
class EventsCommand : public Command {
public:
// Construction
    EventsCommand();
    virtual ~EventsCommand();

// Attributes
    virtual const char* GetOption() const override;
    virtual const char* GetArgumentName() const override;
    virtual const char* GetDescription() const override;

// Operations
    virtual int Run(const OptionParser& options, std::ostream& out, std::ostream& err) override;
    virtual void WriteEvents(const MidiFile& file, std::ostream& out) const;
};

#endif
