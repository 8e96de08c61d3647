// CFunctionRowset: MDSCHEMA_FUNCTIONS. The provider lists no functions: the published columns
// and no rows.
#pragma once

#include <cstdint>

#include "provider/schema/generic_rowset.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

class CFunctionRow {
  public:
    WCHAR functionName[kShortSchemaTextChars];
    WCHAR parameterList[kShortSchemaTextChars];
    WCHAR interfaceName[kShortSchemaTextChars];
    int32_t origin;
    int32_t returnType;
    WCHAR description[kShortSchemaTextChars];

    // The columns' order differs from the fields'.
    BEGIN_PROVIDER_COLUMN_MAP(CFunctionRow)
    SCHEMA_TEXT_COLUMN("FUNCTION_NAME", 1, functionName)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 2, description)
    SCHEMA_TEXT_COLUMN("PARAMETER_LIST", 3, parameterList)
    SCHEMA_COLUMN("RETURN_TYPE", 4, DBTYPE_I4, returnType)
    SCHEMA_COLUMN("ORIGIN", 5, DBTYPE_I4, origin)
    SCHEMA_TEXT_COLUMN("INTERFACE_NAME", 6, interfaceName)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CFunctionRow>);

class CFunctionRowset : public CGenericRowset<CFunctionRowset, CFunctionRow, ZelmoSession> {
  public:
    static const char* GetSchemaName() { return "MDSCHEMA_FUNCTIONS"; }
};
