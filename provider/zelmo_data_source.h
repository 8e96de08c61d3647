// ZelmoDataSource: the provider's data source object, with the property sets of the whole
// provider, initialisation with the credentials prompt, sessions and the property pages.
#pragma once

#include "atl_oledb.h"
#include "provider/connection_settings.h"
#include "provider/get_self.h"
#include "provider/zelmo_command_properties.h"
#include "provider/zelmo_guids.h"
#include "provider/zelmo_session.h"
#include "resources/resource_ids.h"

namespace zelmo_data_source_detail {
constexpr DBPROPFLAGS kInfoRead = DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_READ;
constexpr DBPROPFLAGS kInfoWrite = DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_WRITE;
constexpr DBPROPFLAGS kInitReadWrite = DBPROPFLAGS_DBINIT | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE;
constexpr DBPROPFLAGS kDataSourceReadWrite =
    DBPROPFLAGS_DATASOURCE | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE;
}  // namespace zelmo_data_source_detail

#define ZELMO_DS_ENTRY(id, text, vt, access, value)                                     \
    PROPERTY_INFO_ENTRY_DESC(id, u"" text, vt, zelmo_data_source_detail::access, value, \
                             DBPROPOPTIONS_REQUIRED)

class ZelmoDataSource : public CComObjectRootEx<CComSingleThreadModel>,
                        public CComCoClass<ZelmoDataSource, &CLSID_ZelmoData>,
                        public IDBCreateSessionImpl<ZelmoDataSource, ZelmoSession>,
                        public IDBInitializeImpl<ZelmoDataSource>,
                        public IDBPropertiesImpl<ZelmoDataSource>,
                        public IPersistImpl<ZelmoDataSource>,
                        public IInternalConnectionImpl<ZelmoDataSource>,
                        public IServiceProviderImpl<ZelmoDataSource>,
                        public ISpecifyPropertyPagesImpl<ZelmoDataSource>,
                        public IGetSelf {
  public:
    DECLARE_REGISTRY_RESOURCEID(kIdrZelmoDataSource)

    BEGIN_COM_MAP(ZelmoDataSource)
    COM_INTERFACE_ENTRY(IDBCreateSession)
    COM_INTERFACE_ENTRY(IDBInitialize)
    COM_INTERFACE_ENTRY(IDBProperties)
    COM_INTERFACE_ENTRY(IPersist)
    COM_INTERFACE_ENTRY(IInternalConnection)
    COM_INTERFACE_ENTRY(IServiceProvider)
    COM_INTERFACE_ENTRY(ISpecifyPropertyPages)
    COM_INTERFACE_ENTRY(IGetSelf)
    END_COM_MAP()

    BEGIN_SERVICE_MAP(ZelmoDataSource)
    SERVICE_ENTRY(OLEDB_SVC_DSLPropertyPages)
    END_SERVICE_MAP()

    BEGIN_PROP_MAP(ZelmoDataSource)
    PROP_PAGE(CLSID_ZelmoConnectionDlg)
    PROP_PAGE(CLSID_ZelmoAdvancedDlg)
    END_PROP_MAP()

    BEGIN_PROPSET_MAP(ZelmoDataSource)
    BEGIN_PROPERTY_SET(DBPROPSET_DATASOURCEINFO)
    ZELMO_DS_ENTRY(DBPROP_ACTIVESESSIONS, "Active Sessions", VT_I4, kInfoRead, 0)
    ZELMO_DS_ENTRY(DBPROP_DATASOURCEREADONLY, "Read-Only Data Source", VT_BOOL, kInfoRead, true)
    ZELMO_DS_ENTRY(DBPROP_BYREFACCESSORS, "Pass By Ref Accessors", VT_BOOL, kInfoRead, false)
    ZELMO_DS_ENTRY(DBPROP_OUTPUTPARAMETERAVAILABILITY, "Output Parameter Availability", VT_I4,
                   kInfoRead, 0)
    ZELMO_DS_ENTRY(DBPROP_PROVIDEROLEDBVER, "OLE DB Version", VT_BSTR, kInfoRead, u"02.60")
    ZELMO_DS_ENTRY(DBPROP_DSOTHREADMODEL, "Data Source Object Threading Model", VT_I4, kInfoRead, 1)
    ZELMO_DS_ENTRY(DBPROP_SUPPORTEDTXNISOLEVELS, "Isolation Levels", VT_I4, kInfoRead, 0)
    ZELMO_DS_ENTRY(DBPROP_USERNAME, "User Name", VT_BSTR, kInfoRead, u"")
    ZELMO_DS_ENTRY(MDPROP_MDX_FORMULAS, "Support for creation of named sets and calculated members",
                   VT_I4, kInfoRead, 0x1f)
    ZELMO_DS_ENTRY(MDPROP_FLATTENING_SUPPORT, "Flattening Support", VT_I4, kInfoRead, 1)
    ZELMO_DS_ENTRY(MDPROP_NAMED_LEVELS, "Support for named levels", VT_I4, kInfoRead, 1)
    ZELMO_DS_ENTRY(MDPROP_MDX_SET_FUNCTIONS, "Support for various set functions", VT_I4, kInfoRead,
                   0)
    ZELMO_DS_ENTRY(MDPROP_AXES, "Number of axes in the dataset", VT_I4, kInfoRead, 7)
    ZELMO_DS_ENTRY(MDPROP_MDX_OBJQUALIFICATION, "Provider's ability to qualify a cube name", VT_I4,
                   kInfoRead, 0x1ff)
    PROPERTY_INFO_ENTRY_RES(MDPROP_VISUALMODE, kIdsVisualMode, VT_I4,
                            zelmo_data_source_detail::kInfoWrite, 2, DBPROPOPTIONS_REQUIRED)
    ZELMO_DS_ENTRY(DBPROP_DBMSNAME, "DBMS Name", VT_BSTR, kInfoRead, u"Zelmo")
    ZELMO_DS_ENTRY(DBPROP_DBMSVER, "DBMS Version", VT_BSTR, kInfoRead, u"00.01.0000")
    ZELMO_DS_ENTRY(DBPROP_DATASOURCE_TYPE, "Data Source Type", VT_I4, kInfoRead, DBPROPVAL_DST_MDP)
    ZELMO_DS_ENTRY(DBPROP_PROVIDERNAME, "Provider Name", VT_BSTR, kInfoRead, u"ZelmoProvider.dll")
    ZELMO_DS_ENTRY(DBPROP_PROVIDERFRIENDLYNAME, "Provider Friendly Name", VT_BSTR, kInfoRead,
                   u"Tavro Ad-hoc Connector")
    ZELMO_DS_ENTRY(DBPROP_PROVIDERVER, "Provider Version", VT_BSTR, kInfoRead, u"00.01.0000")
    END_PROPERTY_SET(DBPROPSET_DATASOURCEINFO)
    BEGIN_PROPERTY_SET(DBPROPSET_DBINIT)
    ZELMO_DS_ENTRY(DBPROP_AUTH_PASSWORD, "Password", VT_BSTR, kInitReadWrite, u"")
    ZELMO_DS_ENTRY(DBPROP_AUTH_USERID, "User ID", VT_BSTR, kInitReadWrite, u"")
    ZELMO_DS_ENTRY(DBPROP_INIT_DATASOURCE, "Data Source", VT_BSTR, kInitReadWrite, u"")
    ZELMO_DS_ENTRY(DBPROP_INIT_HWND, "Window Handle", VT_I4, kInitReadWrite, 0)
    ZELMO_DS_ENTRY(DBPROP_INIT_LOCATION, "Location", VT_BSTR, kInitReadWrite, u"")
    ZELMO_DS_ENTRY(DBPROP_INIT_CATALOG, "Initial Catalog", VT_BSTR, kInitReadWrite, u"")
    ZELMO_DS_ENTRY(DBPROP_INIT_LCID, "Locale Identifier", VT_I4, kInitReadWrite, 0)
    ZELMO_DS_ENTRY(DBPROP_INIT_MODE, "Mode", VT_I4, kInitReadWrite, DB_MODE_READ)
    ZELMO_DS_ENTRY(DBPROP_INIT_TIMEOUT, "Connect Timeout", VT_I4, kInitReadWrite, 0)
    ZELMO_DS_ENTRY(DBPROP_INIT_PROMPT, "Prompt", VT_I2, kInitReadWrite, DBPROMPT_NOPROMPT)
    ZELMO_DS_ENTRY(DBPROP_AUTH_PERSIST_SENSITIVE_AUTHINFO, "Persist Security Info", VT_BOOL,
                   kInitReadWrite, false)
    ZELMO_DS_ENTRY(DBPROP_INIT_PROVIDERSTRING, "Extended Properties", VT_BSTR, kInitReadWrite, u"")
    ZELMO_DS_ENTRY(DBPROP_INIT_OLEDBSERVICES, "OLE DB Services", VT_I4, kInitReadWrite, 0)
    END_PROPERTY_SET(DBPROPSET_DBINIT)
    BEGIN_PROPERTY_SET(DBPROPSET_DATASOURCE)
    ZELMO_DS_ENTRY(DBPROP_CURRENTCATALOG, "Current Catalog", VT_BSTR, kDataSourceReadWrite, u"")
    END_PROPERTY_SET(DBPROPSET_DATASOURCE)
    CHAIN_PROPERTY_SET(ZelmoSession)
    CHAIN_PROPERTY_SET(ZelmoCommandProperties)
    END_PROPSET_MAP()

    STDMETHOD(Initialize)() override;
    STDMETHOD(GetSelf)(void** pSelf) override;

    // The narrow (multibyte) user name into 512 bytes and password into 4096 bytes; always 0.
    int GetCredentials(char* userName, char* password);
    HRESULT GetMemberDisplayOption(int* option);

    // Parent window, user name, password and member display option, meaningful after Initialize.
    ConnectionSettings settings;

  private:
    HRESULT InitializeDataSource();
    HRESULT PromptForCredentials();
};
