// Property maps: the persisted data members and the property pages of a class, shared by
// ISpecifyPropertyPagesImpl and IPersistPropertyBagImpl.
#pragma once

#include <utility>

#include "com_base.h"

struct ATL_PROPMAP_ENTRY {
    LPCOLESTR szDesc;
    const CLSID* pclsidPropPage;     // &CLSID_NULL for a data entry; null ends the map
    void* (*pfnData)(void* object);  // the member's address in a given object; null for pages
    DWORD dwSizeData;
    VARTYPE vt;
};

inline bool IsPropMapEnd(const ATL_PROPMAP_ENTRY& entry) {
    return entry.szDesc == nullptr && entry.pclsidPropPage == nullptr && entry.pfnData == nullptr;
}

// szDesc is a string literal, narrow or u"": both become UTF-16.
#define BEGIN_PROP_MAP(theClass)                       \
    using _PropMapClass = theClass;                    \
    static const ATL_PROPMAP_ENTRY* GetPropertyMap() { \
        static const ATL_PROPMAP_ENTRY pPropMap[] = {
#define PROP_DATA_ENTRY(szDesc, member, vt)                                       \
    {u"" szDesc, &CLSID_NULL,                                                     \
     [](void* object) -> void* {                                                  \
         return static_cast<void*>(&static_cast<_PropMapClass*>(object)->member); \
     },                                                                           \
     static_cast<DWORD>(sizeof(std::declval<_PropMapClass&>().member)), vt},

#define PROP_PAGE(clsid) {nullptr, &(clsid), nullptr, 0, VT_EMPTY},

// A property reached through a dispatch id on the platform; here it names its page and type.
#define PROP_ENTRY_TYPE(szDesc, dispid, clsid, vt) {u"" szDesc, &(clsid), nullptr, 0, vt},
#define PROP_ENTRY(szDesc, dispid, clsid) PROP_ENTRY_TYPE(szDesc, dispid, clsid, VT_EMPTY)

#define END_PROP_MAP()                  \
    { nullptr, nullptr, nullptr, 0, 0 } \
    }                                   \
    ;                                   \
    return pPropMap;                    \
    }
