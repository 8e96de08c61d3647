// CLevelRowset: the MDSCHEMA_LEVELS schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CLevelRow {};

class CLevelRowset : public EmptySchemaRowset<CLevelRowset, CLevelRow> {};
