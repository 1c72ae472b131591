#ifndef MORVEK_UI_MAINWINDOWCOMMANDS_H
#define MORVEK_UI_MAINWINDOWCOMMANDS_H

#include <windows.h>

class MainWindow;

// One command of the main window: its handler; the bits of the command state
// that enable its button and its menu item alike (0: every state); and its
// mark, set when isMarked gives true for the item's id. A radio item names the
// first and last id of its group. Help, About and Exit, which every state
// allows, are WindowHandler::OnCommand's.
//
// A new menu command is one row of the table in MainWindowCommands.cpp and a
// handler (with a test for its mark, if it has one).
struct MainWindowCommand {
    enum Mark { kNoMark, kCheckMark, kRadioMark };

    // The table's rows, for a range-for.
    struct Range {
        const MainWindowCommand* first;
        const MainWindowCommand* last;
        const MainWindowCommand* begin() const { return first; }
        const MainWindowCommand* end() const { return last; }
    };

    // Every command; the row of id, or null.
    static Range All();
    static const MainWindowCommand* Find(int id);
    // The voice count of a Voices item (0 for any other id) and the line
    // limit of a Line Length item (-1 for any other id).
    static int VoicesOf(int id);
    static int LineLimitOf(int id);

    WORD id;
    LRESULT (MainWindow::*handler)(HWND, WPARAM, LPARAM);
    unsigned enabledBy;
    Mark mark;
    bool (MainWindow::*isMarked)(int id) const;
    WORD firstInGroup;
    WORD lastInGroup;
};

#endif
