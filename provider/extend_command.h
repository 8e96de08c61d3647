// IExtendCommand: the command's own interface through which its result objects read the query
// result and create axis rowsets.
#pragma once

#include "com_base.h"
#include "oledb.h"
#include "provider/zelmo_guids.h"

class RESTData;

struct IExtendCommand : IUnknown {
    // *pcRowsAffected carries the axis number in and the number of tuples out.
    STDMETHOD(GetAxisRowset)
    (IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
     IUnknown** ppRowset) = 0;
    // *token receives the command's current result (null before the first Execute); borrowed.
    STDMETHOD(GetRESTData)(RESTData** token) = 0;
};
COMRT_DECLARE_IID(IExtendCommand, IID_IExtendCommand);
