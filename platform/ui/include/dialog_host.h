// Modal hosts: what runs a modal dialog's loop. One host is current in the process; it defaults
// to the terminal host. Tests install a scripted host with SetDialogHost.
#pragma once

#include "win_ui.h"

#define COMUI_CLASS __attribute__((visibility("default")))

class COMUI_CLASS DialogHost {
  public:
    virtual ~DialogHost();
    // Delivers user input to the dialog until EndDialog has ended it. Returns false when this
    // host cannot run it (no terminal, no more input); the modal call then answers -1.
    virtual bool RunModal(HWND dialog) = 0;
};

// Makes host the current host of the process (null: the terminal host) and returns the host
// that was current. The caller keeps host alive while it is current.
COMUI_API DialogHost* SetDialogHost(DialogHost* host);
COMUI_API DialogHost* GetDialogHost();

// User input as a host delivers it. Clicking a control focuses it, applies the auto radio and
// check box rules and sends BN_CLICKED; typing replaces an edit's text and sends EN_CHANGE;
// VK_RETURN presses the focused push button or the default one, VK_ESCAPE sends IDCANCEL.
COMUI_API BOOL DialogClickControl(HWND control);
COMUI_API BOOL DialogTypeText(HWND edit, LPCWSTR text);
COMUI_API BOOL DialogPressKey(HWND dialog, UINT virtualKey);
// Whether EndDialog has been called on a dialog (true as well for a window that is gone).
COMUI_API BOOL IsDialogEnded(HWND dialog);
