#ifndef MORVEK_CLI_RENDERCOMMAND_H
#define MORVEK_CLI_RENDERCOMMAND_H

#include "cli/Command.h"

// --render PROGRAM --wav OUT.wav [--tempo BPM] [--time-base N]: the preview
// of a program text, one written by the tool or edited by hand, as a WAV
// file. The text is read back as the window's Play reads its box; a text
// that cannot be read is named with its line and column (exit 1).
//
// Declares --wav and --tempo, which also give a conversion its preview, and
// --time-base.
class RenderCommand : public Command {
public:
    // 120 quarter notes per minute and 480 ticks to the quarter note unless given.
    static constexpr int kDefaultTimeBase = 480;

// Construction
    RenderCommand();
    virtual ~RenderCommand();

// Attributes
    virtual const char* GetOption() const override;
    virtual const char* GetArgumentName() const override;
    virtual const char* GetDescription() const override;

// Operations
    virtual void DeclareOptions(OptionParser& parser) override;
    virtual int Run(const OptionParser& options, std::ostream& out, std::ostream& err) override;
};

#endif
