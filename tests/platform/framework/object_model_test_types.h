// Interfaces and classes the object model tests build objects from.
#pragma once

#include "atl_com.h"

COMRT_GUID(IID_ITestFoo, 0x6a1f3c10, 0x1b2c, 0x4d5e, 0x8f, 0x90, 0x01, 0x02, 0x03, 0x04, 0x05,
           0x06);
COMRT_GUID(IID_ITestBar, 0x6a1f3c11, 0x1b2c, 0x4d5e, 0x8f, 0x90, 0x01, 0x02, 0x03, 0x04, 0x05,
           0x06);
COMRT_GUID(IID_ITestBaz, 0x6a1f3c12, 0x1b2c, 0x4d5e, 0x8f, 0x90, 0x01, 0x02, 0x03, 0x04, 0x05,
           0x06);

struct ITestFoo : IUnknown {
    STDMETHOD_(int, Foo)() = 0;
};
COMRT_DECLARE_IID(ITestFoo, IID_ITestFoo);
struct ITestBar : IUnknown {
    STDMETHOD_(int, Bar)() = 0;
};
COMRT_DECLARE_IID(ITestBar, IID_ITestBar);
struct ITestBaz : ITestFoo {
    STDMETHOD_(int, Baz)() = 0;
};
COMRT_DECLARE_IID(ITestBaz, IID_ITestBaz);

// Counts what happens to every Widget.
struct WidgetLog {
    int constructed = 0;
    int finalConstructs = 0;
    int finalReleases = 0;
    int destroyed = 0;
    HRESULT failFinalConstructWith = S_OK;
};
inline WidgetLog& TheWidgetLog() {
    static WidgetLog log;
    return log;
}

class Widget : public CComObjectRootEx<CComSingleThreadModel>, public ITestFoo, public ITestBar {
  public:
    BEGIN_COM_MAP(Widget)
    COM_INTERFACE_ENTRY(ITestFoo)
    COM_INTERFACE_ENTRY(ITestBar)
    END_COM_MAP()

    Widget() { ++TheWidgetLog().constructed; }
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;
    ~Widget() { ++TheWidgetLog().destroyed; }
    HRESULT FinalConstruct() {
        ++TheWidgetLog().finalConstructs;
        return TheWidgetLog().failFinalConstructWith;
    }
    void FinalRelease() { ++TheWidgetLog().finalReleases; }

    STDMETHOD_(int, Foo)() override { return 1; }
    STDMETHOD_(int, Bar)() override { return 2; }
};

// An outer object that aggregates one inner object and hands out its interfaces.
class TestOuter : public IUnknown {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner != nullptr ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }

    ULONG refs = 1;
    IUnknown* inner = nullptr;  // the inner unknown, owned
};
