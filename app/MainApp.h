#ifndef MORVEK_APP_MAINAPP_H
#define MORVEK_APP_MAINAPP_H

#include "framework/DialogApp.h"

// KALTON.EXE's application: a DialogApp whose main window is driven by a
// MainWindow. It lives here, beside WinMain, because the framework knows
// no window of this one program.
class MainApp : public DialogApp {
public:
    MainApp();
    ~MainApp() override;

    // A new MainWindow attached to resources and target.
    MsgHandler* CreateHandler(ClassResources* resources, ActiveTarget* target) override;
};

#endif
