// CWindow: a thin wrapper of a window handle with the template library's member names.
#pragma once

#include <algorithm>

#include "win_ui.h"

class CWindow {
  public:
    HWND m_hWnd;

    CWindow(HWND hWnd = nullptr) noexcept : m_hWnd(hWnd) {}
    CWindow& operator=(HWND hWnd) noexcept {
        m_hWnd = hWnd;
        return *this;
    }
    operator HWND() const noexcept { return m_hWnd; }

    void Attach(HWND hWndNew) noexcept { m_hWnd = hWndNew; }
    HWND Detach() noexcept {
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        return hWnd;
    }

    BOOL IsWindow() const noexcept { return ::IsWindow(m_hWnd); }
    BOOL DestroyWindow() noexcept {
        if (!::DestroyWindow(m_hWnd)) return FALSE;
        m_hWnd = nullptr;
        return TRUE;
    }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }

    HWND GetDlgItem(int nID) const noexcept { return ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const noexcept { return ::GetDlgCtrlID(m_hWnd); }
    UINT GetDlgItemText(int nID, LPWSTR lpStr, int nMaxCount) const noexcept {
        return ::GetDlgItemTextW(m_hWnd, nID, lpStr, nMaxCount);
    }
    BOOL SetDlgItemText(int nID, LPCWSTR lpszString) const noexcept {
        return ::SetDlgItemTextW(m_hWnd, nID, lpszString);
    }
    BOOL CheckDlgButton(int nIDButton, UINT nCheck) const noexcept {
        return ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
    }
    UINT IsDlgButtonChecked(int nIDButton) const noexcept {
        return ::IsDlgButtonChecked(m_hWnd, nIDButton);
    }
    BOOL CheckRadioButton(int nIDFirstButton, int nIDLastButton,
                          int nIDCheckButton) const noexcept {
        return ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
    }
    // Moves the focus the way a dialog does it, through WM_NEXTDLGCTL.
    void GotoDlgCtrl(HWND hWndCtrl) const noexcept {
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hWndCtrl), 1);
    }
    void NextDlgCtrl() const noexcept { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const noexcept { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

    int GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const noexcept {
        return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
    }
    int GetWindowTextLength() const noexcept { return ::GetWindowTextLengthW(m_hWnd); }
    BOOL SetWindowText(LPCWSTR lpszString) noexcept { return ::SetWindowTextW(m_hWnd, lpszString); }

    HWND GetParent() const noexcept { return ::GetParent(m_hWnd); }
    HWND SetFocus() noexcept { return ::SetFocus(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) noexcept { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const noexcept { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) noexcept { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const noexcept { return ::IsWindowEnabled(m_hWnd); }
    DWORD GetStyle() const noexcept {
        return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    }
    LONG_PTR GetWindowLongPtr(int nIndex) const noexcept {
        return ::GetWindowLongPtrW(m_hWnd, nIndex);
    }
    LONG_PTR SetWindowLongPtr(int nIndex, LONG_PTR dwNewLong) noexcept {
        return ::SetWindowLongPtrW(m_hWnd, nIndex, dwNewLong);
    }

    BOOL MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) noexcept {
        return ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    BOOL MoveWindow(const RECT* lpRect, BOOL bRepaint = TRUE) noexcept {
        if (lpRect == nullptr) return FALSE;
        return ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                            lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL GetWindowRect(LPRECT lpRect) const noexcept { return ::GetWindowRect(m_hWnd, lpRect); }
    BOOL GetClientRect(LPRECT lpRect) const noexcept { return ::GetClientRect(m_hWnd, lpRect); }
    BOOL MapDialogRect(LPRECT lpRect) const noexcept { return ::MapDialogRect(m_hWnd, lpRect); }

    // Centres the window over hWndCenter, by default its parent or owner, else the screen; a
    // top-level window is kept on the screen.
    BOOL CenterWindow(HWND hWndCenter = nullptr) noexcept {
        RECT own{};
        if (!::GetWindowRect(m_hWnd, &own)) return FALSE;
        if (hWndCenter == nullptr) hWndCenter = ::GetParent(m_hWnd);
        RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        RECT center = area;
        if (hWndCenter != nullptr && !::GetWindowRect(hWndCenter, &center)) center = area;
        long long width = own.right - own.left;
        long long height = own.bottom - own.top;
        long long left = (static_cast<long long>(center.left) + center.right) / 2 - width / 2;
        long long top = (static_cast<long long>(center.top) + center.bottom) / 2 - height / 2;
        bool child = (GetStyle() & WS_CHILD) != 0;
        if (!child) {
            left = std::max<long long>(area.left, std::min<long long>(left, area.right - width));
            top = std::max<long long>(area.top, std::min<long long>(top, area.bottom - height));
        } else {
            RECT parent{};
            if (::GetWindowRect(::GetParent(m_hWnd), &parent)) {
                left -= parent.left;
                top -= parent.top;
            }
        }
        return ::MoveWindow(m_hWnd, static_cast<int>(left), static_cast<int>(top),
                            static_cast<int>(width), static_cast<int>(height), FALSE);
    }
};
