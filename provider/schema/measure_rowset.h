// CMeasureRowset: MDSCHEMA_MEASURES. Every cube has one measure, "Value", in the measures
// dimension; the rowset needs neither the service nor the session's cache.
#pragma once

#include <cstdint>
#include <string>

#include "provider/schema/generic_rowset.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CMeasureRow {
  public:
    CMeasureRow() = default;
    explicit CMeasureRow(const std::u16string& cubeName);

    WCHAR catalogName[kSchemaTextChars];
    WCHAR schemaName[kSchemaTextChars];
    WCHAR cubeName[kSchemaTextChars];
    WCHAR measureName[kSchemaTextChars];
    WCHAR measureUniqueName[kSchemaTextChars];
    WCHAR measureCaption[kSchemaTextChars];
    GUID measureGuid;
    int32_t measureAggregator;
    uint16_t dataType;
    uint16_t numericPrecision;
    int16_t numericScale;
    WCHAR measureUnits[kSchemaTextChars];
    WCHAR description[kSchemaTextChars];
    WCHAR expression[kSchemaTextChars];
    int32_t measureIsVisible;
    WCHAR levelsList[kSchemaTextChars];
    // The unqualified caption's field lies before the SQL column name's.
    WCHAR measureUnqualifiedCaption[kSchemaTextChars];
    WCHAR measureNameSqlColumnName[kSchemaTextChars];
    WCHAR measureGroupName[kSchemaTextChars];

    BEGIN_PROVIDER_COLUMN_MAP(CMeasureRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("MEASURE_NAME", 4, measureName)
    SCHEMA_TEXT_COLUMN("MEASURE_UNIQUE_NAME", 5, measureUniqueName)
    SCHEMA_TEXT_COLUMN("MEASURE_CAPTION", 6, measureCaption)
    SCHEMA_COLUMN("MEASURE_GUID", 7, DBTYPE_GUID, measureGuid)
    SCHEMA_COLUMN("MEASURE_AGGREGATOR", 8, DBTYPE_I4, measureAggregator)
    SCHEMA_COLUMN("DATA_TYPE", 9, DBTYPE_UI2, dataType)
    SCHEMA_COLUMN("NUMERIC_PRECISION", 10, DBTYPE_UI2, numericPrecision)
    SCHEMA_COLUMN("NUMERIC_SCALE", 11, DBTYPE_I2, numericScale)
    SCHEMA_TEXT_COLUMN("MEASURE_UNITS", 12, measureUnits)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 13, description)
    SCHEMA_TEXT_COLUMN("EXPRESSION", 14, expression)
    SCHEMA_COLUMN("MEASURE_IS_VISIBLE", 15, DBTYPE_BOOL, measureIsVisible)
    SCHEMA_TEXT_COLUMN("LEVELS_LIST", 16, levelsList)
    SCHEMA_TEXT_COLUMN("MEASURE_NAME_SQL_COLUMN_NAME", 17, measureNameSqlColumnName)
    SCHEMA_TEXT_COLUMN("MEASURE_UNQUALIFIED_CAPTION", 18, measureUnqualifiedCaption)
    SCHEMA_TEXT_COLUMN("MEASUREGROUP_NAME", 19, measureGroupName)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CMeasureRow>);

class CMeasureRowset : public CGenericRowset<CMeasureRowset, CMeasureRow, ZelmoSession> {
  public:
    static constexpr ULONG kReadRestrictions = RestrictionBit(kCubeRestriction);

    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions, const VARIANT* rgRestrictions);
};
