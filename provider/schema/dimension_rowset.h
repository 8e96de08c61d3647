// CDimensionRowset: the MDSCHEMA_DIMENSIONS schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CDimensionRow {};

class CDimensionRowset : public EmptySchemaRowset<CDimensionRowset, CDimensionRow> {};
