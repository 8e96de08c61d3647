// CDimensionRowset: MDSCHEMA_DIMENSIONS for one cube, asked of the service every time.
#pragma once

#include <cstdint>
#include <string>

#include "client/api_auth_token.h"
#include "client/json_dimension.h"
#include "provider/schema/generic_rowset.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CDimensionRow {
  public:
    CDimensionRow() = default;
    CDimensionRow(const std::u16string& modelId, const JSONDimension& dimension);

    WCHAR catalogName[kSchemaTextChars];
    WCHAR schemaName[kSchemaTextChars];
    WCHAR cubeName[kSchemaTextChars];
    WCHAR dimensionName[kSchemaTextChars];
    WCHAR dimensionUniqueName[kSchemaTextChars];
    GUID dimensionGuid;
    WCHAR dimensionCaption[kSchemaTextChars];
    uint32_t dimensionOrdinal;
    int16_t dimensionType;
    uint32_t dimensionCardinality;
    WCHAR defaultHierarchy[kSchemaTextChars];
    WCHAR description[kSchemaTextChars];

    BEGIN_PROVIDER_COLUMN_MAP(CDimensionRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("DIMENSION_NAME", 4, dimensionName)
    SCHEMA_TEXT_COLUMN("DIMENSION_UNIQUE_NAME", 5, dimensionUniqueName)
    SCHEMA_COLUMN("DIMENSION_GUID", 6, DBTYPE_GUID, dimensionGuid)
    SCHEMA_TEXT_COLUMN("DIMENSION_CAPTION", 7, dimensionCaption)
    SCHEMA_COLUMN("DIMENSION_ORDINAL", 8, DBTYPE_UI4, dimensionOrdinal)
    SCHEMA_COLUMN("DIMENSION_TYPE", 9, DBTYPE_I2, dimensionType)
    SCHEMA_COLUMN("DIMENSION_CARDINALITY", 10, DBTYPE_UI4, dimensionCardinality)
    SCHEMA_TEXT_COLUMN("DEFAULT_HIERARCHY", 11, defaultHierarchy)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 12, description)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CDimensionRow>);

// Restriction index 4 of the dimensions rowset: DIMENSION_UNIQUE_NAME.
constexpr ULONG kDimensionUniqueNameRestriction = 4;

class CDimensionRowset : public CGenericRowset<CDimensionRowset, CDimensionRow, ZelmoSession> {
  public:
    static constexpr ULONG kReadRestrictions =
        RestrictionBit(kCubeRestriction) | RestrictionBit(kDimensionUniqueNameRestriction);

    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions, const VARIANT* rgRestrictions);
};

// MD_DIMTYPE_MEASURE for the measures dimension (ordinal 0), else MD_DIMTYPE_OTHER.
int16_t DimensionTypeOf(const JSONDimension& dimension);

// The one dimension a unique name's "<id>" names, when the service knows it; false when the name
// holds no id, the id does not fit, or no dimension is found (no request for an id it could not
// send).
bool FetchNamedDimension(const APIAuthToken& token, const char* modelId, const char* uniqueName,
                         JSONDimension& dimension);
