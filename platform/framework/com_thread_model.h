// Threading models of the object model: how reference counts change and which lock guards an
// object's own state.
#pragma once

#include <mutex>

#include "com_base.h"

// A lock that does nothing, for objects that live on one thread.
class CComFakeCriticalSection {
  public:
    HRESULT Init() { return S_OK; }
    HRESULT Term() { return S_OK; }
    HRESULT Lock() { return S_OK; }
    HRESULT Unlock() { return S_OK; }
};

// A recursive lock, as the platform's critical section is.
class CComAutoCriticalSection {
  public:
    HRESULT Init() { return S_OK; }
    HRESULT Term() { return S_OK; }
    HRESULT Lock() {
        m_mutex.lock();
        return S_OK;
    }
    HRESULT Unlock() {
        m_mutex.unlock();
        return S_OK;
    }

  private:
    std::recursive_mutex m_mutex;
};
using CComCriticalSection = CComAutoCriticalSection;

class CComSingleThreadModel {
  public:
    static ULONG Increment(LONG* p) { return static_cast<ULONG>(++*p); }
    static ULONG Decrement(LONG* p) { return static_cast<ULONG>(--*p); }
    using AutoCriticalSection = CComFakeCriticalSection;
    using CriticalSection = CComFakeCriticalSection;
    using AutoDeleteCriticalSection = CComFakeCriticalSection;
    using ThreadModelNoCS = CComSingleThreadModel;
};

class CComMultiThreadModelNoCS {
  public:
    static ULONG Increment(LONG* p) {
        return static_cast<ULONG>(__atomic_add_fetch(p, 1, __ATOMIC_ACQ_REL));
    }
    static ULONG Decrement(LONG* p) {
        return static_cast<ULONG>(__atomic_sub_fetch(p, 1, __ATOMIC_ACQ_REL));
    }
    using AutoCriticalSection = CComFakeCriticalSection;
    using CriticalSection = CComFakeCriticalSection;
    using AutoDeleteCriticalSection = CComFakeCriticalSection;
    using ThreadModelNoCS = CComMultiThreadModelNoCS;
};

class CComMultiThreadModel {
  public:
    static ULONG Increment(LONG* p) { return CComMultiThreadModelNoCS::Increment(p); }
    static ULONG Decrement(LONG* p) { return CComMultiThreadModelNoCS::Decrement(p); }
    using AutoCriticalSection = CComAutoCriticalSection;
    using CriticalSection = CComAutoCriticalSection;
    using AutoDeleteCriticalSection = CComAutoCriticalSection;
    using ThreadModelNoCS = CComMultiThreadModelNoCS;
};

// Module-wide objects (class factories, the lock count) may be reached from any thread.
using CComGlobalsThreadModel = CComMultiThreadModel;
using CComObjectThreadModel = CComSingleThreadModel;
