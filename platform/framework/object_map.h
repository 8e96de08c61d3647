// The module's object map: its creatable classes in the order they were declared, each with its
// registration, creator and cached class factory.
#pragma once

#include <mutex>

#include "atl_module.h"
#include "com_creator.h"
#include "module_local.h"

struct _ATL_OBJMAP_ENTRY {
    const CLSID* pclsid;
    HRESULT (*pfnUpdateRegistry)(BOOL bRegister);
    _ATL_CREATORFUNC* pfnGetClassObject;
    _ATL_CREATORFUNC* pfnCreateInstance;
    IUnknown* pCF;  // the cached class factory, created on first request
    LPCOLESTR (*pfnGetObjectDescription)();
    void (*pfnObjectMain)(bool bStarting);
    _ATL_OBJMAP_ENTRY* pNext;
};

// The entries of this module, linked in the order they were added. Constant-initialised, so
// entries may be added by static initialisers in any translation unit.
class CAtlComModule {
  public:
    constexpr CAtlComModule() = default;

    void AddEntry(_ATL_OBJMAP_ENTRY* entry) {
        entry->pNext = nullptr;
        if (m_last == nullptr)
            m_first = entry;
        else
            m_last->pNext = entry;
        m_last = entry;
    }
    _ATL_OBJMAP_ENTRY* GetFirstEntry() const { return m_first; }
    _ATL_OBJMAP_ENTRY* FindEntry(REFCLSID clsid) const {
        for (_ATL_OBJMAP_ENTRY* entry = m_first; entry != nullptr; entry = entry->pNext)
            if (*entry->pclsid == clsid) return entry;
        return nullptr;
    }

    // Releases the cached class factories, at module shutdown.
    void Term() {
        for (_ATL_OBJMAP_ENTRY* entry = m_first; entry != nullptr; entry = entry->pNext) {
            if (entry->pCF != nullptr) {
                IUnknown* factory = entry->pCF;
                entry->pCF = nullptr;
                factory->Release();
            }
        }
    }

  private:
    _ATL_OBJMAP_ENTRY* m_first = nullptr;
    _ATL_OBJMAP_ENTRY* m_last = nullptr;
};

COMFW_MODULE_LOCAL inline CAtlComModule _AtlComModule;
COMFW_MODULE_LOCAL inline std::mutex _AtlComModuleFactoryLock;

inline bool AtlAddObjectMapEntry(_ATL_OBJMAP_ENTRY* entry) {
    _AtlComModule.AddEntry(entry);
    return true;
}

// Looks the class up and answers riid from its (cached) class factory.
inline HRESULT AtlComModuleGetClassObject(CAtlComModule* module, REFCLSID rclsid, REFIID riid,
                                          void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (module == nullptr) return E_INVALIDARG;
    _ATL_OBJMAP_ENTRY* entry = module->FindEntry(rclsid);
    if (entry == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
    if (entry->pfnGetClassObject == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
    {
        std::lock_guard<std::mutex> guard(_AtlComModuleFactoryLock);
        if (entry->pCF == nullptr) {
            void* factory = nullptr;
            const HRESULT hr = entry->pfnGetClassObject(
                static_cast<void*>(&entry->pfnCreateInstance), IID_IUnknown, &factory);
            if (FAILED(hr)) return hr;
            entry->pCF = static_cast<IUnknown*>(factory);
        }
    }
    return entry->pCF->QueryInterface(riid, ppv);
}

#define COMFW_OBJMAP_ENTRY_INIT(clsid, class)                                                  \
    {                                                                                          \
        &(clsid), &class ::UpdateRegistry, &class ::_ClassFactoryCreatorClass::CreateInstance, \
            &class ::_CreatorClass::CreateInstance, nullptr, &class ::GetObjectDescription,    \
            &class ::ObjectMain, nullptr                                                       \
    }

// Adds the class to this module's object map; entries of one translation unit keep their order.
#define OBJECT_ENTRY_AUTO(clsid, class)                                                \
    static _ATL_OBJMAP_ENTRY __objMap_##class = COMFW_OBJMAP_ENTRY_INIT(clsid, class); \
    [[maybe_unused]] static const bool __objMapAdded_##class =                         \
        AtlAddObjectMapEntry(&__objMap_##class);

// An explicit map in one place (one per module): BEGIN_OBJECT_MAP(name) OBJECT_ENTRY(clsid,
// class)... END_OBJECT_MAP() adds its entries to the module in the order written.
inline bool AtlAddObjectMapEntries(_ATL_OBJMAP_ENTRY* entries) {
    for (_ATL_OBJMAP_ENTRY* entry = entries; entry->pclsid != nullptr; ++entry)
        AtlAddObjectMapEntry(entry);
    return true;
}
#define BEGIN_OBJECT_MAP(name)                                      \
    extern _ATL_OBJMAP_ENTRY name[];                                \
    static _ATL_OBJMAP_ENTRY* const _atlObjectMapOfThisFile = name; \
    _ATL_OBJMAP_ENTRY name[] = {
#define OBJECT_ENTRY(clsid, class) COMFW_OBJMAP_ENTRY_INIT(clsid, class),
#define END_OBJECT_MAP()                                                       \
    { nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr } \
    }                                                                          \
    ;                                                                          \
    [[maybe_unused]] static const bool _atlObjectMapAdded =                    \
        AtlAddObjectMapEntries(_atlObjectMapOfThisFile);
