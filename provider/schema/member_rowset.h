// CMemberRowset: the MDSCHEMA_MEMBERS schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CMemberRow {};

class CMemberRowset : public EmptySchemaRowset<CMemberRowset, CMemberRow> {};
