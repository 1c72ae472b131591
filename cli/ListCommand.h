#ifndef MORVEK_CLI_LISTCOMMAND_H
#define MORVEK_CLI_LISTCOMMAND_H

#include <string>

#include "cli/Command.h"

class MidiFile;
class NoteListSet;

// --list FILE: the file information and the channel list the window shows,
// for any well-formed Standard MIDI File (also one the converter refuses).
// A TAB between columns, LF line ends:
//   File name<TAB>NAME, Format<TAB>F, Time base<TAB>T, Used channels<TAB>N,
//   the heading No. Tr. Ch. Step, then one row per note list: ordinal,
//   track, channel and total ticks with thousands separators. Read with
//   --lenient, a re-timed time base shows as "1,024 -> 480" and a line
//   Reading<TAB>... after it says what else was adapted. With
//   --voices 2 or more, a fifth column Voice: the list's voice from 1.
class ListCommand : public Command {
public:
// Construction
    ListCommand();
    virtual ~ListCommand();

// Attributes
    virtual const char* GetOption() const override;
    virtual const char* GetArgumentName() const override;
    virtual const char* GetDescription() const override;

// Operations
    // --voices, which the conversion reads too.
    virtual void DeclareOptions(OptionParser& parser) override;
    virtual int Run(const OptionParser& options, std::ostream& out, std::ostream& err) override;
    // The listing of a loaded file and its lists, built with voiceCount
    // voices; name is the file name shown.
    virtual std::string FormatListing(const std::string& name, const MidiFile& file,
                                      const NoteListSet& set, int voiceCount = 1) const;
};

#endif
