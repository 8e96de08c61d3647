// CPropertyRowset: the MDSCHEMA_PROPERTIES schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CPropertyRow {};

class CPropertyRowset : public EmptySchemaRowset<CPropertyRowset, CPropertyRow> {};
