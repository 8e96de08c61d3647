// CredentialsPromptDlg: the modal login dialog that edits the data source's user name and
// password buffers in place.
#pragma once

#include "atl_ui.h"
#include "resources/resource_ids.h"

class CredentialsPromptDlg : public CDialogImpl<CredentialsPromptDlg, CWindow> {
  public:
    enum { IDD = kIddCredentialsPrompt };

    // The caller's buffers of 256 characters each; set both before DoModal.
    WCHAR* userName = nullptr;
    WCHAR* password = nullptr;

    BEGIN_MSG_MAP(CredentialsPromptDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
    COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnCancel)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnOK(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnCancel(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
};
