#ifndef MORVEK_FRAMEWORK_MAINAPP_H
#define MORVEK_FRAMEWORK_MAINAPP_H

#include "framework/DialogApp.h"

// KALTON.EXE's application: a DialogApp whose main window is driven by a
// MainWindow. Built into the program itself, not into the framework library,
// because MainWindow belongs to the window of this one program.
class MainApp : public DialogApp {
public:
    MainApp();
    ~MainApp() override;

    // A new MainWindow attached to resources and target.
    MsgHandler* CreateHandler(ClassResources* resources, ActiveTarget* target) override;
};

#endif
