// CMeasureRowset: the MDSCHEMA_MEASURES schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CMeasureRow {};

class CMeasureRowset : public EmptySchemaRowset<CMeasureRowset, CMeasureRow> {};
