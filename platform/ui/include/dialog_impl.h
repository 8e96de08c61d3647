// CDialogImpl: a dialog class whose template is the module's dialog resource T::IDD and whose
// messages go to T's message map. DoModal runs it on the current dialog host; Create makes a
// modeless or child dialog (a property page).
#pragma once

#include "message_map.h"
#include "this_module.h"
#include "window.h"

// The dialog template a module holds as its RT_DIALOG resource id; null when there is none.
inline const DialogTemplate* FindDialogTemplate(HINSTANCE instance, UINT id) noexcept {
    HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (resource == nullptr) return nullptr;
    const void* data = ::LockResource(::LoadResource(instance, resource));
    if (data == nullptr || ::SizeofResource(instance, resource) < sizeof(DialogTemplate)) {
        return nullptr;
    }
    return static_cast<const DialogTemplate*>(data);
}

template <class T, class TBase = CWindow>
class CDialogImpl : public TBase {
  public:
    CDialogImpl() = default;
    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;
    ~CDialogImpl() {
        // A window must never call into an object that is gone.
        if (this->m_hWnd != nullptr) {
            ::SetDialogMessageProc(this->m_hWnd, nullptr, nullptr);
            ::DestroyWindow(this->m_hWnd);
            this->m_hWnd = nullptr;
        }
    }

    // The template of T::IDD in this module's resources.
    static const DialogTemplate* GetDialogTemplate() noexcept {
        return FindDialogTemplate(_AtlBaseModule.GetResourceInstance(), static_cast<UINT>(T::IDD));
    }

    INT_PTR DoModal(HWND hWndParent = nullptr, LPARAM dwInitParam = 0) {
        return DoModalIndirect(GetDialogTemplate(), hWndParent, dwInitParam);
    }
    HWND Create(HWND hWndParent, LPARAM dwInitParam = 0) {
        return CreateIndirect(GetDialogTemplate(), hWndParent, dwInitParam);
    }
    HWND Create(HWND hWndParent, RECT& rect, LPARAM dwInitParam = 0) {
        HWND hWnd = Create(hWndParent, dwInitParam);
        if (hWnd != nullptr) this->MoveWindow(&rect, FALSE);
        return hWnd;
    }

    // The same from a template given directly rather than found in the resources.
    INT_PTR DoModalIndirect(const DialogTemplate* dialogTemplate, HWND hWndParent = nullptr,
                            LPARAM dwInitParam = 0) {
        if (this->m_hWnd != nullptr) return -1;
        return ::DialogBoxFromTemplate(dialogTemplate, hWndParent, &CDialogImpl::DialogProc,
                                       static_cast<T*>(this), dwInitParam);
    }
    HWND CreateIndirect(const DialogTemplate* dialogTemplate, HWND hWndParent,
                        LPARAM dwInitParam = 0) {
        if (this->m_hWnd != nullptr) return nullptr;
        return ::CreateDialogFromTemplate(dialogTemplate, hWndParent, &CDialogImpl::DialogProc,
                                          static_cast<T*>(this), dwInitParam);
    }

    BOOL EndDialog(int nRetCode) { return ::EndDialog(this->m_hWnd, nRetCode); }
    BOOL DestroyWindow() {
        if (this->m_hWnd == nullptr) return FALSE;
        return ::DestroyWindow(this->m_hWnd);
    }

  private:
    static BOOL DialogProc(void* context, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                           LRESULT* result) {
        T* self = static_cast<T*>(context);
        // The first message a dialog gets (WM_INITDIALOG) tells the object its handle.
        if (self->m_hWnd == nullptr) self->m_hWnd = hWnd;
        BOOL handled = FALSE;
        LRESULT lResult = 0;
        try {
            handled = self->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
        } catch (...) {
            handled = FALSE;
        }
        if (uMsg == WM_NCDESTROY && self->m_hWnd == hWnd) self->m_hWnd = nullptr;
        *result = lResult;
        return handled;
    }
};
