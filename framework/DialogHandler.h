#ifndef MORVEK_FRAMEWORK_DIALOGHANDLER_H
#define MORVEK_FRAMEWORK_DIALOGHANDLER_H

#include "framework/WindowHandler.h"

// The handler of a window built from a dialog template and driven by
// DialogWndProc: it is bound at WM_INITDIALOG, after the controls exist, so
// OnCreate may adopt them.
class DialogHandler : public WindowHandler {
public:
    DialogHandler();
    ~DialogHandler() override;
};

#endif
