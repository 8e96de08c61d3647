// ISpecifyPropertyPages over the property map's pages: in map order, each class id once.
#pragma once

#include <vector>

#include "com_guard.h"
#include "com_interfaces.h"
#include "com_runtime.h"
#include "property_map.h"

// The distinct page class ids of a property map, in map order.
inline std::vector<CLSID> CollectPropertyPages(const ATL_PROPMAP_ENTRY* map) {
    std::vector<CLSID> pages;
    for (const ATL_PROPMAP_ENTRY* entry = map; entry != nullptr && !IsPropMapEnd(*entry); ++entry) {
        if (entry->pclsidPropPage == nullptr || *entry->pclsidPropPage == CLSID_NULL) continue;
        bool seen = false;
        for (const CLSID& page : pages) seen = seen || page == *entry->pclsidPropPage;
        if (!seen) pages.push_back(*entry->pclsidPropPage);
    }
    return pages;
}

template <class T>
class ISpecifyPropertyPagesImpl : public ISpecifyPropertyPages {
  public:
    // The array is allocated with CoTaskMemAlloc for the caller; none at all for no pages.
    STDMETHOD(GetPages)(CAUUID* pPages) override {
        return ComGuard([&]() -> HRESULT {
            if (pPages == nullptr) return E_POINTER;
            pPages->cElems = 0;
            pPages->pElems = nullptr;
            const std::vector<CLSID> pages = CollectPropertyPages(T::GetPropertyMap());
            if (pages.empty()) return S_OK;
            auto* elems = static_cast<GUID*>(CoTaskMemAlloc(pages.size() * sizeof(GUID)));
            if (elems == nullptr) return E_OUTOFMEMORY;
            for (size_t i = 0; i < pages.size(); ++i) elems[i] = pages[i];
            pPages->cElems = static_cast<ULONG>(pages.size());
            pPages->pElems = elems;
            return S_OK;
        });
    }
};
