// What the test server module and its tests share: class ids, the interface, the application id.
#pragma once

#include "com_base.h"
#include "com_interfaces.h"

COMRT_GUID(CLSID_TestServerObject, 0x5d8c1e40, 0x6f7a, 0x4b8c, 0x9d, 0x0e, 0x21, 0x22, 0x23, 0x24,
           0x25, 0x01);
COMRT_GUID(CLSID_TestServerHelper, 0x5d8c1e40, 0x6f7a, 0x4b8c, 0x9d, 0x0e, 0x21, 0x22, 0x23, 0x24,
           0x25, 0x02);
COMRT_GUID(LIBID_TestServerLib, 0x5d8c1e40, 0x6f7a, 0x4b8c, 0x9d, 0x0e, 0x21, 0x22, 0x23, 0x24,
           0x25, 0xFF);
COMRT_GUID(IID_ITestServer, 0x5d8c1e40, 0x6f7a, 0x4b8c, 0x9d, 0x0e, 0x21, 0x22, 0x23, 0x24, 0x25,
           0x10);

#define TEST_SERVER_APPID "{5D8C1E40-6F7A-4B8C-9D0E-2122232425AA}"
#define TEST_SERVER_APPID_U u"{5D8C1E40-6F7A-4B8C-9D0E-2122232425AA}"

struct ITestServer : IUnknown {
    STDMETHOD(Twice)(LONG value, LONG* result) = 0;
};
COMRT_DECLARE_IID(ITestServer, IID_ITestServer);
