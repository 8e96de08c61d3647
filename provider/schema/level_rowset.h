// CLevelRowset: MDSCHEMA_LEVELS for one cube, over the dimensions the session has cached. Every
// level list fetched is stored into the cached dimension, where the members rowset finds it.
#pragma once

#include <cstdint>
#include <string>

#include "client/json_dimension.h"
#include "provider/schema/generic_rowset.h"
#include "provider/schema/hierarchy_rowset.h"
#include "provider/schema/schema_session.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CLevelRow {
  public:
    CLevelRow() = default;
    CLevelRow(const std::u16string& cubeName, const JSONDimension& dimension,
              const JSONLevel& level);

    WCHAR catalogName[kSchemaTextChars];
    WCHAR schemaName[kSchemaTextChars];
    WCHAR cubeName[kSchemaTextChars];
    WCHAR dimensionUniqueName[kSchemaTextChars];
    WCHAR hierarchyUniqueName[kSchemaTextChars];
    WCHAR levelName[kSchemaTextChars];
    WCHAR levelUniqueName[kSchemaTextChars];
    GUID levelGuid;
    WCHAR levelCaption[kSchemaTextChars];
    uint32_t levelNumber;
    uint32_t levelCardinality;
    int32_t levelType;
    WCHAR description[kSchemaTextChars];
    int32_t customRollupSettings;
    int32_t levelUniqueSettings;
    SchemaFlag levelIsVisible;
    WCHAR levelOrderingProperty[kSchemaTextChars];
    int32_t levelDbType;
    WCHAR levelMasterUniqueName[kSchemaTextChars];
    WCHAR levelNameSqlColumnName[kSchemaTextChars];
    WCHAR levelKeySqlColumnName[kSchemaTextChars];
    WCHAR levelUniqueNameSqlColumnName[kSchemaTextChars];
    WCHAR levelAttributeHierarchyName[kSchemaTextChars];
    uint16_t levelKeyCardinality;
    uint16_t levelOrigin;

    BEGIN_PROVIDER_COLUMN_MAP(CLevelRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("DIMENSION_UNIQUE_NAME", 4, dimensionUniqueName)
    SCHEMA_TEXT_COLUMN("HIERARCHY_UNIQUE_NAME", 5, hierarchyUniqueName)
    SCHEMA_TEXT_COLUMN("LEVEL_NAME", 6, levelName)
    SCHEMA_TEXT_COLUMN("LEVEL_UNIQUE_NAME", 7, levelUniqueName)
    SCHEMA_COLUMN("LEVEL_GUID", 8, DBTYPE_GUID, levelGuid)
    SCHEMA_TEXT_COLUMN("LEVEL_CAPTION", 9, levelCaption)
    SCHEMA_COLUMN("LEVEL_NUMBER", 10, DBTYPE_UI4, levelNumber)
    SCHEMA_COLUMN("LEVEL_CARDINALITY", 11, DBTYPE_UI4, levelCardinality)
    SCHEMA_COLUMN("LEVEL_TYPE", 12, DBTYPE_I4, levelType)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 13, description)
    SCHEMA_COLUMN("CUSTOM_ROLLUP_SETTINGS", 14, DBTYPE_I4, customRollupSettings)
    SCHEMA_COLUMN("LEVEL_UNIQUE_SETTINGS", 15, DBTYPE_I4, levelUniqueSettings)
    SCHEMA_COLUMN("LEVEL_IS_VISIBLE", 16, DBTYPE_BOOL, levelIsVisible)
    SCHEMA_TEXT_COLUMN("LEVEL_ORDERING_PROPERTY", 17, levelOrderingProperty)
    SCHEMA_COLUMN("LEVEL_DBTYPE", 18, DBTYPE_I4, levelDbType)
    SCHEMA_TEXT_COLUMN("LEVEL_MASTER_UNIQUE_NAME", 19, levelMasterUniqueName)
    SCHEMA_TEXT_COLUMN("LEVEL_NAME_SQL_COLUMN_NAME", 20, levelNameSqlColumnName)
    SCHEMA_TEXT_COLUMN("LEVEL_KEY_SQL_COLUMN_NAME", 21, levelKeySqlColumnName)
    SCHEMA_TEXT_COLUMN("LEVEL_UNIQUE_NAME_SQL_COLUMN_NAME", 22, levelUniqueNameSqlColumnName)
    SCHEMA_TEXT_COLUMN("LEVEL_ATTRIBUTE_HIERARCHY_NAME", 23, levelAttributeHierarchyName)
    SCHEMA_COLUMN("LEVEL_KEY_CARDINALITY", 24, DBTYPE_UI2, levelKeyCardinality)
    SCHEMA_COLUMN("LEVEL_ORIGIN", 25, DBTYPE_UI2, levelOrigin)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CLevelRow>);

// Restriction index 4 of the levels and members rowsets: HIERARCHY_UNIQUE_NAME.
constexpr ULONG kHierarchyUniqueNameRestriction = 4;

class CLevelRowset : public CGenericRowset<CLevelRowset, CLevelRow, ZelmoSession> {
  public:
    static constexpr ULONG kReadRestrictions =
        RestrictionBit(kCubeRestriction) | RestrictionBit(kHierarchyUniqueNameRestriction);

    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions, const VARIANT* rgRestrictions);

  private:
    // Fetches one cached dimension's levels, appends their rows and stores them in the cache.
    void AddLevelsOf(const APIAuthToken& token, const CubeModelId& modelId,
                     JSONDimension& dimension, const char* dimensionId);
};
