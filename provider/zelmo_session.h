// ZelmoSession: the provider's session, with its schema map, its per-session model cache and its
// road back to the data source.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "atl_oledb.h"
#include "client/json_model.h"
#include "provider/get_self.h"

class ZelmoDataSource;
class ZelmoCommand;
class CCubeRowset;
class CDimensionRowset;
class CHierarchyRowset;
class CLevelRowset;
class CMemberRowset;
class CMeasureRowset;
class CPropertyRowset;
class CSetRowset;
class CFunctionRowset;

// Restriction-support masks (bit n: restriction index n): the restrictions whose rows are exactly
// those the published meaning asks for. The hierarchies rowset reads index 4 (HIERARCHY_NAME) as a
// dimension's unique name, so it has no bit; the members rowset honours HIERARCHY_UNIQUE_NAME and
// LEVEL_UNIQUE_NAME together.
constexpr ULONG kCubeRestrictions = 0x4;        // CUBE_NAME
constexpr ULONG kDimensionRestrictions = 0x14;  // CUBE_NAME, DIMENSION_UNIQUE_NAME
constexpr ULONG kHierarchyRestrictions = 0x4;   // CUBE_NAME
constexpr ULONG kLevelRestrictions = 0x14;      // CUBE_NAME, HIERARCHY_UNIQUE_NAME
// CUBE_NAME, HIERARCHY_UNIQUE_NAME, LEVEL_UNIQUE_NAME, MEMBER_UNIQUE_NAME
constexpr ULONG kMemberRestrictions = 0x134;
constexpr ULONG kMeasureRestrictions = 0x4;  // CUBE_NAME

class ZelmoSession : public CComObjectRootEx<CComSingleThreadModel>,
                     public IGetDataSourceImpl<ZelmoSession>,
                     public IOpenRowsetImpl<ZelmoSession>,
                     public ISessionPropertiesImpl<ZelmoSession>,
                     public IObjectWithSiteSessionImpl<ZelmoSession>,
                     public IDBSchemaRowsetImpl<ZelmoSession>,
                     public IDBCreateCommandImpl<ZelmoSession, ZelmoCommand>,
                     public IGetSelf,
                     public ISupportErrorInfo {
  public:
    BEGIN_COM_MAP(ZelmoSession)
    COM_INTERFACE_ENTRY(IGetDataSource)
    COM_INTERFACE_ENTRY(IOpenRowset)
    COM_INTERFACE_ENTRY(ISessionProperties)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IDBCreateCommand)
    COM_INTERFACE_ENTRY(IDBSchemaRowset)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    COM_INTERFACE_ENTRY(IGetSelf)
    END_COM_MAP()

    BEGIN_PROPSET_MAP(ZelmoSession)
    BEGIN_PROPERTY_SET(DBPROPSET_SESSION)
    PROPERTY_INFO_ENTRY_DESC(DBPROP_CURRENTCATALOG, u"Current Catalog", VT_BSTR,
                             DBPROPFLAGS_DATASOURCE | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE, u"",
                             DBPROPOPTIONS_REQUIRED)
    END_PROPERTY_SET(DBPROPSET_SESSION)
    END_PROPSET_MAP()

    BEGIN_SCHEMA_MAP(ZelmoSession)
    SCHEMA_ENTRY_RESTRICTIONS(MDSCHEMA_CUBES, CCubeRowset, kCubeRestrictions)
    SCHEMA_ENTRY_RESTRICTIONS(MDSCHEMA_DIMENSIONS, CDimensionRowset, kDimensionRestrictions)
    SCHEMA_ENTRY_RESTRICTIONS(MDSCHEMA_HIERARCHIES, CHierarchyRowset, kHierarchyRestrictions)
    SCHEMA_ENTRY_RESTRICTIONS(MDSCHEMA_LEVELS, CLevelRowset, kLevelRestrictions)
    SCHEMA_ENTRY_RESTRICTIONS(MDSCHEMA_MEMBERS, CMemberRowset, kMemberRestrictions)
    SCHEMA_ENTRY_RESTRICTIONS(MDSCHEMA_MEASURES, CMeasureRowset, kMeasureRestrictions)
    SCHEMA_ENTRY(MDSCHEMA_PROPERTIES, CPropertyRowset)
    SCHEMA_ENTRY(MDSCHEMA_SETS, CSetRowset)
    SCHEMA_ENTRY(MDSCHEMA_FUNCTIONS, CFunctionRowset)
    END_SCHEMA_MAP()

    STDMETHOD(OpenRowset)
    (IUnknown* pUnkOuter, DBID* pTableID, DBID* pIndexID, REFIID riid, ULONG cPropertySets,
     DBPROPSET rgPropertySets[], IUnknown** ppRowset) override;
    STDMETHOD(GetSelf)(void** pSelf) override;
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override;

    // GetSchemas' callback: masks of schemas outside the map that consumers often ask about.
    void SetRestrictions(ULONG cSchemas, GUID* rguidSchema, ULONG* rgRestrictions);

    // The data source behind the session's site; null when the site offers no IGetSelf.
    ZelmoDataSource* GetDataSourceObject();

    std::vector<JSONModel> cachedModels;
    std::map<std::u16string, std::u16string> modelIdByName;
};

// The classes the maps name; they need the session complete.
#include "provider/zelmo_command.h"
#include "provider/schema/cube_rowset.h"
#include "provider/schema/dimension_rowset.h"
#include "provider/schema/function_rowset.h"
#include "provider/schema/hierarchy_rowset.h"
#include "provider/schema/level_rowset.h"
#include "provider/schema/measure_rowset.h"
#include "provider/schema/member_rowset.h"
#include "provider/schema/property_rowset.h"
#include "provider/schema/set_rowset.h"
