// CHierarchyRowset: MDSCHEMA_HIERARCHIES for one cube, one hierarchy per dimension. It fills the
// dimension list of the session's cached model, which the levels rowset reads.
#pragma once

#include <cstdint>
#include <string>

#include "client/json_dimension.h"
#include "provider/schema/generic_rowset.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CHierarchyRow {
  public:
    CHierarchyRow() = default;
    CHierarchyRow(const std::u16string& modelId, const JSONDimension& dimension);

    WCHAR catalogName[kSchemaTextChars];
    WCHAR schemaName[kSchemaTextChars];
    WCHAR cubeName[kSchemaTextChars];
    WCHAR dimensionUniqueName[kSchemaTextChars];
    WCHAR hierarchyName[kSchemaTextChars];
    WCHAR hierarchyUniqueName[kSchemaTextChars];
    GUID hierarchyGuid;
    WCHAR hierarchyCaption[kSchemaTextChars];
    int16_t dimensionType;
    uint32_t hierarchyCardinality;
    WCHAR defaultMember[kSchemaTextChars];
    WCHAR allMember[kSchemaTextChars];
    WCHAR description[kSchemaTextChars];
    int16_t structure;
    SchemaFlag isVirtual;
    SchemaFlag isReadWrite;
    int32_t dimensionUniqueSettings;
    WCHAR dimensionMasterUniqueName[kSchemaTextChars];
    SchemaFlag dimensionIsVisible;
    uint32_t hierarchyOrdinal;
    SchemaFlag dimensionIsShared;
    SchemaFlag hierarchyIsVisible;
    int32_t hierarchyOrigin;
    WCHAR hierarchyDisplayFolder[kSchemaTextChars];
    uint16_t instanceSelection;
    int16_t groupingBehavior;

    BEGIN_PROVIDER_COLUMN_MAP(CHierarchyRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("DIMENSION_UNIQUE_NAME", 4, dimensionUniqueName)
    SCHEMA_TEXT_COLUMN("HIERARCHY_NAME", 5, hierarchyName)
    SCHEMA_TEXT_COLUMN("HIERARCHY_UNIQUE_NAME", 6, hierarchyUniqueName)
    SCHEMA_COLUMN("HIERARCHY_GUID", 7, DBTYPE_GUID, hierarchyGuid)
    SCHEMA_TEXT_COLUMN("HIERARCHY_CAPTION", 8, hierarchyCaption)
    SCHEMA_COLUMN("DIMENSION_TYPE", 9, DBTYPE_I2, dimensionType)
    SCHEMA_COLUMN("HIERARCHY_CARDINALITY", 10, DBTYPE_UI4, hierarchyCardinality)
    SCHEMA_TEXT_COLUMN("DEFAULT_MEMBER", 11, defaultMember)
    SCHEMA_TEXT_COLUMN("ALL_MEMBER", 12, allMember)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 13, description)
    SCHEMA_COLUMN("STRUCTURE", 14, DBTYPE_I2, structure)
    SCHEMA_COLUMN("IS_VIRTUAL", 15, DBTYPE_BOOL, isVirtual)
    SCHEMA_COLUMN("IS_READWRITE", 16, DBTYPE_BOOL, isReadWrite)
    SCHEMA_COLUMN("DIMENSION_UNIQUE_SETTINGS", 17, DBTYPE_I4, dimensionUniqueSettings)
    SCHEMA_TEXT_COLUMN("DIMENSION_MASTER_UNIQUE_NAME", 18, dimensionMasterUniqueName)
    SCHEMA_COLUMN("DIMENSION_IS_VISIBLE", 19, DBTYPE_BOOL, dimensionIsVisible)
    SCHEMA_COLUMN("HIERARCHY_ORDINAL", 20, DBTYPE_UI4, hierarchyOrdinal)
    SCHEMA_COLUMN("DIMENSION_IS_SHARED", 21, DBTYPE_BOOL, dimensionIsShared)
    SCHEMA_COLUMN("HIERARCHY_IS_VISIBLE", 22, DBTYPE_BOOL, hierarchyIsVisible)
    SCHEMA_COLUMN("HIERARCHY_ORIGIN", 23, DBTYPE_I4, hierarchyOrigin)
    SCHEMA_TEXT_COLUMN("HIERARCHY_DISPLAY_FOLDER", 24, hierarchyDisplayFolder)
    SCHEMA_COLUMN("INSTANCE_SELECTION", 25, DBTYPE_UI2, instanceSelection)
    SCHEMA_COLUMN("GROUPING_BEHAVIOR", 26, DBTYPE_I2, groupingBehavior)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CHierarchyRow>);

class CHierarchyRowset : public CGenericRowset<CHierarchyRowset, CHierarchyRow, ZelmoSession> {
  public:
    // Index 4 is read as a name whose last "<...>" holds a dimension's number.
    static constexpr ULONG kReadRestrictions = RestrictionBit(kCubeRestriction) | RestrictionBit(4);

    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions, const VARIANT* rgRestrictions);
};
