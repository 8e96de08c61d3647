// CCubeRowset: the MDSCHEMA_CUBES schema rowset.
#pragma once

#include "provider/schema/empty_schema_rowset.h"

// The columns and rows come with the schema rowsets.
struct CCubeRow {};

class CCubeRowset : public EmptySchemaRowset<CCubeRowset, CCubeRow> {};
