// midi2morvek: the command-line converter.
#include <iostream>
#include <new>

#include "cli/CliApp.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Raw bytes: the listings keep their LF and the program its CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        CliApp app;
        app.AddStandardCommands();
        return app.Run(argc, argv, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "midi2morvek: not enough memory\n";
        return 1;
    }
}
