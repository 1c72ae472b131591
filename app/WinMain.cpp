#include <windows.h>

#include "framework/ActiveTarget.h"
#include "app/MainApp.h"
#include "framework/UiLanguage.h"

// KALTON.EXE: one main window, one message loop, exit code 0. The command
// line is not read; a second start hands over to the running instance.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // Before the first string is loaded: Japanese or English texts.
    UiLanguage language;
    language.SetThreadLanguage(language.ChooseLanguage(GetACP()));

    ActiveTarget* target = new ActiveTarget;
    MainApp* app = new MainApp;
    MSG msg = {};
    if (app->Init(instance, target) == WinApp::kInitReady) {
        // Quit when the main window is destroyed. Without a window there is
        // nothing to wait for.
        if (app->CreateWindowAndHandler(showCommand, 0, 0, 1, nullptr) != nullptr)
            app->Run(&msg);
    }
    delete app;
    delete target;
    return static_cast<int>(msg.wParam);
}
