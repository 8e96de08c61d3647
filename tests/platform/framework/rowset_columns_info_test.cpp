// IColumnsInfo and IConvertType of rowsets and commands: the column array with its string buffer,
// column id lookup with its statuses, and the conversion flags.
#include "rowset_test_consumer.h"

namespace {

TEST(RowsetColumnsInfo, ColumnsOfAStaticMapWithOneStringBuffer) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"rows:1");
    CComQIPtr<IColumnsInfo> info(rowset);
    DBORDINAL count = 0;
    DBCOLUMNINFO* columns = nullptr;
    OLECHAR* strings = nullptr;
    ASSERT_EQ(info->GetColumnInfo(&count, &columns, &strings), S_OK);
    ASSERT_EQ(count, 8u);
    EXPECT_EQ(std::u16string(columns[0].pwszName), u"CATALOG_NAME");
    EXPECT_EQ(columns[0].wType, DBTYPE_WSTR);
    EXPECT_EQ(columns[0].ulColumnSize, 4096u);
    EXPECT_EQ(columns[0].dwFlags, 0u);
    EXPECT_EQ(columns[0].bPrecision, 255);
    EXPECT_EQ(columns[2].wType, DBTYPE_UI4);
    EXPECT_EQ(columns[2].dwFlags, static_cast<DBCOLUMNFLAGS>(DBCOLUMNFLAGS_ISFIXEDLENGTH));
    EXPECT_EQ(columns[2].bPrecision, 0);
    EXPECT_EQ(columns[3].wType, DBTYPE_I4);
    EXPECT_EQ(columns[4].wType, DBTYPE_GUID);
    EXPECT_EQ(columns[5].wType, DBTYPE_DBTIMESTAMP);
    EXPECT_EQ(columns[6].wType, DBTYPE_R8);
    EXPECT_EQ(columns[7].wType, DBTYPE_STR);
    EXPECT_EQ(columns[7].iOrdinal, 8u);
    // Every name, of a column and of its id, lies inside the string buffer.
    for (DBORDINAL c = 0; c < count; ++c) {
        EXPECT_GE(columns[c].pwszName, strings);
        EXPECT_EQ(columns[c].columnid.eKind, static_cast<DBKIND>(DBKIND_NAME));
        EXPECT_GE(columns[c].columnid.uName.pwszName, strings);
        EXPECT_EQ(std::u16string(columns[c].columnid.uName.pwszName),
                  std::u16string(columns[c].pwszName));
    }
    CoTaskMemFree(columns);
    CoTaskMemFree(strings);

    count = 5;
    EXPECT_EQ(info->GetColumnInfo(&count, nullptr, &strings), E_INVALIDARG);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(strings, nullptr);
}

TEST(RowsetColumnsInfo, RunTimeColumnsWithEmptyIdsHaveNamesOnly) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"tabular:1:2");
    CComQIPtr<IColumnsInfo> info(rowset);
    DBORDINAL count = 0;
    DBCOLUMNINFO* columns = nullptr;
    OLECHAR* strings = nullptr;
    ASSERT_EQ(info->GetColumnInfo(&count, &columns, &strings), S_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(std::u16string(columns[1].pwszName), u"TB");
    EXPECT_EQ(columns[1].wType, DBTYPE_R8);
    EXPECT_EQ(columns[1].bPrecision, 16);
    EXPECT_EQ(columns[1].bScale, 2);
    EXPECT_EQ(columns[1].columnid.uName.pwszName, nullptr);
    CoTaskMemFree(columns);
    CoTaskMemFree(strings);
    // No columns at all: S_OK with nothing allocated.
    CComPtr<IRowset> empty = OpenRowsetOf(u"tabular:0:0");
    CComQIPtr<IColumnsInfo> none(empty);
    count = 3;
    ASSERT_EQ(none->GetColumnInfo(&count, &columns, &strings), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(columns, nullptr);
    EXPECT_EQ(strings, nullptr);
}

TEST(RowsetColumnsInfo, MapColumnIdsStatuses) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"rows:1");
    CComQIPtr<IColumnsInfo> info(rowset);
    DBID ids[3];
    ids[0] = MakeNameDbid(const_cast<LPOLESTR>(u"VALUE"));
    ids[1] = MakeNameDbid(const_cast<LPOLESTR>(u"NOPE"));
    ids[2] = MakeNameDbid(const_cast<LPOLESTR>(u"CATALOG_NAME"));
    DBORDINAL ordinals[3] = {};
    EXPECT_EQ(info->MapColumnIDs(3, ids, ordinals), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(ordinals[0], 7u);
    EXPECT_EQ(ordinals[1], DB_INVALIDCOLUMN);
    EXPECT_EQ(ordinals[2], 1u);
    EXPECT_EQ(info->MapColumnIDs(1, &ids[1], ordinals), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(info->MapColumnIDs(1, &ids[0], ordinals), S_OK);
    EXPECT_EQ(info->MapColumnIDs(0, nullptr, nullptr), S_OK);
    EXPECT_EQ(info->MapColumnIDs(1, nullptr, ordinals), E_INVALIDARG);
    EXPECT_EQ(info->MapColumnIDs(1, ids, nullptr), E_INVALIDARG);
}

TEST(RowsetColumnsInfo, CommandAnswersOnlyWithAText) {
    CComPtr<ICommandText> command = OpenCommand(nullptr);
    CComQIPtr<IColumnsInfo> info(command);
    DBORDINAL count = 0;
    DBCOLUMNINFO* columns = nullptr;
    OLECHAR* strings = nullptr;
    EXPECT_EQ(info->GetColumnInfo(&count, &columns, &strings), DB_E_NOCOMMAND);
    DBID id = MakeNameDbid(const_cast<LPOLESTR>(u"VALUE"));
    DBORDINAL ordinal = 0;
    EXPECT_EQ(info->MapColumnIDs(1, &id, &ordinal), DB_E_NOCOMMAND);
    ASSERT_EQ(command->SetCommandText(DBGUID_DEFAULT, u"anything"), S_OK);
    ASSERT_EQ(info->GetColumnInfo(&count, &columns, &strings), S_OK);
    EXPECT_EQ(count, 8u);
    CoTaskMemFree(columns);
    CoTaskMemFree(strings);
    EXPECT_EQ(info->MapColumnIDs(1, &id, &ordinal), S_OK);
    EXPECT_EQ(ordinal, 7u);
}

TEST(RowsetConvertType, FlagsAndTable) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"rows:1");
    CComQIPtr<IConvertType> rowsetConvert(rowset);
    CComPtr<ICommandText> command = OpenCommand(u"rows:1");
    CComQIPtr<IConvertType> commandConvert(command);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_I4, DBTYPE_WSTR, DBCONVERTFLAGS_COLUMN), S_OK);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_GUID, DBTYPE_DBTIMESTAMP, DBCONVERTFLAGS_COLUMN),
              S_FALSE);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_I4, DBTYPE_WSTR, DBCONVERTFLAGS_PARAMETER),
              DB_E_BADCONVERTFLAG);
    EXPECT_EQ(commandConvert->CanConvert(DBTYPE_I4, DBTYPE_WSTR, DBCONVERTFLAGS_PARAMETER), S_OK);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_I4, DBTYPE_WSTR, 0x100), DB_E_BADCONVERTFLAG);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_I4, DBTYPE_WSTR, DBCONVERTFLAGS_ISLONG),
              DB_E_BADCONVERTFLAG);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_WSTR, DBTYPE_WSTR, DBCONVERTFLAGS_ISLONG), S_OK);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_I4, DBTYPE_WSTR, DBCONVERTFLAGS_FROMVARIANT), S_OK);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_GUID, DBTYPE_WSTR, DBCONVERTFLAGS_FROMVARIANT),
              DB_E_BADTYPE);
    EXPECT_EQ(rowsetConvert->CanConvert(DBTYPE_WSTR, DBTYPE_WSTR, DBCONVERTFLAGS_FROMVARIANT),
              DB_E_BADTYPE);
}

}  // namespace
