// A hand-written IUnknown that counts its references, for tests that check AddRef and Release.
#pragma once

#include "com_base.h"

class CountingUnknown : public IUnknown {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        if (riid != IID_IUnknown) {
            *ppvObject = nullptr;
            return E_NOINTERFACE;
        }
        *ppvObject = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }

    ULONG references = 1;
};
