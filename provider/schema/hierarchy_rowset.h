// CHierarchyRowset: the MDSCHEMA_HIERARCHIES schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CHierarchyRow {};

class CHierarchyRowset : public EmptySchemaRowset<CHierarchyRowset, CHierarchyRow> {};
