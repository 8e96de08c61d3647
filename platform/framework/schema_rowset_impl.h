// CSchemaRowsetImpl: the base of schema rowsets. The schema map creates one with the session as
// its site and calls its Execute(pcRowsAffected, cRestrictions, rgRestrictions) once.
#pragma once

#include "rowset_impl.h"
#include "util_props.h"

// The rowset properties of a schema rowset: its interfaces, and the fetch and hold behaviour a
// consumer may change in GetRowset's property sets, with the framework's defaults (on), as the
// rowsets of a command have them.
class CSchemaRowsetProperties : public CUtlProps<CSchemaRowsetProperties> {
  public:
    BEGIN_PROPSET_MAP(CSchemaRowsetProperties)
    BEGIN_PROPERTY_SET(DBPROPSET_ROWSET)
    PROPERTY_INFO_ENTRY(IAccessor)
    PROPERTY_INFO_ENTRY(IColumnsInfo)
    PROPERTY_INFO_ENTRY(IConvertType)
    PROPERTY_INFO_ENTRY(IRowset)
    PROPERTY_INFO_ENTRY(IRowsetIdentity)
    PROPERTY_INFO_ENTRY(IRowsetInfo)
    PROPERTY_INFO_ENTRY(CANFETCHBACKWARDS)
    PROPERTY_INFO_ENTRY(CANHOLDROWS)
    PROPERTY_INFO_ENTRY(CANSCROLLBACKWARDS)
    END_PROPERTY_SET(DBPROPSET_ROWSET)
    END_PROPSET_MAP()
};

// Its interface map is the rowset base's. The rows are the records Execute appends with
// m_rgRowData.Add; they are kept compactly (texts at their length) and served at the row class's
// declared widths and offsets.
template <class T, class Storage, class CreatorClass, class ArrayType = CAtlArray<Storage>,
          class RowClass = CSimpleRow, class RowsetInterface = IRowsetImpl<T, IRowset, RowClass>>
class CSchemaRowsetImpl : public CRowsetImpl<T, Storage, CreatorClass, ArrayType, RowClass,
                                             RowsetInterface, CSchemaRowsetProperties> {
  public:
    // NOLINTNEXTLINE(bugprone-reserved-identifier): the template library's style of name
    using _SchemaRowsetBase = CRowsetImpl<T, Storage, CreatorClass, ArrayType, RowClass,
                                          RowsetInterface, CSchemaRowsetProperties>;
};
