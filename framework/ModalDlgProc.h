#ifndef MORVEK_FRAMEWORK_MODALDLGPROC_H
#define MORVEK_FRAMEWORK_MODALDLGPROC_H

#include <windows.h>

// Dialog procedure of every modal dialog that ModalDialogHost runs. The
// CreateRecord given to DialogBoxParamA stays the host's; the dialog keeps
// its pointer as DWLP_USER and hands every message to the record's
// ModalDialog. Without a bound handler it returns FALSE.
INT_PTR CALLBACK ModalDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
