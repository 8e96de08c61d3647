// Stands in for ZelmoCommand until provider/zelmo_command.h exists: the session can then be built
// with its IDBCreateCommand, whose CreateCommand fails cleanly (E_NOTIMPL).
#pragma once

#include "atl_oledb.h"

class ZelmoCommand : public CComObjectRootEx<CComSingleThreadModel>,
                     public IObjectWithSiteImpl<ZelmoCommand> {
  public:
    BEGIN_COM_MAP(ZelmoCommand)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    HRESULT FinalConstruct() { return E_NOTIMPL; }
};
