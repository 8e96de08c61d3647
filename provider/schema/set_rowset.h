// CSetRowset: MDSCHEMA_SETS. The service has no named sets: the published columns and no rows.
#pragma once

#include <cstdint>

#include "provider/schema/generic_rowset.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CSetRow {
  public:
    WCHAR catalogName[kShortSchemaTextChars];
    WCHAR schemaName[kShortSchemaTextChars];
    WCHAR cubeName[kShortSchemaTextChars];
    WCHAR setName[kShortSchemaTextChars];
    int32_t scope;
    WCHAR description[kShortSchemaTextChars];

    BEGIN_PROVIDER_COLUMN_MAP(CSetRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("SET_NAME", 4, setName)
    SCHEMA_COLUMN("SCOPE", 5, DBTYPE_I4, scope)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 6, description)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CSetRow>);

class CSetRowset : public CGenericRowset<CSetRowset, CSetRow, ZelmoSession> {
  public:
    static const char* GetSchemaName() { return "MDSCHEMA_SETS"; }
};
