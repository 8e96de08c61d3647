// The current modal host of the process, and the user-input entry points the hosts use.
#include "dialog_host.h"

#include <atomic>

#include "dialog_manager.h"
#include "terminal_dialog_host.h"
#include "window_table.h"

namespace {

std::atomic<DialogHost*> currentHost{nullptr};

DialogHost& DefaultHost() {
    // Never destroyed: a dialog may still run while other statics are torn down at exit.
    static DialogHost* host = new TerminalDialogHost();
    return *host;
}

}  // namespace

DialogHost::~DialogHost() = default;

COMUI_API DialogHost* SetDialogHost(DialogHost* host) {
    DialogHost* previous = currentHost.exchange(host);
    return previous == nullptr ? &DefaultHost() : previous;
}

COMUI_API DialogHost* GetDialogHost() {
    DialogHost* host = currentHost.load();
    return host == nullptr ? &DefaultHost() : host;
}

COMUI_API BOOL DialogClickControl(HWND control) {
    try {
        return DialogManager::Click(control) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

COMUI_API BOOL DialogTypeText(HWND edit, LPCWSTR text) {
    try {
        return DialogManager::TypeText(edit, text == nullptr ? std::u16string() : text) ? TRUE
                                                                                        : FALSE;
    } catch (...) {
        return FALSE;
    }
}

COMUI_API BOOL DialogPressKey(HWND dialog, UINT virtualKey) {
    try {
        return DialogManager::PressKey(dialog, virtualKey) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

COMUI_API BOOL IsDialogEnded(HWND dialog) {
    WindowPtr window = WindowTable::Instance().Find(dialog);
    return window == nullptr || window->ended ? TRUE : FALSE;
}
