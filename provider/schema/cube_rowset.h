// CCubeRowset: MDSCHEMA_CUBES, one cube per model of the service. It fills the session's model
// cache and cube-name map, which every rowset below the cube level needs.
#pragma once

#include <cstdint>

#include "client/json_model.h"
#include "provider/schema/generic_rowset.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CCubeRow {
  public:
    CCubeRow() = default;
    explicit CCubeRow(const JSONModel& model);

    WCHAR catalogName[kSchemaTextChars];
    WCHAR schemaName[kSchemaTextChars];
    WCHAR cubeName[kSchemaTextChars];
    WCHAR cubeType[kSchemaTextChars];
    GUID cubeGuid;
    DBTIMESTAMP createdOn;
    DBTIMESTAMP lastSchemaUpdate;
    WCHAR schemaUpdatedBy[kSchemaTextChars];
    DBTIMESTAMP lastDataUpdate;
    WCHAR dataUpdatedBy[kSchemaTextChars];
    WCHAR description[kSchemaTextChars];
    int32_t isDrillthroughEnabled;
    int32_t isLinkable;
    int32_t isWriteEnabled;
    int32_t isSqlEnabled;
    WCHAR cubeCaption[kSchemaTextChars];
    WCHAR baseCubeName[kSchemaTextChars];
    WCHAR annotations[kSchemaTextChars];

    BEGIN_PROVIDER_COLUMN_MAP(CCubeRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("CUBE_TYPE", 4, cubeType)
    SCHEMA_COLUMN("CUBE_GUID", 5, DBTYPE_GUID, cubeGuid)
    SCHEMA_COLUMN("CREATED_ON", 6, DBTYPE_DBTIMESTAMP, createdOn)
    SCHEMA_COLUMN("LAST_SCHEMA_UPDATE", 7, DBTYPE_DBTIMESTAMP, lastSchemaUpdate)
    SCHEMA_TEXT_COLUMN("SCHEMA_UPDATED_BY", 8, schemaUpdatedBy)
    SCHEMA_COLUMN("LAST_DATA_UPDATE", 9, DBTYPE_DBTIMESTAMP, lastDataUpdate)
    SCHEMA_TEXT_COLUMN("DATA_UPDATED_BY", 10, dataUpdatedBy)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 11, description)
    SCHEMA_COLUMN("IS_DRILLTHROUGH_ENABLED", 12, DBTYPE_BOOL, isDrillthroughEnabled)
    SCHEMA_COLUMN("IS_LINKABLE", 13, DBTYPE_BOOL, isLinkable)
    SCHEMA_COLUMN("IS_WRITE_ENABLED", 14, DBTYPE_BOOL, isWriteEnabled)
    SCHEMA_COLUMN("IS_SQL_ENABLED", 15, DBTYPE_BOOL, isSqlEnabled)
    SCHEMA_TEXT_COLUMN("CUBE_CAPTION", 16, cubeCaption)
    SCHEMA_TEXT_COLUMN("BASE_CUBE_NAME", 17, baseCubeName)
    SCHEMA_TEXT_COLUMN("ANNOTATIONS", 18, annotations)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CCubeRow>);

class CCubeRowset : public CGenericRowset<CCubeRowset, CCubeRow, ZelmoSession> {
  public:
    static constexpr ULONG kReadRestrictions = RestrictionBit(kCubeRestriction);

    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions, const VARIANT* rgRestrictions);
};
