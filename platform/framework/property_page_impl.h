// IPropertyPageImpl: a property page whose window is T's dialog (T derives from CDialogImpl),
// created as a child of the page frame's window while the page is active.
#pragma once

#include <algorithm>
#include <vector>

#include "com_guard.h"
#include "com_interfaces.h"
#include "com_runtime.h"
#include "dialog_impl.h"
#include "message_map.h"
#include "this_module.h"

// Text of a string resource of a module, empty when there is none; allocated for the caller.
inline LPOLESTR LoadPageString(HINSTANCE instance, DWORD id) noexcept {
    std::vector<WCHAR> buffer;
    int length = 0;
    if (id != 0) {
        // LoadStringW fills what fits; a text that filled the buffer may have been cut.
        for (size_t size = 256; size <= 65536; size *= 4) {
            buffer.assign(size, 0);
            length = ::LoadStringW(instance, id, buffer.data(), static_cast<int>(size));
            if (length < 0) length = 0;
            if (static_cast<size_t>(length) < size - 1) break;
        }
    }
    auto* text = static_cast<LPOLESTR>(
        ::CoTaskMemAlloc((static_cast<size_t>(length) + 1) * sizeof(OLECHAR)));
    if (text == nullptr) return nullptr;
    std::copy_n(buffer.data(), length, text);
    text[length] = 0;
    return text;
}

template <class T>
class IPropertyPageImpl : public IPropertyPage {
  public:
    IPropertyPageSite* m_pPageSite = nullptr;
    IUnknown** m_ppUnk = nullptr;  // the objects the page edits, each held
    ULONG m_nObjects = 0;
    BOOL m_bDirty = FALSE;
    DWORD m_dwTitleID = 0;
    DWORD m_dwHelpFileID = 0;
    DWORD m_dwDocStringID = 0;
    DWORD m_dwHelpContext = 0;
    SIZE m_size{};  // pixels, from the page's dialog template

    IPropertyPageImpl() {
        const DialogTemplate* dialogTemplate =
            FindDialogTemplate(_AtlBaseModule.GetResourceInstance(), static_cast<UINT>(T::IDD));
        if (dialogTemplate != nullptr) ::GetDialogTemplateSize(dialogTemplate, &m_size);
    }
    IPropertyPageImpl(const IPropertyPageImpl&) = delete;
    IPropertyPageImpl& operator=(const IPropertyPageImpl&) = delete;
    virtual ~IPropertyPageImpl() {
        if (m_pPageSite != nullptr) m_pPageSite->Release();
        ReleaseObjects();
    }

    // Sets the dirty flag; the site hears of it when the page turns dirty.
    void SetDirty(BOOL bDirty) {
        bool turnsDirty = bDirty && !m_bDirty;
        m_bDirty = bDirty ? TRUE : FALSE;
        if (turnsDirty && m_pPageSite != nullptr) {
            m_pPageSite->OnStatusChange(PROPPAGESTATUS_DIRTY);
        }
    }

    // The page framework's own messages: none that need handling here, but page classes chain
    // to this map first, as they do on the platform.
    BEGIN_MSG_MAP(IPropertyPageImpl<T>)
    END_MSG_MAP()

    STDMETHOD(SetPageSite)(IPropertyPageSite* pPageSite) override {
        return ComGuard([&]() -> HRESULT {
            if (pPageSite != nullptr && m_pPageSite != nullptr) return E_UNEXPECTED;
            if (pPageSite != nullptr) pPageSite->AddRef();
            if (m_pPageSite != nullptr) m_pPageSite->Release();
            m_pPageSite = pPageSite;
            return S_OK;
        });
    }

    STDMETHOD(Activate)(HWND hWndParent, LPCRECT pRect, BOOL bModal) override {
        static_cast<void>(bModal);
        return ComGuard([&]() -> HRESULT {
            if (pRect == nullptr) return E_POINTER;
            T* page = static_cast<T*>(this);
            if (page->m_hWnd != nullptr) return E_UNEXPECTED;
            if (page->Create(hWndParent) == nullptr) return E_FAIL;
            page->MoveWindow(pRect, FALSE);
            return S_OK;
        });
    }

    STDMETHOD(Deactivate)() override {
        return ComGuard([&]() -> HRESULT {
            T* page = static_cast<T*>(this);
            if (page->m_hWnd == nullptr) return S_OK;
            page->DestroyWindow();
            return S_OK;
        });
    }

    STDMETHOD(GetPageInfo)(PROPPAGEINFO* pPageInfo) override {
        return ComGuard([&]() -> HRESULT {
            if (pPageInfo == nullptr) return E_POINTER;
            HINSTANCE instance = _AtlBaseModule.GetResourceInstance();
            LPOLESTR title = LoadPageString(instance, m_dwTitleID);
            LPOLESTR docString = LoadPageString(instance, m_dwDocStringID);
            LPOLESTR helpFile = LoadPageString(instance, m_dwHelpFileID);
            if (title == nullptr || docString == nullptr || helpFile == nullptr) {
                ::CoTaskMemFree(title);
                ::CoTaskMemFree(docString);
                ::CoTaskMemFree(helpFile);
                return E_OUTOFMEMORY;
            }
            pPageInfo->cb = sizeof(PROPPAGEINFO);
            pPageInfo->pszTitle = title;
            pPageInfo->size = m_size;
            pPageInfo->pszDocString = docString;
            pPageInfo->pszHelpFile = helpFile;
            pPageInfo->dwHelpContext = m_dwHelpContext;
            return S_OK;
        });
    }

    STDMETHOD(SetObjects)(ULONG cObjects, IUnknown** ppUnk) override {
        return ComGuard([&]() -> HRESULT {
            if (cObjects != 0 && ppUnk == nullptr) return E_POINTER;
            IUnknown** objects = cObjects == 0 ? nullptr : new IUnknown*[cObjects];
            for (ULONG i = 0; i < cObjects; ++i) {
                objects[i] = ppUnk[i];
                if (objects[i] != nullptr) objects[i]->AddRef();
            }
            ReleaseObjects();
            m_ppUnk = objects;
            m_nObjects = cObjects;
            return S_OK;
        });
    }

    STDMETHOD(Show)(UINT nCmdShow) override {
        return ComGuard([&]() -> HRESULT {
            T* page = static_cast<T*>(this);
            if (page->m_hWnd == nullptr) return E_UNEXPECTED;
            page->ShowWindow(static_cast<int>(nCmdShow));
            return S_OK;
        });
    }

    STDMETHOD(Move)(LPCRECT pRect) override {
        return ComGuard([&]() -> HRESULT {
            if (pRect == nullptr) return E_POINTER;
            T* page = static_cast<T*>(this);
            if (page->m_hWnd == nullptr) return E_UNEXPECTED;
            page->MoveWindow(pRect, TRUE);
            return S_OK;
        });
    }

    STDMETHOD(IsPageDirty)() override { return m_bDirty ? S_OK : S_FALSE; }
    STDMETHOD(Apply)() override { return S_OK; }
    // No help viewer here: the frame shows its own help.
    STDMETHOD(Help)(LPCOLESTR pszHelpDir) override {
        static_cast<void>(pszHelpDir);
        return E_NOTIMPL;
    }
    STDMETHOD(TranslateAccelerator)(MSG* pMsg) override {
        return pMsg == nullptr ? E_POINTER : S_FALSE;
    }

  private:
    void ReleaseObjects() noexcept {
        for (ULONG i = 0; i < m_nObjects; ++i) {
            if (m_ppUnk[i] != nullptr) m_ppUnk[i]->Release();
        }
        delete[] m_ppUnk;
        m_ppUnk = nullptr;
        m_nObjects = 0;
    }
};
