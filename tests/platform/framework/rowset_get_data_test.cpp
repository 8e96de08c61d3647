// GetData through each kind of row array: compact records, rows built on demand, owned row
// buffers; and GetData's own refusals and combined results.
#include "rowset_test_consumer.h"

namespace {

template <class T>
T ValueAt(const std::vector<BYTE>& row, DBBYTEOFFSET offset) {
    T value;
    std::memcpy(&value, row.data() + offset, sizeof(T));
    return value;
}

TEST(RowsetGetData, CompactRecordsServeDeclaredColumns) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"rows:30");
    std::vector<DBBINDING> bindings = {
        Binding(1, DBTYPE_WSTR, 0, 64),    Binding(2, DBTYPE_WSTR, 100, 4096),
        Binding(3, DBTYPE_UI4, 4300, 4),   Binding(4, DBTYPE_I4, 4400, 4),
        Binding(5, DBTYPE_GUID, 4500, 16), Binding(6, DBTYPE_DBTIMESTAMP, 4600, 16),
        Binding(7, DBTYPE_R8, 4700, 8),    Binding(8, DBTYPE_STR, 4800, 32)};
    HACCESSOR accessor = MakeAccessor(rowset, bindings);
    std::vector<HROW> rows = NextRows(rowset, 27, 5, DB_S_ENDOFROWSET);
    ASSERT_EQ(rows.size(), 3u);
    std::vector<BYTE> data(5000);
    ASSERT_EQ(rowset->GetData(rows[1], accessor, data.data()), S_OK);
    const TestMemberRow expected = MakeMemberRow(u"member c", 28);
    EXPECT_EQ(WideAt(data, 0), u"DEFAULT");
    EXPECT_EQ(PartsOf(data, bindings[0]).length, 14u);
    EXPECT_EQ(PartsOf(data, bindings[0]).status, static_cast<DBSTATUS>(DBSTATUS_S_OK));
    EXPECT_EQ(WideAt(data, 100), u"member c");
    EXPECT_EQ(ValueAt<ULONG>(data, 4300), 28u);
    EXPECT_EQ(ValueAt<LONG>(data, 4400), 23);
    EXPECT_EQ(std::memcmp(data.data() + 4500, &expected.guid, sizeof(GUID)), 0);
    EXPECT_EQ(std::memcmp(data.data() + 4600, &expected.stamp, sizeof(DBTIMESTAMP)), 0);
    EXPECT_EQ(ValueAt<double>(data, 4700), 14.0);
    EXPECT_STREQ(reinterpret_cast<const char*>(data.data() + 4800), "C28");
    rowset->ReleaseRows(rows.size(), rows.data(), nullptr, nullptr, nullptr);
}

TEST(RowsetGetData, RowsBuiltOnDemandAreCopiedOutPerRow) {
    CComPtr<ICommandText> command = OpenCommand(u"axis:4:2");
    DBROWCOUNT count = 0;
    CComPtr<IRowset> rowset = ExecuteRowset(command, &count);
    EXPECT_EQ(count, 4);
    // Columns are the row array's run-time columns: TUPLE_ORDINAL then two per dimension.
    CComQIPtr<IColumnsInfo> info(rowset);
    DBORDINAL columns = 0;
    DBCOLUMNINFO* described = nullptr;
    OLECHAR* strings = nullptr;
    ASSERT_EQ(info->GetColumnInfo(&columns, &described, &strings), S_OK);
    EXPECT_EQ(columns, 5u);
    EXPECT_EQ(std::u16string(described[3].pwszName), u"[D1].[MEMBER_CAPTION]");
    CoTaskMemFree(described);
    CoTaskMemFree(strings);

    std::vector<DBBINDING> bindings = {Binding(1, DBTYPE_UI4, 0, 4),
                                       Binding(2, DBTYPE_WSTR, 32, 64),
                                       Binding(5, DBTYPE_I4, 200, 4)};
    HACCESSOR accessor = MakeAccessor(rowset, bindings);
    CComQIPtr<IRowsetIdentity> identity(rowset);
    std::vector<HROW> rows = NextRows(rowset, 0, 4, S_OK);
    std::vector<BYTE> first(300), second(300);
    ASSERT_EQ(rowset->GetData(rows[2], accessor, first.data()), S_OK);
    ASSERT_EQ(rowset->GetData(rows[1], accessor, second.data()), S_OK);
    EXPECT_EQ(ValueAt<ULONG>(first, 0), 2u);
    EXPECT_EQ(WideAt(first, 32), u"mc0");
    EXPECT_EQ(ValueAt<LONG>(first, 200), 21);
    EXPECT_EQ(ValueAt<ULONG>(second, 0), 1u);
    EXPECT_EQ(WideAt(second, 32), u"mb0");
    rowset->ReleaseRows(rows.size(), rows.data(), nullptr, nullptr, nullptr);
}

TEST(RowsetGetData, OwnedRowBuffersWithRunTimeColumns) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"tabular:3:3");
    std::vector<DBBINDING> bindings = {Binding(1, DBTYPE_WSTR, 0, 512),
                                       Binding(2, DBTYPE_WSTR, 600, 6),
                                       Binding(3, DBTYPE_R8, 1000, 8)};
    HACCESSOR accessor = MakeAccessor(rowset, bindings);
    std::vector<HROW> rows = NextRows(rowset, 2, 1, S_OK);
    std::vector<BYTE> data(1100);
    // The second text and its terminator do not fit 6 bytes: truncated, still a success status.
    EXPECT_EQ(rowset->GetData(rows[0], accessor, data.data()), S_OK);
    EXPECT_EQ(WideAt(data, 0), u"r2A");
    EXPECT_EQ(PartsOf(data, bindings[1]).status, static_cast<DBSTATUS>(DBSTATUS_S_TRUNCATED));
    EXPECT_EQ(PartsOf(data, bindings[1]).length, 6u);
    EXPECT_EQ(ValueAt<double>(data, 1000), 3.0);
    rowset->ReleaseRows(1, rows.data(), nullptr, nullptr, nullptr);
}

TEST(RowsetGetData, RefusalsInOrder) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:2");
    CComQIPtr<IAccessor> commandAccessor(command);
    HACCESSOR nullAccessor = DB_NULL_HACCESSOR;
    ASSERT_EQ(
        commandAccessor->CreateAccessor(DBACCESSOR_ROWDATA, 0, nullptr, 0, &nullAccessor, nullptr),
        S_OK);
    DBBINDING parameter = Binding(1, DBTYPE_WSTR, 0, 16);
    parameter.eParamIO = DBPARAMIO_INPUT;
    HACCESSOR parameterAccessor = DB_NULL_HACCESSOR;
    ASSERT_EQ(commandAccessor->CreateAccessor(DBACCESSOR_PARAMETERDATA, 1, &parameter, 0,
                                              &parameterAccessor, nullptr),
              S_OK);
    CComPtr<IRowset> rowset = ExecuteRowset(command);
    HACCESSOR accessor = MakeAccessor(rowset, {Binding(2, DBTYPE_WSTR, 0, 64)});
    std::vector<HROW> rows = NextRows(rowset, 0, 1, S_OK);
    std::vector<BYTE> data(BindingSpan(64));
    EXPECT_EQ(rowset->GetData(rows[0], 4242, data.data()), DB_E_BADACCESSORHANDLE);
    EXPECT_EQ(rowset->GetData(rows[0], parameterAccessor, data.data()), DB_E_BADACCESSORTYPE);
    EXPECT_EQ(rowset->GetData(rows[0] + 1, accessor, data.data()), DB_E_BADROWHANDLE);
    EXPECT_EQ(rowset->GetData(DB_NULL_HROW, accessor, data.data()), DB_E_BADROWHANDLE);
    EXPECT_EQ(rowset->GetData(rows[0], accessor, nullptr), E_INVALIDARG);
    // The null accessor inherited from the command reads nothing, even into no buffer.
    EXPECT_EQ(rowset->GetData(rows[0], nullAccessor, nullptr), S_OK);
    rowset->ReleaseRows(1, rows.data(), nullptr, nullptr, nullptr);
    EXPECT_EQ(rowset->GetData(rows[0], accessor, data.data()), DB_E_BADROWHANDLE);
}

TEST(RowsetGetData, SomeOrAllBindingsFailing) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:1");
    // Made on the command, so the conversion is checked only when data moves.
    CComQIPtr<IAccessor> commandAccessor(command);
    const DBBINDING bad = Binding(1, DBTYPE_UI4, 0, 4);
    const DBBINDING good = Binding(2, DBTYPE_WSTR, 64, 64);
    const DBBINDING mixed[2] = {bad, good};
    HACCESSOR some = DB_NULL_HACCESSOR, all = DB_NULL_HACCESSOR;
    ASSERT_EQ(commandAccessor->CreateAccessor(DBACCESSOR_ROWDATA, 2, mixed, 0, &some, nullptr),
              S_OK);
    ASSERT_EQ(commandAccessor->CreateAccessor(DBACCESSOR_ROWDATA, 1, &bad, 0, &all, nullptr), S_OK);
    CComPtr<IRowset> rowset = ExecuteRowset(command);
    std::vector<HROW> rows = NextRows(rowset, 0, 1, S_OK);
    std::vector<BYTE> data(300);
    EXPECT_EQ(rowset->GetData(rows[0], some, data.data()), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(PartsOf(data, bad).status, static_cast<DBSTATUS>(DBSTATUS_E_CANTCONVERTVALUE));
    EXPECT_EQ(WideAt(data, 64), u"member a");
    EXPECT_EQ(rowset->GetData(rows[0], all, data.data()), DB_E_ERRORSOCCURRED);
    rowset->ReleaseRows(1, rows.data(), nullptr, nullptr, nullptr);
}

}  // namespace
