// The scripted modal host: user actions from a queue, for tests.
#include "scripted_dialog_host.h"

#include <utility>

ScriptedDialogHost& ScriptedDialogHost::Add(Action action) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    actions_.push_back(std::move(action));
    return *this;
}

ScriptedDialogHost& ScriptedDialogHost::Type(int id, std::u16string text) {
    return Add([id, text = std::move(text)](HWND dialog) {
        return DialogTypeText(GetDlgItem(dialog, id), text.c_str()) != FALSE;
    });
}

ScriptedDialogHost& ScriptedDialogHost::Click(int id) {
    return Add([id](HWND dialog) { return DialogClickControl(GetDlgItem(dialog, id)) != FALSE; });
}

ScriptedDialogHost& ScriptedDialogHost::PressEnter() {
    return Add([](HWND dialog) { return DialogPressKey(dialog, VK_RETURN) != FALSE; });
}

ScriptedDialogHost& ScriptedDialogHost::PressEscape() {
    return Add([](HWND dialog) { return DialogPressKey(dialog, VK_ESCAPE) != FALSE; });
}

ScriptedDialogHost& ScriptedDialogHost::PressTab() {
    return Add([](HWND dialog) { return DialogPressKey(dialog, VK_TAB) != FALSE; });
}

ScriptedDialogHost& ScriptedDialogHost::Close() {
    return Add([](HWND dialog) {
        SendMessageW(dialog, WM_CLOSE, 0, 0);
        return true;
    });
}

ScriptedDialogHost& ScriptedDialogHost::Inspect(Inspector inspector) {
    return Add([inspector = std::move(inspector)](HWND dialog) {
        if (inspector) inspector(dialog);
        return true;
    });
}

void ScriptedDialogHost::OnOpen(Inspector inspector) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    onOpen_ = std::move(inspector);
}

bool ScriptedDialogHost::RunModal(HWND dialog) {
    Inspector onOpen;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        ++openCount_;
        onOpen = onOpen_;
    }
    if (onOpen) onOpen(dialog);
    while (!IsDialogEnded(dialog)) {
        Action action;
        {
            std::lock_guard<std::recursive_mutex> lock(mutex_);
            if (actions_.empty()) return false;
            action = std::move(actions_.front());
            actions_.pop_front();
        }
        if (!action(dialog)) return false;
    }
    return true;
}

int ScriptedDialogHost::OpenCount() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return openCount_;
}

size_t ScriptedDialogHost::PendingActions() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return actions_.size();
}

std::u16string ScriptedDialogHost::ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
    int copied = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

UINT ScriptedDialogHost::CheckState(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id); }

int ScriptedDialogHost::FocusedId(HWND dialog) {
    HWND focus = GetFocus();
    if (focus == nullptr || GetParent(focus) != dialog) return 0;
    return GetDlgCtrlID(focus);
}
