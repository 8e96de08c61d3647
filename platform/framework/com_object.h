// The outermost classes that make a framework class a live COM object: reference counting,
// module locking and the aggregation forms (contained, aggregated, either).
#pragma once

#include <cstdint>
#include <new>

#include "atl_module.h"
#include "com_object_root.h"

namespace com_object_detail {
inline void LockModule() {
    if (_pAtlModule != nullptr) _pAtlModule->Lock();
}
inline void UnlockModule() {
    if (_pAtlModule != nullptr) _pAtlModule->Unlock();
}
// Keeps a destructor's FinalRelease from deleting the object a second time.
constexpr LONG kDestructingRefCount = -(INT32_MAX / 2);

// Runs the construction hooks of a new object; the caller deletes it on failure.
template <class T>
HRESULT ConstructObject(T* p, void* pv) {
    p->SetVoid(pv);
    p->InternalFinalConstructAddRef();
    HRESULT hr = p->_AtlInitialConstruct();
    if (SUCCEEDED(hr)) hr = p->FinalConstruct();
    if (SUCCEEDED(hr)) hr = p->_AtlFinalConstruct();
    p->InternalFinalConstructRelease();
    return hr;
}

// Creates T(pv), constructs it, and returns it with a reference count of 0.
template <class T>
HRESULT CreateObject(void* pv, T** pp) {
    if (pp == nullptr) return E_POINTER;
    *pp = nullptr;
    T* p = nullptr;
    try {
        p = new T(pv);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    HRESULT hr = E_FAIL;
    try {
        hr = ConstructObject(p, pv);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    } catch (...) {
        hr = E_FAIL;
    }
    if (FAILED(hr)) {
        delete p;
        return hr;
    }
    *pp = p;
    return hr;
}
}  // namespace com_object_detail

// A standalone object that keeps the module loaded while it lives.
template <class Base>
class CComObject : public Base {
  public:
    using _BaseClass = Base;

    explicit CComObject(void* = nullptr) { com_object_detail::LockModule(); }
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;
    virtual ~CComObject() {
        this->m_dwRef = com_object_detail::kDestructingRefCount;
        this->FinalRelease();
        com_object_detail::UnlockModule();
    }

    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override {
        ULONG count = this->InternalRelease();
        if (count == 0) delete this;
        return count;
    }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
        return this->_InternalQueryInterface(iid, ppvObject);
    }
    template <class Q>
    HRESULT QueryInterface(Q** pp) {
        return QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp));
    }

    // The new object has a reference count of 0; a failed construction deletes it.
    static HRESULT CreateInstance(CComObject<Base>** pp) {
        return com_object_detail::CreateObject<CComObject<Base>>(nullptr, pp);
    }
};

// Like CComObject, without the module lock: for objects whose life the module itself bounds.
template <class Base>
class CComObjectNoLock : public Base {
  public:
    using _BaseClass = Base;

    explicit CComObjectNoLock(void* = nullptr) {}
    CComObjectNoLock(const CComObjectNoLock&) = delete;
    CComObjectNoLock& operator=(const CComObjectNoLock&) = delete;
    virtual ~CComObjectNoLock() {
        this->m_dwRef = com_object_detail::kDestructingRefCount;
        this->FinalRelease();
    }

    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override {
        ULONG count = this->InternalRelease();
        if (count == 0) delete this;
        return count;
    }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
        return this->_InternalQueryInterface(iid, ppvObject);
    }

    static HRESULT CreateInstance(CComObjectNoLock<Base>** pp) {
        return com_object_detail::CreateObject<CComObjectNoLock<Base>>(nullptr, pp);
    }
};

// A cached object (a class factory the module keeps): the module holds one reference; only the
// references beyond it lock the module.
template <class Base>
class CComObjectCached : public Base {
  public:
    using _BaseClass = Base;

    explicit CComObjectCached(void* = nullptr) {}
    CComObjectCached(const CComObjectCached&) = delete;
    CComObjectCached& operator=(const CComObjectCached&) = delete;
    virtual ~CComObjectCached() {
        this->m_dwRef = com_object_detail::kDestructingRefCount;
        this->FinalRelease();
    }

    STDMETHOD_(ULONG, AddRef)() override {
        ULONG count = this->InternalAddRef();
        if (count == 2) com_object_detail::LockModule();
        return count;
    }
    STDMETHOD_(ULONG, Release)() override {
        ULONG count = this->InternalRelease();
        if (count == 0)
            delete this;
        else if (count == 1)
            com_object_detail::UnlockModule();
        return count;
    }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
        return this->_InternalQueryInterface(iid, ppvObject);
    }

    static HRESULT CreateInstance(CComObjectCached<Base>** pp) {
        return com_object_detail::CreateObject<CComObjectCached<Base>>(nullptr, pp);
    }
};

// The object inside an aggregate: its IUnknown is the outer unknown's.
template <class Base>
class CComContainedObject : public Base {
  public:
    using _BaseClass = Base;

    explicit CComContainedObject(void* pv) { this->m_pOuterUnknown = static_cast<IUnknown*>(pv); }
    CComContainedObject(const CComContainedObject&) = delete;
    CComContainedObject& operator=(const CComContainedObject&) = delete;

    STDMETHOD_(ULONG, AddRef)() override { return this->OuterAddRef(); }
    STDMETHOD_(ULONG, Release)() override { return this->OuterRelease(); }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
        return this->OuterQueryInterface(iid, ppvObject);
    }
    template <class Q>
    HRESULT QueryInterface(Q** pp) {
        return QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp));
    }
    IUnknown* GetControllingUnknown() { return this->m_pOuterUnknown; }
};

// The inner unknown of an aggregatable object: it counts its own references and answers
// IID_IUnknown with itself; every other interface comes from the contained object, whose outer
// unknown is the aggregate's (or, standalone, this object itself).
template <class Contained>
class CComInnerUnknown
    : public IUnknown,
      public CComObjectRootEx<typename Contained::_ThreadModel::ThreadModelNoCS> {
  public:
    using _BaseClass = Contained;

    CComInnerUnknown(const CComInnerUnknown&) = delete;
    CComInnerUnknown& operator=(const CComInnerUnknown&) = delete;
    virtual ~CComInnerUnknown() {
        this->m_dwRef = com_object_detail::kDestructingRefCount;
        FinalRelease();
        com_object_detail::UnlockModule();
    }

    void SetVoid(void* pv) { m_contained.SetVoid(pv); }
    HRESULT _AtlInitialConstruct() { return m_contained._AtlInitialConstruct(); }
    HRESULT FinalConstruct() { return m_contained.FinalConstruct(); }
    HRESULT _AtlFinalConstruct() { return m_contained._AtlFinalConstruct(); }
    void InternalFinalConstructAddRef() {
        this->InternalAddRef();
        m_contained.InternalFinalConstructAddRef();
    }
    void InternalFinalConstructRelease() {
        m_contained.InternalFinalConstructRelease();
        this->InternalRelease();
    }
    void FinalRelease() { m_contained.FinalRelease(); }

    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override {
        ULONG count = this->InternalRelease();
        if (count == 0) delete this;
        return count;
    }
    STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        *ppvObject = nullptr;
        if (iid == IID_IUnknown) {
            *ppvObject = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return m_contained._InternalQueryInterface(iid, ppvObject);
    }

    CComContainedObject<Contained> m_contained;

  protected:
    // A null outer makes the object its own outer unknown.
    explicit CComInnerUnknown(void* outer)
        : m_contained(outer != nullptr ? outer : static_cast<void*>(static_cast<IUnknown*>(this))) {
        com_object_detail::LockModule();
    }
};

// An object created only aggregated.
template <class Contained>
class CComAggObject : public CComInnerUnknown<Contained> {
  public:
    explicit CComAggObject(void* pv) : CComInnerUnknown<Contained>(pv) {}

    static HRESULT CreateInstance(IUnknown* pUnkOuter, CComAggObject<Contained>** pp) {
        if (pUnkOuter == nullptr) {
            if (pp != nullptr) *pp = nullptr;
            return CLASS_E_NOAGGREGATION;
        }
        return com_object_detail::CreateObject<CComAggObject<Contained>>(pUnkOuter, pp);
    }
};

// An object that may be created aggregated or standalone: standalone, its contained object's
// outer unknown is this object itself.
template <class Contained>
class CComPolyObject : public CComInnerUnknown<Contained> {
  public:
    explicit CComPolyObject(void* pv) : CComInnerUnknown<Contained>(pv) {}

    using CComInnerUnknown<Contained>::QueryInterface;
    template <class Q>
    HRESULT QueryInterface(Q** pp) {
        return QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp));
    }

    // pUnkOuter null creates a standalone object.
    static HRESULT CreateInstance(IUnknown* pUnkOuter, CComPolyObject<Contained>** pp) {
        return com_object_detail::CreateObject<CComPolyObject<Contained>>(pUnkOuter, pp);
    }
};
