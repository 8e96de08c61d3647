// The test provider's rowsets: a dataset-like rowset over records, an axis-like rowset built on
// demand, a drill-through-like rowset of owned buffers, and a schema rowset.
#pragma once

#include <string>
#include <vector>

#include "rowset_impl.h"
#include "schema_rowset_impl.h"
#include "test_provider_objects.h"
#include "test_provider_rows.h"

// Text "rows:N" gives N member rows; "fail" makes Execute fail.
class TestDatasetRowset : public CRowsetImpl<TestDatasetRowset, TestMemberRow, TestCommand> {
  public:
    HRESULT Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected);
    DBPARAMS* m_receivedParams = nullptr;
};

// Text "axis:N:D" gives N rows of D dimensions.
class TestAxisRowset : public CRowsetImpl<TestAxisRowset, char*, TestCommand, TestAxisRow> {
  public:
    HRESULT Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected);
};

// Text "tabular:N:C" gives N rows of C columns, 512 bytes each, the last a double.
class TestTabularRowset : public CRowsetImpl<TestTabularRowset, TestTabularRowData, TestCommand,
                                             CAtlArray<TestTabularRowData>> {
  public:
    static ATLCOLUMNINFO* GetColumnInfo(TestTabularRowset* pThis, DBORDINAL* pcInfo) {
        *pcInfo = pThis->m_columns.size();
        return pThis->m_columns.empty() ? nullptr : pThis->m_columns.data();
    }
    HRESULT Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected);

  private:
    std::vector<std::u16string> m_names;
    std::vector<ATLCOLUMNINFO> m_columns;
};

// One row per restriction given, naming its index and text; rows are compact records.
class TestSchemaRowset : public CSchemaRowsetImpl<TestSchemaRowset, TestMemberRow, TestSession> {
  public:
    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions, const VARIANT* rgRestrictions);
};
