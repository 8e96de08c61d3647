// ISupportErrorInfo for a class whose error information covers one interface.
#pragma once

#include "com_guard.h"
#include "com_interfaces.h"

template <const IID* piid>
class ISupportErrorInfoImpl : public ISupportErrorInfo {
  public:
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override {
        return ComGuard([&]() -> HRESULT { return riid == *piid ? S_OK : S_FALSE; });
    }
};
