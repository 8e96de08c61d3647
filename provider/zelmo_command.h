// ZelmoCommand: the provider's command: MDX text, Execute against the service, the query result
// of its latest Execute (shared with the result objects that borrowed it) and IExtendCommand,
// through which the result objects read that result and create axis rowsets.
#pragma once

#include <memory>

#include "atl_oledb.h"
#include "provider/dummy_row_data.h"
#include "provider/extend_command.h"
#include "provider/zelmo_command_properties.h"

class ZelmoSession;

class ZelmoCommand : public CComObjectRootEx<CComSingleThreadModel>,
                     public IAccessorImpl<ZelmoCommand>,
                     public ICommandTextImpl<ZelmoCommand>,
                     public ICommandPropertiesImpl<ZelmoCommand>,
                     public IObjectWithSiteImpl<ZelmoCommand>,
                     public IConvertTypeImpl<ZelmoCommand>,
                     public IColumnsInfoImpl<ZelmoCommand>,
                     public IInternalCommandConnectionImpl<ZelmoCommand>,
                     public IExtendCommand,
                     public ISupportErrorInfo {
  public:
    BEGIN_PROPSET_MAP(ZelmoCommand)
    ZELMO_COMMAND_ROWSET_PROPERTY_SET()
    END_PROPSET_MAP()

    BEGIN_COM_MAP(ZelmoCommand)
    COM_INTERFACE_ENTRY(ICommand)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IAccessor)
    COM_INTERFACE_ENTRY(ICommandProperties)
    COM_INTERFACE_ENTRY(ICommandText)
    COM_INTERFACE_ENTRY(IColumnsInfo)
    COM_INTERFACE_ENTRY(IConvertType)
    COM_INTERFACE_ENTRY(IInternalConnection)
    COM_INTERFACE_ENTRY(IExtendCommand)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    // IColumnsInfo answers the dataset's cell columns, whatever the statement.
    static ATLCOLUMNINFO* GetColumnInfo(ZelmoCommand* pThis, DBORDINAL* pcInfo) {
        return CDummyRowData::GetColumnInfo(pThis, pcInfo);
    }

    STDMETHOD(Execute)
    (IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
     IUnknown** ppRowset) override;
    STDMETHOD(GetAxisRowset)
    (IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
     IUnknown** ppRowset) override;
    STDMETHOD(GetRESTData)(RESTData** token) override;
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override;

    // The session behind the command's site; null when the site offers no IGetSelf.
    ZelmoSession* GetSessionObject();
    // Through the session to the data source; E_FAIL when that road is broken.
    HRESULT GetCredentials(char* userName, char* password);
    HRESULT GetMemberDisplayOption(int* option);

    // Execute's steps after the request: keeps the result (releasing the previous one), fails
    // for a failed request, and creates the result object the answer calls for.
    HRESULT AcceptResult(std::shared_ptr<RESTData> result, IUnknown* pUnkOuter, REFIID riid,
                         DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected, IUnknown** ppRowset);

    std::shared_ptr<RESTData> queryResult;
};

// A result object's road to its command's result: the site's IExtendCommand, then a share of the
// command's current result (null before the first Execute).
HRESULT ShareCommandResult(IUnknown* site, std::shared_ptr<RESTData>* result);

// Sizes of the narrow credential buffers that the data source fills.
constexpr size_t kCommandUserNameBytes = 512;
constexpr size_t kCommandPasswordBytes = 4096;
