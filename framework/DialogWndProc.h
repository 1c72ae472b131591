#ifndef MORVEK_FRAMEWORK_DIALOGWNDPROC_H
#define MORVEK_FRAMEWORK_DIALOGWNDPROC_H

#include <windows.h>

// Class procedure of a window built from a dialog template that names the
// class (register it with cbWndExtra = DLGWINDOWEXTRA). The window is
// created by CreateDialogParamA without a dialog procedure, so this
// procedure sees every message and never calls a dialog default procedure.
//
// Binding a handler:
//   1. hwnd = CreateDialogParamA(instance, template, parent, NULL, 0);
//   2. SendMessageA(hwnd, WM_INITDIALOG, 0, (LPARAM)&record), with a
//      CreateRecord naming a WindowHandler; the window keeps its own copy;
//   3. add {hwnd, handler} to record.owner, which then owns the handler.
// WM_DESTROY removes the entry (deleting the handler) and posts WM_QUIT
// when the record asks for it.
LRESULT CALLBACK DialogWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
