// CPropertyRowset: MDSCHEMA_PROPERTIES. The service has no member properties: the published
// columns and no rows.
#pragma once

#include <cstdint>

#include "provider/schema/generic_rowset.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CPropertyRow {
  public:
    int16_t propertyType;
    WCHAR catalogName[kSchemaTextChars];
    WCHAR schemaName[kSchemaTextChars];
    WCHAR cubeName[kSchemaTextChars];
    WCHAR dimensionUniqueName[kSchemaTextChars];
    WCHAR hierarchyUniqueName[kSchemaTextChars];
    WCHAR levelUniqueName[kSchemaTextChars];
    WCHAR memberUniqueName[kSchemaTextChars];
    WCHAR propertyName[kSchemaTextChars];
    WCHAR propertyCaption[kSchemaTextChars];
    uint16_t dataType;
    uint32_t characterMaximumLength;
    uint32_t characterOctetLength;
    uint16_t numericPrecision;
    int16_t numericScale;
    WCHAR description[kSchemaTextChars];
    int16_t propertyContentType;

    BEGIN_PROVIDER_COLUMN_MAP(CPropertyRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("DIMENSION_UNIQUE_NAME", 4, dimensionUniqueName)
    SCHEMA_TEXT_COLUMN("HIERARCHY_UNIQUE_NAME", 5, hierarchyUniqueName)
    SCHEMA_TEXT_COLUMN("LEVEL_UNIQUE_NAME", 6, levelUniqueName)
    SCHEMA_TEXT_COLUMN("MEMBER_UNIQUE_NAME", 7, memberUniqueName)
    SCHEMA_COLUMN("PROPERTY_TYPE", 8, DBTYPE_I2, propertyType)
    SCHEMA_TEXT_COLUMN("PROPERTY_NAME", 9, propertyName)
    SCHEMA_TEXT_COLUMN("PROPERTY_CAPTION", 10, propertyCaption)
    SCHEMA_COLUMN("DATA_TYPE", 11, DBTYPE_UI2, dataType)
    SCHEMA_COLUMN("CHARACTER_MAXIMUM_LENGTH", 12, DBTYPE_UI4, characterMaximumLength)
    SCHEMA_COLUMN("CHARACTER_OCTET_LENGTH", 13, DBTYPE_UI4, characterOctetLength)
    SCHEMA_COLUMN("NUMERIC_PRECISION", 14, DBTYPE_UI2, numericPrecision)
    SCHEMA_COLUMN("NUMERIC_SCALE", 15, DBTYPE_I2, numericScale)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 16, description)
    SCHEMA_COLUMN("PROPERTY_CONTENT_TYPE", 17, DBTYPE_I2, propertyContentType)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CPropertyRow>);

class CPropertyRowset : public CGenericRowset<CPropertyRowset, CPropertyRow, ZelmoSession> {
  public:
    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                    const VARIANT* rgRestrictions) {
        RestrictionSet restrictions;
        ParseRestrictions(cRestrictions, rgRestrictions, &restrictions);
        return Finish(pcRowsAffected);
    }
};
