// CSetRowset: the MDSCHEMA_SETS schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CSetRow {};

class CSetRowset : public EmptySchemaRowset<CSetRowset, CSetRow> {};
