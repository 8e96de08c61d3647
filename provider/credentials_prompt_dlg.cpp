// The credentials prompt: shows the held values, and on OK copies the edits back, cut to fit.
#include "provider/credentials_prompt_dlg.h"

namespace {
// The buffers hold 256 characters; the edits are copied with a limit of 255 (terminator
// included), as the dialog always did.
constexpr int kCopyLimit = 255;
}  // namespace

LRESULT CredentialsPromptDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CenterWindow(GetParent());
    SetDlgItemText(kIdcPromptUserName, userName != nullptr ? userName : u"");
    SetDlgItemText(kIdcPromptPassword, password != nullptr ? password : u"");
    GotoDlgCtrl(GetDlgItem(kIdcPromptUserName));
    return FALSE;
}

LRESULT CredentialsPromptDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    if (userName != nullptr) GetDlgItemText(kIdcPromptUserName, userName, kCopyLimit);
    if (password != nullptr) GetDlgItemText(kIdcPromptPassword, password, kCopyLimit);
    EndDialog(IDOK);
    return 0;
}

LRESULT CredentialsPromptDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
