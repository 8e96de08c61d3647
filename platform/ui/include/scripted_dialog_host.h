// A modal host for tests: runs each modal dialog through a queue of scripted user actions.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "dialog_host.h"

class COMUI_CLASS ScriptedDialogHost : public DialogHost {
  public:
    using Inspector = std::function<void(HWND dialog)>;

    // Actions, run in order across the dialogs shown while this host is current. An action
    // that cannot be done (no such control, a disabled one) fails the modal loop with -1.
    ScriptedDialogHost& Type(int id, std::u16string text);
    ScriptedDialogHost& Click(int id);
    ScriptedDialogHost& PressEnter();
    ScriptedDialogHost& PressEscape();
    ScriptedDialogHost& PressTab();
    ScriptedDialogHost& Close();
    ScriptedDialogHost& Inspect(Inspector inspector);
    // Called with each dialog when its modal loop starts, after WM_INITDIALOG.
    void OnOpen(Inspector inspector);

    // A modal loop whose actions run out before EndDialog fails with -1.
    bool RunModal(HWND dialog) override;

    int OpenCount() const;
    size_t PendingActions() const;

    // Readers for inspectors.
    static std::u16string ControlText(HWND dialog, int id);
    static UINT CheckState(HWND dialog, int id);
    static int FocusedId(HWND dialog);

  private:
    using Action = std::function<bool(HWND dialog)>;
    ScriptedDialogHost& Add(Action action);

    mutable std::recursive_mutex mutex_;
    std::deque<Action> actions_;
    Inspector onOpen_;
    int openCount_ = 0;
};
