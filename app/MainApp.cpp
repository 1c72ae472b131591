#include "app/MainApp.h"

#include "ui/MainWindow.h"

MainApp::MainApp()
{
}

MainApp::~MainApp()
{
}

MsgHandler* MainApp::CreateHandler(ClassResources* resources, ActiveTarget* target)
{
    MainWindow* handler = new MainWindow;
    handler->AttachApp(resources, target);
    return handler;
}
