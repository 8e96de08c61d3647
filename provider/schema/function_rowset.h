// CFunctionRowset: the MDSCHEMA_FUNCTIONS schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CFunctionRow {};

class CFunctionRowset : public EmptySchemaRowset<CFunctionRowset, CFunctionRow> {};
