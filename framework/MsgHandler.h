#ifndef MORVEK_FRAMEWORK_MSGHANDLER_H
#define MORVEK_FRAMEWORK_MSGHANDLER_H

#include "framework/WndObject.h"

// Common base of window handlers (WindowHandler) and modal dialog handlers
// (ModalDialog): what a CreateRecord names as a window's handler.
class MsgHandler : public WndObject {
public:
    MsgHandler();
    ~MsgHandler() override;
};

#endif
