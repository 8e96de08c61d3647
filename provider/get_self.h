// IGetSelf: lets a child object reach the provider object behind its COM site (the session
// behind a command, the data source behind a session).
#pragma once

#include "com_base.h"
#include "provider/zelmo_guids.h"

struct IGetSelf : IUnknown {
    // *pSelf receives the implementing object's own address, not an interface; no reference is
    // added. E_INVALIDARG for a null pSelf.
    STDMETHOD(GetSelf)(void** pSelf) = 0;
};
COMRT_DECLARE_IID(IGetSelf, IID_IGetSelf);
