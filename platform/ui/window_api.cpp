// The Win32-style window functions exported by libcomui.so. Each body runs inside one guard;
// a handle that names no window makes a function fail as on the platform.
#include <algorithm>
#include <climits>

#include "dialog_manager.h"
#include "window_table.h"

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

template <class Result, class Body>
Result Guard(Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

WindowPtr Find(HWND handle) { return WindowTable::Instance().Find(handle); }

HWND ItemOf(HWND dialog, int id) {
    WindowPtr window = Find(dialog);
    return window == nullptr ? nullptr : DialogManager::FindChild(*window, id);
}

}  // namespace

COMUI_API HWND CreateDialogFromTemplate(const DialogTemplate* dialogTemplate, HWND hWndParent,
                                        DialogMessageProc proc, void* context, LPARAM initParam) {
    return Guard<HWND>(nullptr, [&] {
        return DialogManager::Create(dialogTemplate, hWndParent, proc, context, initParam, false);
    });
}

COMUI_API INT_PTR DialogBoxFromTemplate(const DialogTemplate* dialogTemplate, HWND hWndParent,
                                        DialogMessageProc proc, void* context, LPARAM initParam) {
    return Guard<INT_PTR>(-1, [&] {
        return DialogManager::RunModal(dialogTemplate, hWndParent, proc, context, initParam);
    });
}

COMUI_API BOOL SetDialogMessageProc(HWND hDlg, DialogMessageProc proc, void* context) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hDlg);
        if (window == nullptr || !window->IsDialog()) return FALSE;
        window->proc = proc;
        window->context = proc == nullptr ? nullptr : context;
        return TRUE;
    });
}

COMUI_API LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return Guard<LRESULT>(0, [&] { return DialogManager::Send(hWnd, Msg, wParam, lParam); });
}

COMUI_API BOOL IsWindow(HWND hWnd) {
    return Guard<BOOL>(FALSE, [&] { return Find(hWnd) != nullptr ? TRUE : FALSE; });
}

COMUI_API BOOL DestroyWindow(HWND hWnd) {
    return Guard<BOOL>(FALSE, [&] { return DialogManager::Destroy(hWnd) ? TRUE : FALSE; });
}

COMUI_API BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hDlg);
        if (window == nullptr || !window->IsDialog()) return FALSE;
        window->ended = true;
        window->result = nResult;
        // A modeless dialog is only hidden; a modal one ends its loop.
        if (!window->modal) window->visible = false;
        return TRUE;
    });
}

COMUI_API HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    return Guard<HWND>(nullptr, [&] { return ItemOf(hDlg, nIDDlgItem); });
}

COMUI_API int GetDlgCtrlID(HWND hWnd) {
    return Guard<int>(0, [&] {
        WindowPtr window = Find(hWnd);
        return window == nullptr ? 0 : window->id;
    });
}

COMUI_API UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
    return Guard<UINT>(0, [&]() -> UINT {
        if (lpString != nullptr && cchMax > 0) lpString[0] = 0;
        HWND item = ItemOf(hDlg, nIDDlgItem);
        if (item == nullptr || lpString == nullptr || cchMax <= 0) return 0;
        return static_cast<UINT>(DialogManager::Send(item, WM_GETTEXT, static_cast<WPARAM>(cchMax),
                                                     reinterpret_cast<LPARAM>(lpString)));
    });
}

COMUI_API BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
    return Guard<BOOL>(FALSE, [&] {
        HWND item = ItemOf(hDlg, nIDDlgItem);
        if (item == nullptr) return FALSE;
        DialogManager::Send(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString));
        return TRUE;
    });
}

COMUI_API BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    return Guard<BOOL>(FALSE, [&] {
        HWND item = ItemOf(hDlg, nIDButton);
        if (item == nullptr) return FALSE;
        DialogManager::Send(item, BM_SETCHECK, uCheck, 0);
        return TRUE;
    });
}

COMUI_API UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    return Guard<UINT>(0, [&]() -> UINT {
        HWND item = ItemOf(hDlg, nIDButton);
        if (item == nullptr) return 0;
        return static_cast<UINT>(DialogManager::Send(item, BM_GETCHECK, 0, 0));
    });
}

COMUI_API BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton,
                                int nIDCheckButton) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr dialog = Find(hDlg);
        if (dialog == nullptr) return FALSE;
        for (HWND child : dialog->children) {
            WindowPtr control = Find(child);
            if (control == nullptr || control->IsDialog()) continue;
            if (control->id < nIDFirstButton || control->id > nIDLastButton) continue;
            DialogManager::Send(child, BM_SETCHECK,
                                control->id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        return TRUE;
    });
}

COMUI_API int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    return Guard<int>(0, [&]() -> int {
        if (lpString != nullptr && nMaxCount > 0) lpString[0] = 0;
        if (lpString == nullptr || nMaxCount <= 0 || Find(hWnd) == nullptr) return 0;
        return static_cast<int>(DialogManager::Send(
            hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
    });
}

COMUI_API int GetWindowTextLengthW(HWND hWnd) {
    return Guard<int>(0, [&] {
        LRESULT length = DialogManager::Send(hWnd, WM_GETTEXTLENGTH, 0, 0);
        return static_cast<int>(std::min<LRESULT>(length, INT_MAX));
    });
}

COMUI_API BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    return Guard<BOOL>(FALSE, [&] {
        if (Find(hWnd) == nullptr) return FALSE;
        DialogManager::Send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString));
        return TRUE;
    });
}

COMUI_API int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    return Guard<int>(0, [&] {
        WindowPtr window = Find(hWnd);
        if (window == nullptr) return 0;
        const char16_t* name = u"#32770";
        if (window->kind == WindowKind::Button) name = u"Button";
        if (window->kind == WindowKind::Edit) name = u"Edit";
        if (window->kind == WindowKind::Static) name = u"Static";
        return CopyTextOut(name, lpClassName, nMaxCount);
    });
}

COMUI_API LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex) {
    return Guard<LONG_PTR>(0, [&]() -> LONG_PTR {
        WindowPtr window = Find(hWnd);
        if (window == nullptr) return 0;
        switch (nIndex) {
            case GWL_STYLE:
                return static_cast<LONG_PTR>(window->style);
            case GWL_EXSTYLE:
                return static_cast<LONG_PTR>(window->exStyle);
            case GWL_ID:
                return window->id;
            case GWLP_USERDATA:
                return window->userData;
            case DWLP_MSGRESULT:
                return window->IsDialog() ? window->msgResult : 0;
            case DWLP_USER:
                return window->IsDialog() ? window->dialogUser : 0;
            default:
                return 0;
        }
    });
}

COMUI_API LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    return Guard<LONG_PTR>(0, [&]() -> LONG_PTR {
        WindowPtr window = Find(hWnd);
        if (window == nullptr) return 0;
        LONG_PTR previous = GetWindowLongPtrW(hWnd, nIndex);
        switch (nIndex) {
            case GWL_STYLE:
                window->style = static_cast<DWORD>(dwNewLong);
                break;
            case GWL_EXSTYLE:
                window->exStyle = static_cast<DWORD>(dwNewLong);
                break;
            case GWL_ID:
                window->id = static_cast<int>(dwNewLong);
                break;
            case GWLP_USERDATA:
                window->userData = dwNewLong;
                break;
            case DWLP_MSGRESULT:
                if (window->IsDialog()) window->msgResult = dwNewLong;
                break;
            case DWLP_USER:
                if (window->IsDialog()) window->dialogUser = dwNewLong;
                break;
            default:
                return 0;
        }
        return previous;
    });
}

COMUI_API HWND GetParent(HWND hWnd) {
    return Guard<HWND>(nullptr, [&]() -> HWND {
        WindowPtr window = Find(hWnd);
        if (window == nullptr || Find(window->parent) == nullptr) return nullptr;
        return window->parent;
    });
}

COMUI_API HWND SetFocus(HWND hWnd) {
    return Guard<HWND>(nullptr, [&]() -> HWND {
        HWND previous = nullptr;
        if (!DialogManager::SetFocusTo(hWnd, &previous)) return nullptr;
        return Find(previous) == nullptr ? nullptr : previous;
    });
}

COMUI_API HWND GetFocus() {
    return Guard<HWND>(nullptr, [&]() -> HWND {
        HWND focus = WindowTable::Instance().Focus();
        return Find(focus) == nullptr ? nullptr : focus;
    });
}

COMUI_API BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hWnd);
        if (window == nullptr) return FALSE;
        BOOL wasVisible = window->visible ? TRUE : FALSE;
        window->visible = nCmdShow != SW_HIDE;
        return wasVisible;
    });
}

COMUI_API BOOL IsWindowVisible(HWND hWnd) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hWnd);
        return window != nullptr && window->visible ? TRUE : FALSE;
    });
}

COMUI_API BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hWnd);
        if (window == nullptr) return FALSE;
        BOOL wasDisabled = window->enabled ? FALSE : TRUE;
        window->enabled = bEnable != FALSE;
        return wasDisabled;
    });
}

COMUI_API BOOL IsWindowEnabled(HWND hWnd) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hWnd);
        return window != nullptr && window->enabled ? TRUE : FALSE;
    });
}

COMUI_API BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    (void)bRepaint;
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hWnd);
        if (window == nullptr) return FALSE;
        window->rect.left = X;
        window->rect.top = Y;
        window->rect.right = static_cast<LONG>(
            std::min<long long>(static_cast<long long>(X) + std::max(nWidth, 0), INT_MAX));
        window->rect.bottom = static_cast<LONG>(
            std::min<long long>(static_cast<long long>(Y) + std::max(nHeight, 0), INT_MAX));
        return TRUE;
    });
}

COMUI_API BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hWnd);
        if (window == nullptr || lpRect == nullptr) return FALSE;
        *lpRect = DialogManager::ScreenRect(*window);
        return TRUE;
    });
}

COMUI_API BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hWnd);
        if (window == nullptr || lpRect == nullptr) return FALSE;
        // Windows here have no frame: the client area is the whole window.
        lpRect->left = 0;
        lpRect->top = 0;
        lpRect->right = window->rect.right - window->rect.left;
        lpRect->bottom = window->rect.bottom - window->rect.top;
        return TRUE;
    });
}

COMUI_API BOOL MapDialogRect(HWND hDlg, LPRECT lpRect) {
    return Guard<BOOL>(FALSE, [&] {
        WindowPtr window = Find(hDlg);
        if (window == nullptr || !window->IsDialog() || lpRect == nullptr) return FALSE;
        auto mapX = [&](LONG v) {
            return static_cast<LONG>(static_cast<long long>(v) * window->baseUnitX / 4);
        };
        auto mapY = [&](LONG v) {
            return static_cast<LONG>(static_cast<long long>(v) * window->baseUnitY / 8);
        };
        lpRect->left = mapX(lpRect->left);
        lpRect->right = mapX(lpRect->right);
        lpRect->top = mapY(lpRect->top);
        lpRect->bottom = mapY(lpRect->bottom);
        return TRUE;
    });
}

COMUI_API int GetSystemMetrics(int nIndex) {
    if (nIndex == SM_CXSCREEN) return kScreenWidth;
    if (nIndex == SM_CYSCREEN) return kScreenHeight;
    return 0;
}

COMUI_API BOOL GetDialogTemplateSize(const DialogTemplate* dialogTemplate, SIZE* size) {
    return Guard<BOOL>(FALSE, [&] {
        if (dialogTemplate == nullptr || size == nullptr) return FALSE;
        int baseX = 0;
        int baseY = 0;
        DialogManager::TemplateBaseUnits(*dialogTemplate, &baseX, &baseY);
        size->cx = std::max(0, static_cast<int>(dialogTemplate->cx)) * baseX / 4;
        size->cy = std::max(0, static_cast<int>(dialogTemplate->cy)) * baseY / 8;
        return TRUE;
    });
}
