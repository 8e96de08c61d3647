// The test provider's data source, session and command: thin objects on the framework through
// which the tests reach the rowsets as a consumer would.
#pragma once

#include "accessor_impl.h"
#include "atl_com.h"
#include "columns_info_impl.h"
#include "command_properties_impl.h"
#include "convert_type_impl.h"
#include "object_with_site_impl.h"
#include "test_provider_rows.h"

// A GUID of the test provider's one schema rowset.
COMRT_GUID(kTestSchemaGuid, 0x7e57a001, 0x1111, 0x2222, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99,
           0x00);

class TestCommand : public CComObjectRootEx<CComSingleThreadModel>,
                    public IAccessorImpl<TestCommand>,
                    public ICommandText,
                    public IObjectWithSiteImpl<TestCommand>,
                    public IColumnsInfoImpl<TestCommand>,
                    public IConvertTypeImpl<TestCommand>,
                    public ICommandPropertiesImpl<TestCommand> {
  public:
    BEGIN_PROPSET_MAP(TestCommand)
    BEGIN_PROPERTY_SET(DBPROPSET_ROWSET)
    PROPERTY_INFO_ENTRY(IAccessor)
    PROPERTY_INFO_ENTRY(IColumnsInfo)
    PROPERTY_INFO_ENTRY(IConvertType)
    PROPERTY_INFO_ENTRY(IRowset)
    PROPERTY_INFO_ENTRY(IRowsetIdentity)
    PROPERTY_INFO_ENTRY(IRowsetInfo)
    PROPERTY_INFO_ENTRY(BOOKMARKS)
    PROPERTY_INFO_ENTRY_VALUE(CANFETCHBACKWARDS, false)
    PROPERTY_INFO_ENTRY_VALUE(CANHOLDROWS, false)
    PROPERTY_INFO_ENTRY_VALUE(CANSCROLLBACKWARDS, false)
    END_PROPERTY_SET(DBPROPSET_ROWSET)
    END_PROPSET_MAP()

    BEGIN_COM_MAP(TestCommand)
    COM_INTERFACE_ENTRY(ICommand)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IAccessor)
    COM_INTERFACE_ENTRY(ICommandProperties)
    COM_INTERFACE_ENTRY(ICommandText)
    COM_INTERFACE_ENTRY(IColumnsInfo)
    COM_INTERFACE_ENTRY(IConvertType)
    END_COM_MAP()

    static ATLCOLUMNINFO* GetColumnInfo(TestCommand* pThis, DBORDINAL* pcInfo) {
        return TestMemberRow::GetColumnInfo(pThis, pcInfo);
    }

    STDMETHOD(Cancel)() override { return S_OK; }
    STDMETHOD(Execute)
    (IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
     IUnknown** ppRowset) override;
    STDMETHOD(GetDBSession)(REFIID riid, IUnknown** ppSession) override;
    STDMETHOD(GetCommandText)(GUID* pguidDialect, LPOLESTR* ppwszCommand) override;
    STDMETHOD(SetCommandText)(REFGUID rguidDialect, LPCOLESTR pwszCommand) override;

    CComBSTR m_strCommandText;
};

class TestSession : public CComObjectRootEx<CComSingleThreadModel>,
                    public IDBCreateCommand,
                    public IDBSchemaRowset,
                    public IObjectWithSiteImpl<TestSession> {
  public:
    BEGIN_COM_MAP(TestSession)
    COM_INTERFACE_ENTRY(IDBCreateCommand)
    COM_INTERFACE_ENTRY(IDBSchemaRowset)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    STDMETHOD(CreateCommand)(IUnknown* pUnkOuter, REFIID riid, IUnknown** ppCommand) override;
    STDMETHOD(GetRowset)
    (IUnknown* pUnkOuter, REFGUID rguidSchema, ULONG cRestrictions, const VARIANT rgRestrictions[],
     REFIID riid, ULONG cPropertySets, DBPROPSET rgPropertySets[], IUnknown** ppRowset) override;
    STDMETHOD(GetSchemas)
    (ULONG* pcSchemas, GUID** prgSchemas, ULONG** prgRestrictionSupport) override;
};

class TestDataSource : public CComObjectRootEx<CComSingleThreadModel>, public IDBCreateSession {
  public:
    BEGIN_COM_MAP(TestDataSource)
    COM_INTERFACE_ENTRY(IDBCreateSession)
    END_COM_MAP()

    STDMETHOD(CreateSession)(IUnknown* pUnkOuter, REFIID riid, IUnknown** ppDBSession) override;
};

// The consumer's entry: a data source, aggregated under pUnkOuter when given.
HRESULT CreateTestDataSource(IUnknown* pUnkOuter, REFIID riid, void** ppv);
