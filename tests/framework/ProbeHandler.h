#ifndef MORVEK_TESTS_FRAMEWORK_PROBEHANDLER_H
#define MORVEK_TESTS_FRAMEWORK_PROBEHANDLER_H

#include <string>
#include <vector>

#include "framework/DialogHandler.h"

// What a ProbeHandler saw. It lives in the test, so it outlasts the handler,
// which the framework deletes inside WM_DESTROY.
struct Probe {
    int created = 0;
    HWND createdWindow = nullptr;
    HINSTANCE createdInstance = nullptr;
    std::string caption;
    std::string className;
    bool hadCreateInfo = false;
    bool hadControls = false;
    std::vector<int> commands;
    int destroyed = 0;
    int closed = 0;
    int deleted = 0;
};

// A window handler that writes down what happens to it.
class ProbeHandler : public DialogHandler {
public:
    explicit ProbeHandler(Probe* probe);
    ~ProbeHandler() override;

    LRESULT OnCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnClose(HWND hwnd, WPARAM wParam, LPARAM lParam) override;

private:
    Probe* m_probe;
};

#endif
