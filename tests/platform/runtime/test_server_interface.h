// What the test server module offers: its class ids, its one interface and its resources' ids.
#pragma once

#include "com_base.h"

COMRT_GUID(CLSID_TestThing, 0x7d1c8a52, 0x2f4e, 0x4b8a, 0x9c, 0x31, 0x5e, 0x60, 0x7a, 0x1b, 0x22,
           0x01);
// Registered, but the module's DllGetClassObject does not serve it.
COMRT_GUID(CLSID_TestUnserved, 0x7d1c8a52, 0x2f4e, 0x4b8a, 0x9c, 0x31, 0x5e, 0x60, 0x7a, 0x1b, 0x22,
           0x02);
COMRT_GUID(IID_ITestValue, 0x7d1c8a52, 0x2f4e, 0x4b8a, 0x9c, 0x31, 0x5e, 0x60, 0x7a, 0x1b, 0x22,
           0x10);

struct ITestValue : IUnknown {
    STDMETHOD(GetValue)(LONG* value) = 0;
};

constexpr LONG kTestThingValue = 4242;
constexpr UINT kTestStringHello = 1;
constexpr UINT kTestStringSecond = 2;
constexpr UINT kTestRegistryScript = 101;
constexpr UINT kTestDialog = 200;

// Exported by the test server: objects alive now, and how often its static constructors ran.
using TestServerCountFunction = LONG (*)();
