// Smart interface pointers: CComPtr holds one reference; CComQIPtr also queries on assignment.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

#include "com_base.h"
#include "com_runtime.h"

template <class T>
class CComPtr {
  public:
    CComPtr() noexcept = default;
    CComPtr(T* lp) noexcept : p(lp) {  // NOLINT(google-explicit-constructor): as published
        if (p != nullptr) p->AddRef();
    }
    CComPtr(const CComPtr& other) noexcept : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* lp) noexcept {
        if (lp != p) {
            if (lp != nullptr) lp->AddRef();
            T* old = p;
            p = lp;
            if (old != nullptr) old->Release();
        }
        return *this;
    }
    // Self-assignment is safe: the T* overload takes the new reference first.
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment)
    CComPtr& operator=(const CComPtr& other) noexcept { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != std::addressof(other)) {
            T* old = p;
            p = other.p;
            other.p = nullptr;
            if (old != nullptr) old->Release();
        }
        return *this;
    }

    operator T*() const noexcept { return p; }  // NOLINT(google-explicit-constructor)
    T& operator*() const noexcept { return *p; }
    T* operator->() const noexcept { return p; }
    // For out-parameters; the pointer must be empty.
    T** operator&() noexcept { return &p; }
    bool operator!() const noexcept { return p == nullptr; }
    bool operator==(T* other) const noexcept { return p == other; }
    bool operator!=(T* other) const noexcept { return p != other; }
    bool operator==(std::nullptr_t) const noexcept { return p == nullptr; }
    bool operator!=(std::nullptr_t) const noexcept { return p != nullptr; }

    void Release() noexcept {
        T* old = p;
        p = nullptr;
        if (old != nullptr) old->Release();
    }
    void Attach(T* other) noexcept {
        T* old = p;
        p = other;
        if (old != nullptr) old->Release();
    }
    T* Detach() noexcept { return std::exchange(p, nullptr); }
    HRESULT CopyTo(T** ppT) const noexcept {
        if (ppT == nullptr) return E_POINTER;
        *ppT = p;
        if (p != nullptr) p->AddRef();
        return S_OK;
    }
    template <class Q>
    HRESULT QueryInterface(Q** pp) const noexcept {
        if (pp == nullptr) return E_POINTER;
        *pp = nullptr;
        if (p == nullptr) return E_POINTER;
        return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp));
    }
    // Whether both point at the same object (compared by their IUnknown).
    bool IsEqualObject(IUnknown* other) const noexcept {
        if (p == nullptr || other == nullptr) return p == nullptr && other == nullptr;
        IUnknown* mine = nullptr;
        IUnknown* theirs = nullptr;
        p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&mine));
        other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&theirs));
        const bool same = mine != nullptr && mine == theirs;
        if (mine != nullptr) mine->Release();
        if (theirs != nullptr) theirs->Release();
        return same;
    }
    HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter = nullptr,
                             DWORD dwClsContext = CLSCTX_ALL) noexcept {
        Release();
        return ::CoCreateInstance(rclsid, pUnkOuter, dwClsContext, __uuidof(T),
                                  reinterpret_cast<void**>(&p));
    }

    T* p = nullptr;
};

template <class T, const IID* piid = &__uuidof(T)>
class CComQIPtr : public CComPtr<T> {
  public:
    CComQIPtr() noexcept = default;
    CComQIPtr(T* lp) noexcept : CComPtr<T>(lp) {}  // NOLINT(google-explicit-constructor)
    CComQIPtr(const CComQIPtr& other) noexcept : CComPtr<T>(other.p) {}
    CComQIPtr(CComQIPtr&& other) noexcept : CComPtr<T>(std::move(other)) {}
    // NOLINTNEXTLINE(google-explicit-constructor): as published
    CComQIPtr(IUnknown* lp) noexcept { Query(lp); }
    template <
        class Other,
        std::enable_if_t<!std::is_base_of_v<T, Other> && !std::is_same_v<Other, IUnknown>, int> = 0>
    CComQIPtr(Other* lp) noexcept {  // NOLINT(google-explicit-constructor)
        Query(lp);
    }

    CComQIPtr& operator=(T* lp) noexcept {
        CComPtr<T>::operator=(lp);
        return *this;
    }
    CComQIPtr& operator=(const CComQIPtr& other) noexcept {
        CComPtr<T>::operator=(other.p);
        return *this;
    }
    CComQIPtr& operator=(CComQIPtr&& other) noexcept {
        CComPtr<T>::operator=(std::move(other));
        return *this;
    }
    CComQIPtr& operator=(IUnknown* lp) noexcept {
        CComPtr<T> previous;
        previous.p = this->Detach();
        Query(lp);
        return *this;
    }

  private:
    template <class Other>
    void Query(Other* lp) noexcept {
        if (lp != nullptr) lp->QueryInterface(*piid, reinterpret_cast<void**>(&this->p));
    }
};

// IUnknown itself needs no query.
template <>
class CComQIPtr<IUnknown, &IID_IUnknown> : public CComPtr<IUnknown> {
  public:
    CComQIPtr() noexcept = default;
    CComQIPtr(IUnknown* lp) noexcept {  // NOLINT(google-explicit-constructor)
        if (lp != nullptr) lp->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&p));
    }
    CComQIPtr(const CComQIPtr& other) noexcept : CComPtr<IUnknown>(other.p) {}
    CComQIPtr& operator=(const CComQIPtr& other) noexcept {
        CComPtr<IUnknown>::operator=(other.p);
        return *this;
    }
    CComQIPtr& operator=(IUnknown* lp) noexcept {
        CComPtr<IUnknown> previous;
        previous.p = Detach();
        if (lp != nullptr) lp->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&p));
        return *this;
    }
};
