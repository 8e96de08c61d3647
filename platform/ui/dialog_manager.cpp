// The dialog manager: dialog creation from templates, message delivery, the default handling of
// dialog messages and controls, and the keyboard and mouse rules of the platform's dialogs.
#include "dialog_manager.h"

#include <algorithm>
#include <climits>

#include "dialog_host.h"
#include "window_table.h"

namespace {

constexpr LRESULT kDefIdMarker = 0x534B;  // DC_HASDEFID in DM_GETDEFID's high word
constexpr UINT kMaxControls = 4096;

int MulDivDown(int value, int numerator, int denominator) {
    return static_cast<int>(static_cast<long long>(value) * numerator / denominator);
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy, int baseX, int baseY) {
    RECT rect;
    rect.left = MulDivDown(x, baseX, 4);
    rect.top = MulDivDown(y, baseY, 8);
    rect.right = rect.left + MulDivDown(std::max(cx, 0), baseX, 4);
    rect.bottom = rect.top + MulDivDown(std::max(cy, 0), baseY, 8);
    return rect;
}

WindowKind KindOf(DialogControlClass controlClass) {
    switch (controlClass) {
        case DialogControlClass::Button:
            return WindowKind::Button;
        case DialogControlClass::Edit:
            return WindowKind::Edit;
        default:
            return WindowKind::Static;
    }
}

std::u16string TextOf(const WCHAR* text) { return text == nullptr ? std::u16string() : text; }

}  // namespace

int CopyTextOut(const std::u16string& text, LPWSTR buffer, long long cchMax) {
    if (buffer == nullptr || cchMax <= 0) return 0;
    size_t count = std::min<size_t>(text.size(), static_cast<size_t>(cchMax - 1));
    count = std::min<size_t>(count, INT_MAX - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<int>(count);
}

void DialogManager::TemplateBaseUnits(const DialogTemplate& dialogTemplate, int* x, int* y) {
    // "MS Shell Dlg" 8 point at 96 dots per inch: 6 x 13 pixels; other sizes scale with it.
    int points = dialogTemplate.fontSize == 0 ? 8 : std::min<int>(dialogTemplate.fontSize, 72);
    *x = std::max(1, (6 * points + 4) / 8);
    *y = std::max(1, (13 * points + 4) / 8);
}

HWND DialogManager::Create(const DialogTemplate* dialogTemplate, HWND parent,
                           DialogMessageProc proc, void* context, LPARAM initParam, bool modal) {
    if (dialogTemplate == nullptr) return nullptr;
    if (dialogTemplate->controlCount > kMaxControls) return nullptr;
    if (dialogTemplate->controlCount != 0 && dialogTemplate->controls == nullptr) return nullptr;
    WindowTable& table = WindowTable::Instance();
    WindowPtr parentWindow = table.Find(parent);
    if (parent != nullptr && (parentWindow == nullptr || parentWindow->destroying)) return nullptr;
    bool child = (dialogTemplate->style & WS_CHILD) != 0 && !modal;
    if (child && parentWindow == nullptr) return nullptr;

    auto dialog = std::make_shared<WindowObject>();
    dialog->kind = WindowKind::Dialog;
    dialog->parent = parent;
    dialog->text = TextOf(dialogTemplate->caption);
    dialog->style = dialogTemplate->style;
    TemplateBaseUnits(*dialogTemplate, &dialog->baseUnitX, &dialog->baseUnitY);
    dialog->rect = DialogUnitsToPixels(dialogTemplate->x, dialogTemplate->y, dialogTemplate->cx,
                                       dialogTemplate->cy, dialog->baseUnitX, dialog->baseUnitY);
    dialog->visible = (dialogTemplate->style & WS_VISIBLE) != 0;
    dialog->enabled = (dialogTemplate->style & WS_DISABLED) == 0;
    dialog->modal = modal;
    HWND handle = table.Add(dialog);
    if (child) parentWindow->children.push_back(handle);

    bool defaultFound = false;
    for (UINT i = 0; i < dialogTemplate->controlCount; ++i) {
        const DialogControlTemplate& item = dialogTemplate->controls[i];
        auto control = std::make_shared<WindowObject>();
        control->kind = KindOf(item.controlClass);
        control->parent = handle;
        control->id = item.id;
        control->text = TextOf(item.text);
        control->style = item.style | WS_CHILD | WS_VISIBLE;
        control->rect = DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, dialog->baseUnitX,
                                            dialog->baseUnitY);
        control->visible = true;
        control->enabled = (item.style & WS_DISABLED) == 0;
        if (!defaultFound && control->kind == WindowKind::Button &&
            control->ButtonType() == BS_DEFPUSHBUTTON) {
            dialog->defaultId = item.id;
            defaultFound = true;
        }
        dialog->children.push_back(table.Add(control));
    }
    dialog->proc = proc;
    dialog->context = context;

    HWND firstTabStop = NextTabStop(*dialog, nullptr, false);
    LRESULT focusDefault =
        Send(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), initParam);
    if (table.Find(handle) == nullptr) return nullptr;
    if (focusDefault != 0 && firstTabStop != nullptr && table.Find(firstTabStop) != nullptr) {
        SetFocusTo(firstTabStop, nullptr);
    }
    return handle;
}

INT_PTR DialogManager::RunModal(const DialogTemplate* dialogTemplate, HWND parent,
                                DialogMessageProc proc, void* context, LPARAM initParam) {
    WindowTable& table = WindowTable::Instance();
    HWND handle = Create(dialogTemplate, parent, proc, context, initParam, true);
    if (handle == nullptr) return -1;
    WindowPtr dialog = table.Find(handle);
    if (dialog == nullptr) return -1;
    WindowPtr owner = table.Find(parent);
    bool ownerWasEnabled = owner != nullptr && owner->enabled;
    if (ownerWasEnabled) owner->enabled = false;
    if (!dialog->ended) {
        dialog->visible = true;
        DialogHost* host = GetDialogHost();
        try {
            if (host != nullptr) host->RunModal(handle);
        } catch (...) {
            // A host that fails leaves the dialog unended: the modal call answers -1.
        }
    }
    INT_PTR result = dialog->ended ? dialog->result : -1;
    Destroy(handle);
    if (ownerWasEnabled) owner->enabled = true;
    return result;
}

LRESULT DialogManager::Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = WindowTable::Instance().Find(handle);
    if (window == nullptr) return 0;
    if (!window->IsDialog()) return ControlMessage(window, message, wParam, lParam);
    if (window->proc != nullptr) {
        LRESULT result = 0;
        BOOL handled = FALSE;
        try {
            handled = window->proc(window->context, handle, message, wParam, lParam, &result);
        } catch (...) {
            handled = FALSE;
        }
        if (handled) return result;
    }
    return DefaultDialogMessage(window, message, wParam, lParam);
}

LRESULT DialogManager::DefaultDialogMessage(const WindowPtr& dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_SETTEXT:
            dialog->text = TextOf(reinterpret_cast<const WCHAR*>(lParam));
            return TRUE;
        case WM_GETTEXT:
            return CopyTextOut(dialog->text, reinterpret_cast<LPWSTR>(lParam),
                               static_cast<long long>(std::min<WPARAM>(wParam, INT_MAX)));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(dialog->text.size());
        case WM_NEXTDLGCTL: {
            HWND target = nullptr;
            if (LOWORD(lParam) != 0) {
                target = reinterpret_cast<HWND>(wParam);
                WindowPtr control = WindowTable::Instance().Find(target);
                if (control == nullptr || control->parent != dialog->handle) return 0;
            } else {
                target = NextTabStop(*dialog, dialog->focus, wParam != 0);
            }
            if (target != nullptr) SetFocusTo(target, nullptr);
            return 0;
        }
        case WM_CLOSE: {
            HWND cancel = FindChild(*dialog, IDCANCEL);
            Send(dialog->handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel));
            return 0;
        }
        case DM_GETDEFID:
            return MAKELONG(dialog->defaultId, kDefIdMarker);
        case DM_SETDEFID:
            dialog->defaultId = static_cast<int>(wParam);
            return TRUE;
        default:
            return 0;
    }
}

LRESULT DialogManager::ControlMessage(const WindowPtr& control, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            control->text = TextOf(reinterpret_cast<const WCHAR*>(lParam));
            // A single-line edit reports a text set by WM_SETTEXT as a change, as on the platform.
            if (control->kind == WindowKind::Edit && (control->style & ES_MULTILINE) == 0) {
                NotifyParent(*control, EN_CHANGE);
            }
            return TRUE;
        case WM_GETTEXT:
            return CopyTextOut(control->text, reinterpret_cast<LPWSTR>(lParam),
                               static_cast<long long>(std::min<WPARAM>(wParam, INT_MAX)));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(control->text.size());
        case BM_GETCHECK:
            return control->IsCheckable() ? control->check : BST_UNCHECKED;
        case BM_SETCHECK:
            if (control->IsCheckable() && wParam <= BST_INDETERMINATE) {
                control->check = static_cast<UINT>(wParam);
            }
            return 0;
        case BM_CLICK:
            Click(control->handle);
            return 0;
        case EM_LIMITTEXT:
            control->textLimit = static_cast<UINT>(std::min<WPARAM>(wParam, UINT_MAX));
            return 0;
        case EM_GETLIMITTEXT:
            return control->textLimit == 0 ? 30000 : control->textLimit;
        default:
            return 0;
    }
}

void DialogManager::NotifyParent(const WindowObject& control, WORD code) {
    HWND parent = control.parent;
    HWND handle = control.handle;
    Send(parent, WM_COMMAND, MAKEWPARAM(control.id, code), reinterpret_cast<LPARAM>(handle));
}

bool DialogManager::Destroy(HWND handle) {
    WindowTable& table = WindowTable::Instance();
    WindowPtr window = table.Find(handle);
    if (window == nullptr) return false;
    if (window->destroying) return true;
    window->destroying = true;
    Send(handle, WM_DESTROY, 0, 0);
    std::vector<HWND> children = window->children;
    for (HWND child : children) Destroy(child);
    window->children.clear();
    Send(handle, WM_NCDESTROY, 0, 0);
    window->proc = nullptr;
    window->context = nullptr;
    HWND focus = table.Focus();
    if (focus == handle) table.SetFocusHandle(nullptr);
    WindowPtr parent = table.Find(window->parent);
    if (parent != nullptr) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
        if (parent->focus == handle) parent->focus = nullptr;
    }
    table.Remove(handle);
    return true;
}

bool DialogManager::SetFocusTo(HWND handle, HWND* previous) {
    WindowTable& table = WindowTable::Instance();
    if (previous != nullptr) *previous = table.Focus();
    if (handle == nullptr) {
        table.SetFocusHandle(nullptr);
        return true;
    }
    WindowPtr window = table.Find(handle);
    if (window == nullptr) return false;
    if (window->IsDialog()) {
        // A dialog passes the focus on to the control that had it last, or its first tab stop.
        HWND inner = window->focus;
        if (table.Find(inner) == nullptr) inner = NextTabStop(*window, nullptr, false);
        if (inner != nullptr) {
            window->focus = inner;
            handle = inner;
        }
    } else {
        WindowPtr parent = table.Find(window->parent);
        if (parent != nullptr) parent->focus = handle;
    }
    table.SetFocusHandle(handle);
    return true;
}

HWND DialogManager::FindChild(const WindowObject& dialog, int id) {
    WindowTable& table = WindowTable::Instance();
    for (HWND child : dialog.children) {
        WindowPtr control = table.Find(child);
        if (control != nullptr && !control->IsDialog() && control->id == id) return child;
    }
    return nullptr;
}

HWND DialogManager::NextTabStop(const WindowObject& dialog, HWND from, bool backward) {
    WindowTable& table = WindowTable::Instance();
    std::vector<HWND> stops;
    for (HWND child : dialog.children) {
        WindowPtr control = table.Find(child);
        if (control != nullptr && !control->IsDialog() && control->IsTabStop()) {
            stops.push_back(child);
        }
    }
    if (stops.empty()) return nullptr;
    auto at = std::find(stops.begin(), stops.end(), from);
    if (at == stops.end()) return backward ? stops.back() : stops.front();
    size_t index = static_cast<size_t>(at - stops.begin());
    size_t next = backward ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    return stops[next];
}

RECT DialogManager::ScreenRect(const WindowObject& window) {
    RECT rect = window.rect;
    WindowTable& table = WindowTable::Instance();
    if ((window.style & WS_CHILD) == 0) return rect;
    WindowPtr parent = table.Find(window.parent);
    for (int depth = 0; parent != nullptr && depth < 64; ++depth) {
        rect.left += parent->rect.left;
        rect.right += parent->rect.left;
        rect.top += parent->rect.top;
        rect.bottom += parent->rect.top;
        if ((parent->style & WS_CHILD) == 0) break;
        parent = table.Find(parent->parent);
    }
    return rect;
}

void DialogManager::UncheckRadioGroup(const WindowObject& clicked) {
    WindowTable& table = WindowTable::Instance();
    WindowPtr dialog = table.Find(clicked.parent);
    if (dialog == nullptr) return;
    std::vector<WindowPtr> controls;
    for (HWND child : dialog->children) {
        WindowPtr control = table.Find(child);
        if (control != nullptr && !control->IsDialog()) controls.push_back(control);
    }
    auto at = std::find_if(controls.begin(), controls.end(),
                           [&](const WindowPtr& c) { return c->handle == clicked.handle; });
    if (at == controls.end()) return;
    // A group runs from a control with WS_GROUP up to the next one with WS_GROUP.
    auto first = at;
    while (first != controls.begin() && ((*first)->style & WS_GROUP) == 0) --first;
    auto last = at + 1;
    while (last != controls.end() && ((*last)->style & WS_GROUP) == 0) ++last;
    for (auto it = first; it != last; ++it) {
        const WindowPtr& sibling = *it;
        if (sibling->handle != clicked.handle && sibling->kind == WindowKind::Button &&
            sibling->ButtonType() == BS_AUTORADIOBUTTON) {
            sibling->check = BST_UNCHECKED;
        }
    }
}

bool DialogManager::Click(HWND handle) {
    WindowPtr control = WindowTable::Instance().Find(handle);
    if (control == nullptr || control->kind != WindowKind::Button) return false;
    if (!control->enabled || !control->visible || control->ButtonType() == BS_GROUPBOX) {
        return false;
    }
    switch (control->ButtonType()) {
        case BS_AUTORADIOBUTTON:
            control->check = BST_CHECKED;
            UncheckRadioGroup(*control);
            break;
        case BS_AUTOCHECKBOX:
            control->check = control->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            break;
        case BS_AUTO3STATE:
            control->check = (control->check + 1) % 3;
            break;
        default:
            break;
    }
    SetFocusTo(handle, nullptr);
    NotifyParent(*control, BN_CLICKED);
    return true;
}

bool DialogManager::TypeText(HWND handle, const std::u16string& text) {
    WindowPtr control = WindowTable::Instance().Find(handle);
    if (control == nullptr || control->kind != WindowKind::Edit) return false;
    if (!control->enabled || !control->visible || (control->style & ES_READONLY) != 0) {
        return false;
    }
    SetFocusTo(handle, nullptr);
    // A limit set with EM_LIMITTEXT holds typed text, not text set by WM_SETTEXT.
    size_t limit = control->textLimit == 0 ? text.size() : control->textLimit;
    control->text.assign(text, 0, std::min(text.size(), limit));
    NotifyParent(*control, EN_CHANGE);
    return true;
}

bool DialogManager::PressKey(HWND handle, UINT virtualKey) {
    WindowTable& table = WindowTable::Instance();
    WindowPtr dialog = table.Find(handle);
    if (dialog == nullptr || !dialog->IsDialog()) return false;
    if (virtualKey == VK_ESCAPE) {
        HWND cancel = FindChild(*dialog, IDCANCEL);
        WindowPtr button = table.Find(cancel);
        if (button != nullptr && !button->enabled) return true;
        Send(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
             reinterpret_cast<LPARAM>(cancel));
        return true;
    }
    if (virtualKey == VK_RETURN) {
        WindowPtr focused = table.Find(dialog->focus);
        if (focused != nullptr && focused->IsPushButton() && focused->enabled) {
            return Click(focused->handle);
        }
        LRESULT defId = Send(handle, DM_GETDEFID, 0, 0);
        int id = HIWORD(defId) == kDefIdMarker ? static_cast<short>(LOWORD(defId)) : IDOK;
        HWND button = FindChild(*dialog, id);
        WindowPtr control = table.Find(button);
        if (control != nullptr && !control->enabled) return true;
        Send(handle, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return true;
    }
    if (virtualKey == VK_TAB) {
        Send(handle, WM_NEXTDLGCTL, 0, 0);
        return true;
    }
    return false;
}
