// Stands in for ZelmoRowset until provider/zelmo_rowset.h exists. Like the dataset, its Execute
// needs IExtendCommand from its site, so opened on a session it fails with E_NOINTERFACE.
#pragma once

#include "atl_oledb.h"
#include "provider/extend_command.h"

class ZelmoRowset : public CComObjectRootEx<CComSingleThreadModel>,
                    public IObjectWithSiteImpl<ZelmoRowset> {
  public:
    BEGIN_COM_MAP(ZelmoRowset)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    HRESULT Execute(DBPARAMS*, DBROWCOUNT*) {
        if (!m_spUnkSite) return E_FAIL;
        CComPtr<IExtendCommand> command;
        return m_spUnkSite->QueryInterface(IID_IExtendCommand, reinterpret_cast<void**>(&command));
    }
    HRESULT SetPropValue(const GUID*, DBPROPID, VARIANT*) { return E_FAIL; }
};
