// The root of every framework object: its reference count, the outer unknown when aggregated,
// construction hooks, and the table-driven QueryInterface behind the interface map macros.
#pragma once

#include "com_base.h"
#include "com_thread_model.h"

// One row of an interface map. A plain row casts the object to the interface; a chain row
// (pfnCast null) hands the request to a base class's own map.
struct _ATL_INTMAP_ENTRY {
    const IID* piid;
    IUnknown* (*pfnCast)(void* pThis);
    HRESULT (*pfnChain)(void* pThis, REFIID riid, void** ppv);
};

class CComObjectRootBase {
  public:
    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}
    HRESULT _AtlInitialConstruct() { return S_OK; }
    HRESULT _AtlFinalConstruct() { return S_OK; }
    void _AtlFinalRelease() {}
    void InternalFinalConstructAddRef() {}
    void InternalFinalConstructRelease() {}
    void SetVoid(void*) {}
    static void ObjectMain(bool) {}

    ULONG OuterAddRef() { return m_pOuterUnknown->AddRef(); }
    ULONG OuterRelease() { return m_pOuterUnknown->Release(); }
    HRESULT OuterQueryInterface(REFIID iid, void** ppvObject) {
        return m_pOuterUnknown->QueryInterface(iid, ppvObject);
    }

    // Walks a map: IID_IUnknown answers the first row; chains are asked in their place.
    static HRESULT InternalQueryInterface(void* pThis, const _ATL_INTMAP_ENTRY* entries, REFIID iid,
                                          void** ppvObject) {
        if (ppvObject == nullptr) return E_POINTER;
        *ppvObject = nullptr;
        if (pThis == nullptr || entries == nullptr || entries[0].pfnCast == nullptr)
            return E_UNEXPECTED;
        if (iid == IID_IUnknown) return Answer(entries[0].pfnCast(pThis), ppvObject);
        for (const _ATL_INTMAP_ENTRY* entry = entries;
             entry->pfnCast != nullptr || entry->pfnChain != nullptr; ++entry) {
            if (entry->pfnCast == nullptr) {
                if (SUCCEEDED(entry->pfnChain(pThis, iid, ppvObject))) return S_OK;
                *ppvObject = nullptr;
            } else if (entry->piid != nullptr && *entry->piid == iid) {
                return Answer(entry->pfnCast(pThis), ppvObject);
            }
        }
        return E_NOINTERFACE;
    }

    LONG m_dwRef = 0;
    IUnknown* m_pOuterUnknown = nullptr;

  private:
    static HRESULT Answer(IUnknown* unknown, void** ppvObject) {
        unknown->AddRef();
        *ppvObject = unknown;
        return S_OK;
    }
};

template <class ThreadModel>
class CComObjectRootEx;

// Holds an object's own lock for a scope.
template <class ThreadModel>
class CComObjectLockT {
  public:
    explicit CComObjectLockT(CComObjectRootEx<ThreadModel>* object) : m_object(object) {
        if (m_object != nullptr) m_object->Lock();
    }
    CComObjectLockT(const CComObjectLockT&) = delete;
    CComObjectLockT& operator=(const CComObjectLockT&) = delete;
    ~CComObjectLockT() {
        if (m_object != nullptr) m_object->Unlock();
    }

  private:
    CComObjectRootEx<ThreadModel>* m_object;
};

template <class ThreadModel>
class CComObjectRootEx : public CComObjectRootBase {
  public:
    using _ThreadModel = ThreadModel;
    using ObjectLock = CComObjectLockT<ThreadModel>;
    using _CritSec = typename ThreadModel::AutoCriticalSection;

    ULONG InternalAddRef() { return ThreadModel::Increment(&m_dwRef); }
    ULONG InternalRelease() { return ThreadModel::Decrement(&m_dwRef); }
    void Lock() { m_critsec.Lock(); }
    void Unlock() { m_critsec.Unlock(); }

    _CritSec m_critsec;
};

using CComObjectRoot = CComObjectRootEx<CComObjectThreadModel>;

// Keeps an object alive while its FinalConstruct hands out and releases references to itself.
#define DECLARE_PROTECT_FINAL_CONSTRUCT()                     \
    void InternalFinalConstructAddRef() { InternalAddRef(); } \
    void InternalFinalConstructRelease() { InternalRelease(); }

// Interface map: a static table of rows in declared order. The first row must be a plain
// interface row; it is the object's identity (QueryInterface(IID_IUnknown), GetUnknown()).
#define BEGIN_COM_MAP(x)                                                                        \
  public:                                                                                       \
    using _ComMapClass = x;                                                                     \
    HRESULT _InternalQueryInterface(REFIID iid, void** ppvObject) {                             \
        return InternalQueryInterface(static_cast<void*>(this), _GetEntries(), iid, ppvObject); \
    }                                                                                           \
    IUnknown* GetUnknown() { return _GetEntries()[0].pfnCast(static_cast<void*>(this)); }       \
    static const _ATL_INTMAP_ENTRY* _GetEntries() {                                             \
        static const _ATL_INTMAP_ENTRY _entries[] = {
#define COM_INTERFACE_ENTRY_IID(iid, I)                                                     \
    {&(iid),                                                                                \
     [](void* pThis) -> IUnknown* {                                                         \
         return static_cast<IUnknown*>(static_cast<I*>(static_cast<_ComMapClass*>(pThis))); \
     },                                                                                     \
     nullptr},

#define COM_INTERFACE_ENTRY(I) COM_INTERFACE_ENTRY_IID(__uuidof(I), I)

// I reached through the base viaI, for an interface that several bases derive from.
#define COM_INTERFACE_ENTRY2_IID(iid, I, viaI)                                        \
    {&(iid),                                                                          \
     [](void* pThis) -> IUnknown* {                                                   \
         return static_cast<IUnknown*>(                                               \
             static_cast<I*>(static_cast<viaI*>(static_cast<_ComMapClass*>(pThis)))); \
     },                                                                               \
     nullptr},

#define COM_INTERFACE_ENTRY2(I, viaI) COM_INTERFACE_ENTRY2_IID(__uuidof(I), I, viaI)

#define COM_INTERFACE_ENTRY_CHAIN(BaseClass)                                      \
    {nullptr, nullptr, [](void* pThis, REFIID iid, void** ppvObject) -> HRESULT { \
         return static_cast<BaseClass*>(static_cast<_ComMapClass*>(pThis))        \
             ->BaseClass::_InternalQueryInterface(iid, ppvObject);                \
     }},

#define END_COM_MAP()                          \
    { nullptr, nullptr, nullptr }              \
    }                                          \
    ;                                          \
    return _entries;                           \
    }                                          \
    STDMETHOD_(ULONG, AddRef)() override = 0;  \
    STDMETHOD_(ULONG, Release)() override = 0; \
    STDMETHOD(QueryInterface)(REFIID, void**) override = 0;
