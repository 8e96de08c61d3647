// The nine schema rowsets through IDBSchemaRowset: columns, rows, restrictions, the session's
// cache counted in requests at the stand-in service, and names that must find nothing.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "provider_fixture.h"

namespace {

using Restrictions = std::vector<std::pair<int, std::u16string>>;
using Row = std::map<std::string, std::u16string>;

const std::string kLongName(3000, 'n');
const std::string kLongId(70, 'x');

// Region (3) has an all level, a level of two members and one without positions, and a level
// below; Product (5) one member whose name is longer than a text column.
const std::string kSchemaModel = R"json({"acceptAnyUser": true, "models": [
  {"id": "7", "name": "Sales", "desc": "Plan", "createdEpochSeconds": "0",
   "updatedEpochSeconds": "4102444800000", "dimensions": [
    {"id": "d3", "number": 3, "name": "Region", "memberCardinality": 5, "dimensionOrdinal": 1,
     "levels": [
      {"id": "0", "number": 0, "memberCardinality": 1, "members": [
        {"id": "30", "name": "All Regions", "dimensionNumber": 3, "numChildren": 2,
         "positions": [{"mdxParentMemberName": null, "level": 0}]}]},
      {"id": "1", "number": 1, "memberCardinality": 3, "members": [
        {"id": "31", "name": "North", "dimensionNumber": 3, "mdxMemberOrdinal": 4,
         "numChildren": 1,
         "positions": [{"mdxParentMemberName": "[Region <3>].[All Regions <30>]", "level": 1}]},
        {"id": "32", "name": "South", "dimensionNumber": 3,
         "positions": [{"mdxParentMemberName": "[Region <3>].[All Regions <30>]", "level": 1}]},
        {"id": "33", "name": "Nowhere", "dimensionNumber": 3}]},
      {"id": "2", "number": 2, "memberCardinality": 1, "members": [
        {"id": "34", "name": "Oslo", "dimensionNumber": 3,
         "positions": [{"mdxParentMemberName": "[Region <3>].[North <31>]", "level": 3}]}]}]},
    {"id": "d5", "number": 5, "name": "Product", "memberCardinality": 1, "dimensionOrdinal": 2,
     "levels": [{"id": "1", "number": 1, "memberCardinality": 1, "members": [
       {"id": "51", "name": ")json" +
                                 kLongName + R"json(", "dimensionNumber": 5,
        "positions": [{"level": 1}]}]}]}]},
  {"id": "8", "name": "Sales", "desc": "same name"},
  {"id": "9", "name": "Costs", "createdEpochSeconds": "-1", "updatedEpochSeconds": "abc"},
  {"id": ")json" + kLongId + R"json(", "name": "Long"}]})json";

class SchemaRowsetsTest : public provider_test::ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        Standin().SetData(kSchemaModel);
        Standin().ClearFaults();
        dataSource = InitializedDataSource(UniqueUser(u"ann"));  // not logged in yet
        session = OpenSession(dataSource);
        ASSERT_TRUE(session);
        Standin().ClearRequests();
    }

    // Every row, each column read as text (by the framework's conversions).
    static std::vector<Row> Read(IUnknown* session, REFGUID schema,
                                 const Restrictions& restrictions = {}, HRESULT* result = nullptr) {
        std::vector<CComVariant> values;
        for (const auto& [index, text] : restrictions) {
            if (values.size() <= static_cast<size_t>(index)) values.resize(index + 1);
            values[index] = CComVariant(text.c_str());
        }
        CComPtr<IRowset> rowset;
        const HRESULT hr = CComQIPtr<IDBSchemaRowset>(session)->GetRowset(
            nullptr, schema, static_cast<ULONG>(values.size()), values.data(), IID_IRowset, 0,
            nullptr, reinterpret_cast<IUnknown**>(&rowset));
        if (result != nullptr) *result = hr;
        std::vector<Row> rows;
        if (FAILED(hr)) return rows;
        const std::vector<std::string> names = ColumnNames(rowset);
        constexpr DBLENGTH kWidth = 8192;
        std::vector<DBBINDING> bindings(names.size());
        for (size_t c = 0; c < names.size(); ++c) {
            bindings[c] = DBBINDING{};
            bindings[c].iOrdinal = c + 1;
            bindings[c].obValue = c * (kWidth + 8);
            bindings[c].obStatus = c * (kWidth + 8) + kWidth;
            bindings[c].dwPart = DBPART_VALUE | DBPART_STATUS;
            bindings[c].dwMemOwner = DBMEMOWNER_CLIENTOWNED;
            bindings[c].cbMaxLen = kWidth;
            bindings[c].wType = DBTYPE_WSTR;
        }
        HACCESSOR accessor = DB_NULL_HACCESSOR;
        CComQIPtr<IAccessor>(rowset)->CreateAccessor(DBACCESSOR_ROWDATA, bindings.size(),
                                                     bindings.data(), 0, &accessor, nullptr);
        std::vector<BYTE> buffer(names.size() * (kWidth + 8));
        for (;;) {
            DBCOUNTITEM obtained = 0;
            HROW* handles = nullptr;
            const HRESULT next = rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &handles);
            if (obtained == 1) {
                EXPECT_EQ(rowset->GetData(handles[0], accessor, buffer.data()), S_OK);
                Row& row = rows.emplace_back();
                for (size_t c = 0; c < names.size(); ++c)
                    row[names[c]] =
                        reinterpret_cast<const char16_t*>(buffer.data() + bindings[c].obValue);
                rowset->ReleaseRows(1, handles, nullptr, nullptr, nullptr);
            }
            CoTaskMemFree(handles);
            if (next != S_OK) break;
        }
        CComQIPtr<IAccessor>(rowset)->ReleaseAccessor(accessor, nullptr);
        return rows;
    }

    static std::vector<DBCOLUMNINFO> Columns(IUnknown* rowset, std::vector<std::string>* names) {
        DBORDINAL count = 0;
        DBCOLUMNINFO* info = nullptr;
        OLECHAR* strings = nullptr;
        EXPECT_EQ(CComQIPtr<IColumnsInfo>(rowset)->GetColumnInfo(&count, &info, &strings), S_OK);
        std::vector<DBCOLUMNINFO> columns(info, info + count);
        for (const DBCOLUMNINFO& column : columns) {
            const std::u16string name(column.pwszName);
            names->emplace_back(name.begin(), name.end());
        }
        CoTaskMemFree(info);
        CoTaskMemFree(strings);
        return columns;
    }
    static std::vector<std::string> ColumnNames(IUnknown* rowset) {
        std::vector<std::string> names;
        Columns(rowset, &names);
        return names;
    }

    // Requests whose path and query hold part.
    static size_t Requests(const std::string& part) {
        size_t count = 0;
        for (const HttpRequest& request : Standin().GetRequests())
            if (request.target.find(part) != std::string::npos) ++count;
        return count;
    }

    std::vector<Row> Cubes(const Restrictions& restrictions = {}) {
        return Read(session, MDSCHEMA_CUBES, restrictions);
    }
    // The cube listed, and its dimensions and levels cached, as a browser reads them.
    void BrowseToLevels() {
        Cubes();
        Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}});
        Read(session, MDSCHEMA_LEVELS, {{2, u"Sales"}});
        Standin().ClearRequests();
    }

    CComPtr<IDBInitialize> dataSource;
    CComPtr<IUnknown> session;
};

TEST_F(SchemaRowsetsTest, ColumnMapsDeclareTheirNamesTypesAndWidths) {
    struct Expected {
        const GUID* schema;
        size_t count;
        size_t ordinal;  // from 1
        const char* name;
        DBTYPE type;
        DBLENGTH size;
    };
    const Expected table[] = {
        {&MDSCHEMA_CUBES, 18, 1, "CATALOG_NAME", DBTYPE_WSTR, 4096},
        {&MDSCHEMA_CUBES, 18, 6, "CREATED_ON", DBTYPE_DBTIMESTAMP, 16},
        {&MDSCHEMA_CUBES, 18, 12, "IS_DRILLTHROUGH_ENABLED", DBTYPE_BOOL, 4},
        {&MDSCHEMA_DIMENSIONS, 12, 9, "DIMENSION_TYPE", DBTYPE_I2, 2},
        {&MDSCHEMA_HIERARCHIES, 26, 16, "IS_READWRITE", DBTYPE_BOOL, 2},
        {&MDSCHEMA_HIERARCHIES, 26, 18, "DIMENSION_MASTER_UNIQUE_NAME", DBTYPE_WSTR, 4096},
        {&MDSCHEMA_HIERARCHIES, 26, 25, "INSTANCE_SELECTION", DBTYPE_UI2, 2},
        {&MDSCHEMA_LEVELS, 25, 16, "LEVEL_IS_VISIBLE", DBTYPE_BOOL, 2},
        {&MDSCHEMA_LEVELS, 25, 23, "LEVEL_ATTRIBUTE_HIERARCHY_NAME", DBTYPE_WSTR, 4096},
        {&MDSCHEMA_MEMBERS, 18, 12, "LEVEL_GUID", DBTYPE_GUID, 16},
        {&MDSCHEMA_MEASURES, 19, 17, "MEASURE_NAME_SQL_COLUMN_NAME", DBTYPE_WSTR, 4096},
        {&MDSCHEMA_MEASURES, 19, 18, "MEASURE_UNQUALIFIED_CAPTION", DBTYPE_WSTR, 4096},
        {&MDSCHEMA_PROPERTIES, 17, 8, "PROPERTY_TYPE", DBTYPE_I2, 2},
        {&MDSCHEMA_SETS, 6, 5, "SCOPE", DBTYPE_I4, 4},
        {&MDSCHEMA_FUNCTIONS, 6, 2, "DESCRIPTION", DBTYPE_WSTR, 512},
        {&MDSCHEMA_FUNCTIONS, 6, 6, "INTERFACE_NAME", DBTYPE_WSTR, 512},
    };
    for (const Expected& expected : table) {
        CComPtr<IUnknown> rowset;
        ASSERT_EQ(CComQIPtr<IDBSchemaRowset>(session)->GetRowset(
                      nullptr, *expected.schema, 0, nullptr, IID_IUnknown, 0, nullptr, &rowset),
                  S_OK);
        std::vector<std::string> names;
        const std::vector<DBCOLUMNINFO> columns = Columns(rowset, &names);
        ASSERT_EQ(columns.size(), expected.count) << expected.name;
        const DBCOLUMNINFO& column = columns[expected.ordinal - 1];
        EXPECT_EQ(names[expected.ordinal - 1], expected.name);
        EXPECT_EQ(column.iOrdinal, expected.ordinal);
        EXPECT_EQ(column.wType, expected.type) << expected.name;
        EXPECT_EQ(column.ulColumnSize, expected.size) << expected.name;
        const bool text = expected.type == DBTYPE_WSTR;
        EXPECT_EQ(column.dwFlags, text ? 0u : DBCOLUMNFLAGS_ISFIXEDLENGTH) << expected.name;
        EXPECT_EQ(column.bPrecision, text ? 255 : 0) << expected.name;
    }
}

TEST_F(SchemaRowsetsTest, CubesAreTheModelsFetchedOncePerSession) {
    const std::vector<Row> cubes = Cubes();
    ASSERT_EQ(cubes.size(), 3u);  // the second "Sales" is dropped
    EXPECT_EQ(cubes[0].at("CATALOG_NAME"), u"DEFAULT");
    EXPECT_EQ(cubes[0].at("CUBE_NAME"), u"Sales");
    EXPECT_EQ(cubes[0].at("CUBE_CAPTION"), u"Sales");
    EXPECT_EQ(cubes[0].at("CUBE_TYPE"), u"CUBE");
    EXPECT_EQ(cubes[0].at("DESCRIPTION"), u"Plan");
    EXPECT_EQ(cubes[0].at("CREATED_ON"), u"1970-01-01 00:00:00");
    EXPECT_EQ(cubes[0].at("LAST_SCHEMA_UPDATE"), u"2038-01-19 03:14:07");
    EXPECT_EQ(cubes[0].at("LAST_DATA_UPDATE"), u"2038-01-19 03:14:07");
    EXPECT_EQ(cubes[0].at("IS_DRILLTHROUGH_ENABLED"), u"True");
    EXPECT_EQ(cubes[0].at("IS_LINKABLE"), u"False");
    EXPECT_EQ(cubes[1].at("CREATED_ON"), u"2106-02-07 06:28:15");
    EXPECT_EQ(cubes[1].at("LAST_SCHEMA_UPDATE"), u"1970-01-01 00:00:00");

    EXPECT_EQ(Cubes({{2, u"Costs"}}).size(), 1u);
    EXPECT_TRUE(Cubes({{2, u"costs"}}).empty());
    EXPECT_TRUE(Cubes({{2, u""}}).empty());
    EXPECT_EQ(Requests("/api/models"), 1u);
    // The second "Sales" is not in the name map either: its dimensions are model 7's.
    const std::vector<Row> dimensions = Read(session, MDSCHEMA_DIMENSIONS, {{2, u"Sales"}});
    ASSERT_FALSE(dimensions.empty());
    EXPECT_EQ(dimensions[0].at("CUBE_NAME"), u"7");

    CComPtr<IUnknown> second = OpenSession(dataSource);
    EXPECT_EQ(Read(second, MDSCHEMA_CUBES).size(), 3u);
    EXPECT_EQ(Requests("/api/models"), 3u);  // the list again, and the dimensions between
    EXPECT_EQ(Requests("/login"), 1u);       // the second session's login comes from the cache
}

TEST_F(SchemaRowsetsTest, CubesAnswerAccessDeniedForARefusedLoginAndRetryAFailedList) {
    CComPtr<IDBInitialize> stranger = InitializedDataSource(u"refused@example.com", u"pw");
    CComPtr<IUnknown> strangerSession = OpenSession(stranger);
    Standin().SetFault("/login", StandinFault{});
    HRESULT hr = S_OK;
    EXPECT_TRUE(Read(strangerSession, MDSCHEMA_CUBES, {}, &hr).empty());
    EXPECT_EQ(hr, E_ACCESSDENIED);
    Standin().ClearFaults();

    Standin().SetFault("/api/models", StandinFault{});
    EXPECT_TRUE(Cubes().empty());
    Standin().ClearFaults();
    EXPECT_EQ(Cubes().size(), 3u);
    EXPECT_EQ(Requests("/api/models"), 2u);
}

TEST_F(SchemaRowsetsTest, DimensionsAreAskedForEveryTimeAndOneIsFoundByItsNumber) {
    EXPECT_TRUE(Read(session, MDSCHEMA_DIMENSIONS, {{2, u"Sales"}}).empty());  // before cubes
    Cubes();
    Standin().ClearRequests();
    const std::vector<Row> all = Read(session, MDSCHEMA_DIMENSIONS, {{2, u"Sales"}});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].at("DIMENSION_UNIQUE_NAME"), u"Region <3>");
    EXPECT_EQ(all[0].at("DEFAULT_HIERARCHY"), u"[Region <3>]");
    EXPECT_EQ(all[0].at("DIMENSION_TYPE"), u"3");
    EXPECT_EQ(all[2].at("DIMENSION_NAME"), u"Measures");
    EXPECT_EQ(all[2].at("DIMENSION_TYPE"), u"2");
    EXPECT_EQ(all[2].at("DIMENSION_CARDINALITY"), u"1");
    Read(session, MDSCHEMA_DIMENSIONS, {{2, u"Sales"}});
    EXPECT_EQ(Requests("/dimensions"), 2u);

    // Found: exactly one row; not found, or a name that can name nothing: no row.
    const std::pair<const char16_t*, size_t> named[] = {{u"[Product <5>]", 1}, {u"Measures <0>", 1},
                                                        {u"Foo <99>", 0},      {u"Region", 0},
                                                        {u"Foo <../8>", 0},    {u"Foo <3>x", 1}};
    for (const auto& [name, rows] : named) {
        EXPECT_EQ(Read(session, MDSCHEMA_DIMENSIONS, {{2, u"Sales"}, {4, name}}).size(), rows);
        EXPECT_EQ(Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}, {4, name}}).size(), rows);
    }
    EXPECT_EQ(Requests("/dimensions/"), 6u);  // 5, 99 and 3, each for both rowsets

    EXPECT_TRUE(Read(session, MDSCHEMA_DIMENSIONS, {{2, u"Long"}}).empty());  // id over 63 bytes
    EXPECT_EQ(Requests(kLongId.substr(0, 10)), 0u);
}

TEST_F(SchemaRowsetsTest, HierarchiesFillTheCachedDimensionsOnce) {
    Cubes();
    EXPECT_TRUE(Read(session, MDSCHEMA_LEVELS, {{2, u"Sales"}}).empty());  // before hierarchies
    // A failed list is not kept: the next request asks again.
    Standin().SetFault("/api/models/7/dimensions", StandinFault{});
    EXPECT_TRUE(Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}}).empty());
    Standin().ClearFaults();
    const std::vector<Row> hierarchies = Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}});
    ASSERT_EQ(hierarchies.size(), 3u);
    const Row& region = hierarchies[0];
    EXPECT_EQ(region.at("CUBE_NAME"), u"7");
    EXPECT_EQ(region.at("HIERARCHY_UNIQUE_NAME"), u"[Region <3>]");
    EXPECT_EQ(region.at("HIERARCHY_NAME"), u"");
    EXPECT_EQ(region.at("HIERARCHY_CAPTION"), u"Region");
    EXPECT_EQ(region.at("ALL_MEMBER"), u"[Region <3>].[(All) <3>]");
    EXPECT_EQ(region.at("DEFAULT_MEMBER"), u"[Region <3>].[(All) <3>]");
    EXPECT_EQ(region.at("STRUCTURE"), u"2");
    EXPECT_EQ(region.at("DIMENSION_MASTER_UNIQUE_NAME"), u"");
    EXPECT_EQ(region.at("HIERARCHY_ORDINAL"), u"1");
    EXPECT_EQ(region.at("HIERARCHY_GUID"), u"{00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(hierarchies[2].at("ALL_MEMBER"), u"");
    EXPECT_EQ(hierarchies[2].at("DIMENSION_TYPE"), u"2");
    Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}, {5, u"[Region <3>]"}});
    EXPECT_EQ(Requests("/dimensions"), 2u);

    // A flag read as DBTYPE_BOOL takes nothing of the next field.
    CComPtr<IRowset> rowset;
    CComVariant restrictions[3];
    restrictions[2] = CComVariant(u"Sales");
    CComQIPtr<IDBSchemaRowset>(session)->GetRowset(nullptr, MDSCHEMA_HIERARCHIES, 3, restrictions,
                                                   IID_IRowset, 0, nullptr,
                                                   reinterpret_cast<IUnknown**>(&rowset));
    DBBINDING binding{};
    binding.iOrdinal = 16;  // IS_READWRITE, before DIMENSION_UNIQUE_SETTINGS (1)
    binding.dwPart = DBPART_VALUE;
    binding.dwMemOwner = DBMEMOWNER_CLIENTOWNED;
    binding.wType = DBTYPE_BOOL;
    HACCESSOR accessor = DB_NULL_HACCESSOR;
    CComQIPtr<IAccessor>(rowset)->CreateAccessor(DBACCESSOR_ROWDATA, 1, &binding, 0, &accessor,
                                                 nullptr);
    DBCOUNTITEM obtained = 0;
    HROW* handles = nullptr;
    ASSERT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &handles), S_OK);
    VARIANT_BOOL value = 7;
    EXPECT_EQ(rowset->GetData(handles[0], accessor, &value), S_OK);
    EXPECT_EQ(value, VARIANT_FALSE);
    rowset->ReleaseRows(1, handles, nullptr, nullptr, nullptr);
    CoTaskMemFree(handles);
}

TEST_F(SchemaRowsetsTest, LevelsAreFetchedPerDimensionAndNamedByTheirNumbers) {
    Cubes();
    Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}});
    Standin().ClearRequests();
    const std::vector<Row> levels = Read(session, MDSCHEMA_LEVELS, {{2, u"Sales"}});
    ASSERT_EQ(levels.size(), 4u);  // Region's three and Product's one, none of Measures
    EXPECT_EQ(levels[0].at("LEVEL_NAME"), u"(All)");
    EXPECT_EQ(levels[0].at("LEVEL_CAPTION"), u"(All)");
    EXPECT_EQ(levels[0].at("LEVEL_UNIQUE_NAME"), u"[Region <3>].[(All)]");
    EXPECT_EQ(levels[2].at("LEVEL_NAME"), u"Level <2>");
    EXPECT_EQ(levels[2].at("LEVEL_CAPTION"), u"Level 2");
    EXPECT_EQ(levels[2].at("LEVEL_UNIQUE_NAME"), u"[Region <3>].[Level <2>]");
    EXPECT_EQ(levels[2].at("LEVEL_ORDERING_PROPERTY"), u"[Region <3>]");
    EXPECT_EQ(levels[2].at("LEVEL_DBTYPE"), u"130");
    EXPECT_EQ(levels[2].at("LEVEL_IS_VISIBLE"), u"True");
    EXPECT_EQ(levels[2].at("LEVEL_KEY_CARDINALITY"), u"1");
    EXPECT_EQ(Requests("/levels"), 2u);

    // One dimension by its number, its id sent as written (the service knows no "03"); a number
    // out of range or an id that could leave its path segment finds none.
    const std::pair<const char16_t*, size_t> named[] = {{u"[Region <3>]", 3},
                                                        {u"[Region <03>]", 0},
                                                        {u"[Region <4294967299>]", 0},
                                                        {u"[Region <99999999999999999999>]", 0},
                                                        {u"[Region <3/../5>]", 0}};
    Standin().ClearRequests();
    for (const auto& [name, rows] : named)
        EXPECT_EQ(Read(session, MDSCHEMA_LEVELS, {{2, u"Sales"}, {4, name}}).size(), rows)
            << name[1];
    EXPECT_EQ(Requests("/levels"), 2u);
    EXPECT_EQ(Requests("/dimensions/03/levels"), 1u);
}

TEST_F(SchemaRowsetsTest, MembersOfALevelOrOneMember) {
    const Restrictions level = {
        {2, u"Sales"}, {4, u"[Region <3>]"}, {5, u"[Region <3>].[Level <1>]"}};
    EXPECT_TRUE(Read(session, MDSCHEMA_MEMBERS, level).empty());  // nothing cached yet
    BrowseToLevels();
    const std::vector<Row> members = Read(session, MDSCHEMA_MEMBERS, level);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].at("MEMBER_UNIQUE_NAME"), u"[Region <3>].[All Regions <30>].[North <31>]");
    EXPECT_EQ(members[0].at("PARENT_UNIQUE_NAME"), u"[Region <3>].[All Regions <30>]");
    EXPECT_EQ(members[0].at("LEVEL_UNIQUE_NAME"), u"[Region <3>].[Level <1>]");
    EXPECT_EQ(members[0].at("MEMBER_ORDINAL"), u"4");
    EXPECT_EQ(members[0].at("MEMBER_TYPE"), u"1");
    EXPECT_EQ(members[0].at("CHILDREN_CARDINALITY"), u"1");
    EXPECT_EQ(members[0].at("PARENT_LEVEL"), u"0");
    EXPECT_EQ(members[0].at("PARENT_COUNT"), u"1");
    // A member without positions: a member of the level with no parent.
    EXPECT_EQ(members[2].at("MEMBER_UNIQUE_NAME"), u"[Region <3>].[Nowhere <33>]");
    EXPECT_EQ(members[2].at("PARENT_UNIQUE_NAME"), u"");

    // The all level's name means level 0.
    const std::vector<Row> all =
        Read(session, MDSCHEMA_MEMBERS,
             {{2, u"Sales"}, {4, u"[Region <3>]"}, {5, u"[Region <3>].[(All)]"}});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].at("MEMBER_UNIQUE_NAME"), u"[Region <3>].[All Regions <30>]");
    EXPECT_EQ(all[0].at("MEMBER_TYPE"), u"2");
    EXPECT_EQ(all[0].at("PARENT_COUNT"), u"0");
    EXPECT_EQ(Requests("/levels/0/members"), 1u);

    // With MEMBER_UNIQUE_NAME too: the named member alone, or nothing.
    Restrictions one = level;
    one.emplace_back(8, u"[Region <3>].[South <32>]");
    const std::vector<Row> south = Read(session, MDSCHEMA_MEMBERS, one);
    ASSERT_EQ(south.size(), 1u);
    EXPECT_EQ(south[0].at("MEMBER_NAME"), u"South");
    one.back().second = u"[Region <3>].[Oslo <34>]";
    EXPECT_TRUE(Read(session, MDSCHEMA_MEMBERS, one).empty());

    // The member path: one member, at the level of its first position.
    const std::vector<Row> oslo =
        Read(session, MDSCHEMA_MEMBERS, {{2, u"Sales"}, {4, u"[Region <3>]"}, {8, u"[x <34>]"}});
    ASSERT_EQ(oslo.size(), 1u);
    EXPECT_EQ(oslo[0].at("LEVEL_NUMBER"), u"3");
    EXPECT_EQ(oslo[0].at("PARENT_LEVEL"), u"2");
    EXPECT_EQ(oslo[0].at("MEMBER_UNIQUE_NAME"), u"[Region <3>].[North <31>].[Oslo <34>]");
    EXPECT_TRUE(Read(session, MDSCHEMA_MEMBERS, {{2, u"Sales"}, {8, u"[Nowhere <33>]"}}).empty());
    EXPECT_TRUE(Read(session, MDSCHEMA_MEMBERS, {{2, u"Sales"}, {4, u"[Region <3>]"}}).empty());
}

TEST_F(SchemaRowsetsTest, TheMemberPathFetchesTheDimensionsOnce) {
    Cubes();
    Standin().ClearRequests();
    const Restrictions north = {{2, u"Sales"}, {8, u"[Region <3>].[North <31>]"}};
    EXPECT_EQ(Read(session, MDSCHEMA_MEMBERS, north).size(), 1u);
    EXPECT_EQ(Read(session, MDSCHEMA_MEMBERS, north).size(), 1u);
    EXPECT_EQ(Requests("dimensions?"), 1u);
    EXPECT_EQ(Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}}).size(), 3u);
    EXPECT_EQ(Requests("dimensions?"), 1u);
}

TEST_F(SchemaRowsetsTest, OverlongValuesMatchNothingAndLongTextsAreCut) {
    BrowseToLevels();
    const std::u16string overlong(2048, u'a');
    const GUID* schemas[] = {&MDSCHEMA_CUBES, &MDSCHEMA_DIMENSIONS, &MDSCHEMA_MEASURES};
    for (const GUID* schema : schemas) EXPECT_TRUE(Read(session, *schema, {{2, overlong}}).empty());
    EXPECT_TRUE(
        Read(session, MDSCHEMA_LEVELS, {{2, u"Sales"}, {4, u"[R <3>]" + overlong}}).empty());
    EXPECT_TRUE(Read(session, MDSCHEMA_MEMBERS,
                     {{2, u"Sales"}, {8, u"[R <" + std::u16string(64, u'4') + u">]"}})
                    .empty());
    EXPECT_EQ(Standin().GetRequests().size(), 0u);

    // A name of 3000 characters is cut to 2047; the row stays.
    const std::vector<Row> product =
        Read(session, MDSCHEMA_MEMBERS,
             {{2, u"Sales"}, {4, u"[Product <5>]"}, {5, u"[Product <5>].[Level <1>]"}});
    ASSERT_EQ(product.size(), 1u);
    EXPECT_EQ(product[0].at("MEMBER_NAME"), std::u16string(2047, u'n'));
    EXPECT_EQ(product[0].at("MEMBER_UNIQUE_NAME").size(), 2047u);
}

TEST_F(SchemaRowsetsTest, MeasuresAndTheEmptyRowsetsNeedNoService) {
    EXPECT_TRUE(Read(session, MDSCHEMA_MEASURES).empty());
    for (const char16_t* cube : {u"Anything", u""}) {
        const std::vector<Row> measures =
            Read(session, MDSCHEMA_MEASURES, {{2, cube}, {4, u"Other"}});
        ASSERT_EQ(measures.size(), 1u);
        EXPECT_EQ(measures[0].at("CUBE_NAME"), cube);
        EXPECT_EQ(measures[0].at("MEASURE_UNIQUE_NAME"), u"[Measures <0>].[Value <0>]");
        EXPECT_EQ(measures[0].at("MEASURE_UNQUALIFIED_CAPTION"), u"Value");
        EXPECT_EQ(measures[0].at("NUMERIC_PRECISION"), u"16");
        EXPECT_EQ(measures[0].at("NUMERIC_SCALE"), u"16");
        EXPECT_EQ(measures[0].at("DATA_TYPE"), u"0");
        EXPECT_EQ(measures[0].at("MEASUREGROUP_NAME"), u"[DEFAULT]");
    }
    for (const GUID* schema : {&MDSCHEMA_PROPERTIES, &MDSCHEMA_SETS, &MDSCHEMA_FUNCTIONS})
        EXPECT_TRUE(Read(session, *schema, {{2, u"Sales"}, {4, u"[Region <3>]"}}).empty());
    EXPECT_EQ(Standin().GetRequests().size(), 0u);
}

TEST_F(SchemaRowsetsTest, ErrorAnswersLeaveTheCacheAsItWas) {
    const StandinFault unavailable{
        StandinFaultKind::kErrorStatus, 503, R"({"error": "unavailable"})", {}};
    Cubes();
    // A failed dimension list gives no rows, is not kept, and is asked for again.
    Standin().SetFault("/api/models/7/dimensions", unavailable);
    EXPECT_TRUE(Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}}).empty());
    Standin().ClearFaults();
    EXPECT_EQ(Read(session, MDSCHEMA_HIERARCHIES, {{2, u"Sales"}}).size(), 3u);
    EXPECT_EQ(Requests("dimensions?"), 2u);

    // A levels answer that fails, or lists no level, keeps the cached levels and members.
    Read(session, MDSCHEMA_LEVELS, {{2, u"Sales"}});
    const Restrictions level = {
        {2, u"Sales"}, {4, u"[Region <3>]"}, {5, u"[Region <3>].[Level <1>]"}};
    const StandinFault empty{StandinFaultKind::kErrorStatus, 200, "[]", {}};
    for (const StandinFault& fault : {unavailable, empty}) {
        Standin().SetFault("/api/models/7/dimensions/3/levels", fault);
        EXPECT_TRUE(Read(session, MDSCHEMA_LEVELS, {{2, u"Sales"}, {4, u"[Region <3>]"}}).empty())
            << fault.status;
        Standin().ClearFaults();
        EXPECT_EQ(Read(session, MDSCHEMA_MEMBERS, level).size(), 3u) << fault.status;
    }
}

}  // namespace
