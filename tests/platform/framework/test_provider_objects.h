// The test provider's data source, session and command, on the framework's bases: the objects
// through which the tests reach the rowsets as a consumer would.
#pragma once

#include "accessor_impl.h"
#include "atl_com.h"
#include "columns_info_impl.h"
#include "command_impl.h"
#include "command_properties_impl.h"
#include "convert_type_impl.h"
#include "db_create_command_impl.h"
#include "db_create_session_impl.h"
#include "db_initialize_impl.h"
#include "internal_connection_impl.h"
#include "object_with_site_impl.h"
#include "schema_rowset_map.h"
#include "test_provider_rows.h"

// A GUID of the test provider's one schema rowset.
COMRT_GUID(kTestSchemaGuid, 0x7e57a001, 0x1111, 0x2222, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99,
           0x00);

class TestSchemaRowset;

// Text "rows:N" makes a dataset-like rowset, "axis:N:D" an axis-like one, "tabular:N:C" a
// drill-through-like one; "fail" makes the rowset's Execute fail.
class TestCommand : public CComObjectRootEx<CComSingleThreadModel>,
                    public IAccessorImpl<TestCommand>,
                    public ICommandTextImpl<TestCommand>,
                    public ICommandPropertiesImpl<TestCommand>,
                    public IObjectWithSiteImpl<TestCommand>,
                    public IColumnsInfoImpl<TestCommand>,
                    public IConvertTypeImpl<TestCommand>,
                    public IInternalCommandConnectionImpl<TestCommand> {
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
    COM_INTERFACE_ENTRY(IInternalConnection)
    END_COM_MAP()

    static ATLCOLUMNINFO* GetColumnInfo(TestCommand* pThis, DBORDINAL* pcInfo) {
        return TestMemberRow::GetColumnInfo(pThis, pcInfo);
    }

    STDMETHOD(Execute)
    (IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
     IUnknown** ppRowset) override;
};

class TestSession : public CComObjectRootEx<CComSingleThreadModel>,
                    public IDBCreateCommandImpl<TestSession, TestCommand>,
                    public IDBSchemaRowsetImpl<TestSession>,
                    public IObjectWithSiteImpl<TestSession> {
  public:
    BEGIN_COM_MAP(TestSession)
    COM_INTERFACE_ENTRY(IDBCreateCommand)
    COM_INTERFACE_ENTRY(IDBSchemaRowset)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    BEGIN_SCHEMA_MAP(TestSession)
    SCHEMA_ENTRY_RESTRICTIONS(kTestSchemaGuid, TestSchemaRowset, 0x7)
    END_SCHEMA_MAP()
};

class TestDataSource : public CComObjectRootEx<CComSingleThreadModel>,
                       public IDBInitializeImpl<TestDataSource>,
                       public IDBCreateSessionImpl<TestDataSource, TestSession> {
  public:
    BEGIN_COM_MAP(TestDataSource)
    COM_INTERFACE_ENTRY(IDBInitialize)
    COM_INTERFACE_ENTRY(IDBCreateSession)
    END_COM_MAP()
};

// The consumer's entry: a data source, aggregated under pUnkOuter when given.
HRESULT CreateTestDataSource(IUnknown* pUnkOuter, REFIID riid, void** ppv);

// The schema map instantiates the creation of its rowsets: every user sees their definitions.
#include "test_provider_rowsets.h"  // NOLINT(llvm-include-order)
