#include "framework/ModalDialogHost.h"

#include "framework/CreateRecord.h"
#include "framework/ModalDialog.h"
#include "framework/ModalDlgProc.h"

ModalDialogHost::ModalDialogHost()
{
}

ModalDialogHost::~ModalDialogHost()
{
}

INT_PTR ModalDialogHost::RunModal(HINSTANCE instance, int templateId, HWND parent,
                                  LONG_PTR spare2, LONG_PTR spare1)
{
    // The record outlives the modal loop, so the dialog keeps our pointer.
    CreateRecord record = {this, CreateDialogHandler(), 0, spare1, spare2};
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent,
                                     ModalDlgProc, reinterpret_cast<LPARAM>(&record));
    delete record.handler;
    return result;
}

ModalDialog* ModalDialogHost::CreateDialogHandler()
{
    return new ModalDialog;
}
