// A small provider on the framework's data source, session and command bases (with a trivial
// rowset and schema rowset), and consumer-side helpers, for the oledb tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atl_com.h"
#include "command_impl.h"
#include "command_properties_impl.h"
#include "db_create_command_impl.h"
#include "db_create_session_impl.h"
#include "db_initialize_impl.h"
#include "db_properties_impl.h"
#include "get_data_source_impl.h"
#include "internal_connection_impl.h"
#include "object_with_site_session_impl.h"
#include "olap.h"
#include "open_rowset_impl.h"
#include "rowset_info_impl.h"
#include "schema_rowset_map.h"
#include "session_properties_impl.h"

class OledbTestCommand;

// What the trivial rowsets saw when they were executed, for the tests to read.
struct OledbExecuteRecord {
    int executions = 0;
    HRESULT result = S_OK;  // what the next Execute answers
    DBPARAMS* params = nullptr;
    std::u16string commandText;
    ULONG restrictionCount = 0;
    const VARIANT* restrictions = nullptr;
};
inline OledbExecuteRecord g_oledbExecute;

// A rowset with the command's properties and nothing else but IRowsetInfo.
class OledbTestRowset : public CComObjectRootEx<CComSingleThreadModel>,
                        public IRowsetCreatorImpl<OledbTestRowset>,
                        public IRowsetInfoImpl<OledbTestRowset, CUtlProps<OledbTestCommand>>,
                        public CUtlProps<OledbTestCommand> {
  public:
    using _PropClass = CUtlProps<OledbTestCommand>;

    BEGIN_COM_MAP(OledbTestRowset)
    COM_INTERFACE_ENTRY(IRowsetInfo)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    static ATLCOLUMNINFO* GetColumnInfo(OledbTestRowset*, DBORDINAL* pcInfo) {
        *pcInfo = 2;
        return nullptr;
    }

    HRESULT Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected) {
        ++g_oledbExecute.executions;
        g_oledbExecute.params = pParams;
        g_oledbExecute.commandText = std::u16string(m_strCommandText.View());
        if (SUCCEEDED(g_oledbExecute.result) && pcRowsAffected != nullptr) *pcRowsAffected = 42;
        return g_oledbExecute.result;
    }

    CComBSTR m_strCommandText;
};

class OledbTestSchemaRowset : public CComObjectRootEx<CComSingleThreadModel>,
                              public IObjectWithSiteImpl<OledbTestSchemaRowset> {
  public:
    BEGIN_COM_MAP(OledbTestSchemaRowset)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    HRESULT Execute(DBROWCOUNT*, ULONG cRestrictions, const VARIANT* rgRestrictions) {
        ++g_oledbExecute.executions;
        g_oledbExecute.restrictionCount = cRestrictions;
        g_oledbExecute.restrictions = rgRestrictions;
        return g_oledbExecute.result;
    }
};

class OledbTestCommand : public CComObjectRootEx<CComSingleThreadModel>,
                         public ICommandTextImpl<OledbTestCommand>,
                         public ICommandPropertiesImpl<OledbTestCommand>,
                         public IObjectWithSiteImpl<OledbTestCommand>,
                         public IInternalCommandConnectionImpl<OledbTestCommand> {
  public:
    BEGIN_PROPSET_MAP(OledbTestCommand)
    BEGIN_PROPERTY_SET(DBPROPSET_ROWSET)
    PROPERTY_INFO_ENTRY(IAccessor)
    PROPERTY_INFO_ENTRY(IRowsetInfo)
    PROPERTY_INFO_ENTRY(IRowsetLocate)
    PROPERTY_INFO_ENTRY(BOOKMARKS)
    PROPERTY_INFO_ENTRY(CANHOLDROWS)
    PROPERTY_INFO_ENTRY(ROWSET_ASYNCH)
    END_PROPERTY_SET(DBPROPSET_ROWSET)
    END_PROPSET_MAP()

    BEGIN_COM_MAP(OledbTestCommand)
    COM_INTERFACE_ENTRY(ICommand)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(ICommandProperties)
    COM_INTERFACE_ENTRY(ICommandText)
    COM_INTERFACE_ENTRY(IInternalConnection)
    END_COM_MAP()

    STDMETHOD(Execute)
    (IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
     IUnknown** ppRowset) override {
        OledbTestRowset* created = nullptr;
        return CreateRowset<OledbTestRowset>(pUnkOuter, riid, pParams, pcRowsAffected, ppRowset,
                                             created);
    }
};

// A session with a schema map of three schemas; the second has a mask of its own.
class OledbTestSession : public CComObjectRootEx<CComSingleThreadModel>,
                         public IGetDataSourceImpl<OledbTestSession>,
                         public IOpenRowsetImpl<OledbTestSession>,
                         public ISessionPropertiesImpl<OledbTestSession>,
                         public IObjectWithSiteSessionImpl<OledbTestSession>,
                         public IDBSchemaRowsetImpl<OledbTestSession>,
                         public IDBCreateCommandImpl<OledbTestSession, OledbTestCommand> {
  public:
    BEGIN_PROPSET_MAP(OledbTestSession)
    BEGIN_PROPERTY_SET(DBPROPSET_SESSION)
    PROPERTY_INFO_ENTRY(CURRENTCATALOG)
    END_PROPERTY_SET(DBPROPSET_SESSION)
    END_PROPSET_MAP()

    BEGIN_SCHEMA_MAP(OledbTestSession)
    SCHEMA_ENTRY(MDSCHEMA_CUBES, OledbTestSchemaRowset)
    SCHEMA_ENTRY_RESTRICTIONS(MDSCHEMA_DIMENSIONS, OledbTestSchemaRowset, 0x7)
    SCHEMA_ENTRY(MDSCHEMA_SETS, OledbTestSchemaRowset)
    END_SCHEMA_MAP()

    BEGIN_COM_MAP(OledbTestSession)
    COM_INTERFACE_ENTRY(IGetDataSource)
    COM_INTERFACE_ENTRY(IOpenRowset)
    COM_INTERFACE_ENTRY(ISessionProperties)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IDBCreateCommand)
    COM_INTERFACE_ENTRY(IDBSchemaRowset)
    END_COM_MAP()

    STDMETHOD(OpenRowset)
    (IUnknown* pUnkOuter, DBID* pTableID, DBID* pIndexID, REFIID riid, ULONG cPropertySets,
     DBPROPSET rgPropertySets[], IUnknown** ppRowset) override {
        OledbTestRowset* created = nullptr;
        return CreateRowset<OledbTestRowset>(pUnkOuter, pTableID, pIndexID, riid, cPropertySets,
                                             rgPropertySets, ppRowset, created);
    }

    // As the provider's session: masks for two schemas that are not in the map, and one that is.
    void SetRestrictions(ULONG cSchemas, GUID* rguidSchema, ULONG* rgRestrictions) {
        for (ULONG i = 0; i < cSchemas; ++i) {
            if (rguidSchema[i] == DBSCHEMA_TABLES) rgRestrictions[i] = 4;
            if (rguidSchema[i] == MDSCHEMA_SETS) rgRestrictions[i] = 0x1f;
        }
    }

    // Refuses more than nine restrictions, to show the check runs before the rowset is made.
    bool CheckRestrictions(REFGUID, ULONG cRestrictions, const VARIANT*) {
        return cRestrictions <= 9;
    }
};

class OledbTestDataSource : public CComObjectRootEx<CComSingleThreadModel>,
                            public IDBCreateSessionImpl<OledbTestDataSource, OledbTestSession>,
                            public IDBInitializeImpl<OledbTestDataSource>,
                            public IDBPropertiesImpl<OledbTestDataSource>,
                            public IInternalConnectionImpl<OledbTestDataSource> {
  public:
    BEGIN_PROPSET_MAP(OledbTestDataSource)
    BEGIN_PROPERTY_SET(DBPROPSET_DATASOURCEINFO)
    PROPERTY_INFO_ENTRY(ACTIVESESSIONS)
    PROPERTY_INFO_ENTRY_EX(DBMSNAME, VT_BSTR, DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_READ,
                           u"Zelmo", 0)
    PROPERTY_INFO_ENTRY_DESC(MDPROP_AXES, nullptr, VT_I4,
                             DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_READ, 7, 0)
    PROPERTY_INFO_ENTRY_ID_VALUE(MDPROP_MDX_FORMULAS, 0x1f)
    // No string table in the test program: the known description stands in.
    PROPERTY_INFO_ENTRY_RES(MDPROP_MDX_OBJQUALIFICATION, 328, VT_I4,
                            DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_READ, 0x1ff, 0)
    PROPERTY_INFO_ENTRY_DESC(MDPROP_VISUALMODE, u"Visual mode", VT_I4,
                             DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_WRITE, 2, 0)
    END_PROPERTY_SET(DBPROPSET_DATASOURCEINFO)
    BEGIN_PROPERTY_SET(DBPROPSET_DBINIT)
    PROPERTY_INFO_ENTRY(AUTH_PASSWORD)
    PROPERTY_INFO_ENTRY(AUTH_USERID)
    PROPERTY_INFO_ENTRY(INIT_HWND)
    PROPERTY_INFO_ENTRY(INIT_PROMPT)
    PROPERTY_INFO_ENTRY(AUTH_PERSIST_SENSITIVE_AUTHINFO)
    END_PROPERTY_SET(DBPROPSET_DBINIT)
    BEGIN_PROPERTY_SET(DBPROPSET_DATASOURCE)
    PROPERTY_INFO_ENTRY(CURRENTCATALOG)
    END_PROPERTY_SET(DBPROPSET_DATASOURCE)
    CHAIN_PROPERTY_SET(OledbTestSession)
    CHAIN_PROPERTY_SET(OledbTestCommand)
    END_PROPSET_MAP()

    BEGIN_COM_MAP(OledbTestDataSource)
    COM_INTERFACE_ENTRY(IDBCreateSession)
    COM_INTERFACE_ENTRY(IDBInitialize)
    COM_INTERFACE_ENTRY(IDBProperties)
    COM_INTERFACE_ENTRY(IInternalConnection)
    END_COM_MAP()
};

// Consumer-side helpers.
template <class I>
CComPtr<I> OledbQuery(IUnknown* object) {
    CComPtr<I> result;
    EXPECT_EQ(object->QueryInterface(__uuidof(I), reinterpret_cast<void**>(&result)), S_OK);
    return result;
}

inline CComPtr<IDBInitialize> OledbNewDataSource() {
    CComObject<OledbTestDataSource>* object = nullptr;
    EXPECT_EQ(CComObject<OledbTestDataSource>::CreateInstance(&object), S_OK);
    CComPtr<IDBInitialize> source;
    EXPECT_EQ(object->QueryInterface(IID_IDBInitialize, reinterpret_cast<void**>(&source)), S_OK);
    return source;
}

inline CComPtr<IUnknown> OledbNewSession(IDBInitialize* source) {
    CComPtr<IUnknown> session;
    EXPECT_EQ(OledbQuery<IDBCreateSession>(source)->CreateSession(nullptr, IID_IUnknown, &session),
              S_OK);
    return session;
}

inline CComPtr<ICommandText> OledbNewCommand(IUnknown* session, const char16_t* text) {
    CComPtr<ICommandText> command;
    EXPECT_EQ(OledbQuery<IDBCreateCommand>(session)->CreateCommand(
                  nullptr, IID_ICommandText, reinterpret_cast<IUnknown**>(&command)),
              S_OK);
    if (text != nullptr) {
        EXPECT_EQ(command->SetCommandText(MDGUID_MDX, text), S_OK);
    }
    return command;
}

inline void OledbFreePropSets(ULONG count, DBPROPSET* sets) {
    for (ULONG i = 0; i < count; ++i) {
        for (ULONG k = 0; k < sets[i].cProperties; ++k)
            VariantClear(&sets[i].rgProperties[k].vValue);
        CoTaskMemFree(sets[i].rgProperties);
    }
    CoTaskMemFree(sets);
}

inline void OledbFreeInfoSets(ULONG count, DBPROPINFOSET* sets, OLECHAR* descriptions) {
    for (ULONG i = 0; i < count; ++i) {
        for (ULONG k = 0; k < sets[i].cPropertyInfos; ++k)
            VariantClear(&sets[i].rgPropertyInfos[k].vValues);
        CoTaskMemFree(sets[i].rgPropertyInfos);
    }
    CoTaskMemFree(sets);
    CoTaskMemFree(descriptions);
}

// An outer object that aggregates one inner object and counts its own references.
class OledbTestOuter : public IUnknown {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return inner == nullptr ? E_NOINTERFACE : inner->QueryInterface(riid, ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }

    IUnknown* inner = nullptr;
    ULONG refs = 1;
};
