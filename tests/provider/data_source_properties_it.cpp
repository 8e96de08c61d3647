// The data source's property sets through IDBProperties: entries, descriptions, types, flags and
// defaults of every set, and which sets a consumer sees before and after Initialize.
#include <string>
#include <vector>

#include "provider_fixture.h"

namespace {

using provider_test::FreePropertySets;
using provider_test::GetProperty;
using provider_test::PropertySet;
using provider_test::TextOf;

constexpr DBPROPFLAGS kRead = DBPROPFLAGS_READ;
constexpr DBPROPFLAGS kReadWrite = DBPROPFLAGS_READ | DBPROPFLAGS_WRITE;

struct Expected {
    DBPROPID id;
    const char16_t* description;
    VARTYPE vt;
    DBPROPFLAGS access;
    long long number;
    const char16_t* text;  // the default of a VT_BSTR entry
};

const std::vector<Expected> kDataSourceInfo = {
    {0x03, u"Active Sessions", VT_I4, kRead, 0, nullptr},
    {0x27, u"Read-Only Data Source", VT_BOOL, kRead, 1, nullptr},
    {0x78, u"Pass By Ref Accessors", VT_BOOL, kRead, 0, nullptr},
    {0xb8, u"Output Parameter Availability", VT_I4, kRead, 0, nullptr},
    {0x61, u"OLE DB Version", VT_BSTR, kRead, 0, u"02.60"},
    {0xa9, u"Data Source Object Threading Model", VT_I4, kRead, 1, nullptr},
    {0x71, u"Isolation Levels", VT_I4, kRead, 0, nullptr},
    {0x76, u"User Name", VT_BSTR, kRead, 0, u""},
    {0xe5, u"Support for creation of named sets and calculated members", VT_I4, kRead, 0x1f,
     nullptr},
    {0xfd, u"Flattening Support", VT_I4, kRead, 1, nullptr},
    {0xff, u"Support for named levels", VT_I4, kRead, 1, nullptr},
    {0xe2, u"Support for various set functions", VT_I4, kRead, 0, nullptr},
    {0xfc, u"Number of axes in the dataset", VT_I4, kRead, 7, nullptr},
    {0x105, u"Provider's ability to qualify a cube name", VT_I4, kRead, 0x1ff, nullptr},
    {0x125, u"Defines visibility of precalculated totals", VT_I4, DBPROPFLAGS_WRITE, 2, nullptr},
    {0x28, u"DBMS Name", VT_BSTR, kRead, 0, u"Zelmo"},
    {0x29, u"DBMS Version", VT_BSTR, kRead, 0, u"00.01.0000"},
    {0xfb, u"Data Source Type", VT_I4, kRead, 2, nullptr},
    {0x60, u"Provider Name", VT_BSTR, kRead, 0, u"ZelmoProvider.dll"},
    {0xeb, u"Provider Friendly Name", VT_BSTR, kRead, 0, u"Tavro Ad-hoc Connector"},
    {0x62, u"Provider Version", VT_BSTR, kRead, 0, u"00.01.0000"},
};

const std::vector<Expected> kDbInit = {
    {0x09, u"Password", VT_BSTR, kReadWrite, 0, u""},
    {0x0c, u"User ID", VT_BSTR, kReadWrite, 0, u""},
    {0x3b, u"Data Source", VT_BSTR, kReadWrite, 0, u""},
    {0x3c, u"Window Handle", VT_I4, kReadWrite, 0, nullptr},
    {0x3e, u"Location", VT_BSTR, kReadWrite, 0, u""},
    {0xe9, u"Initial Catalog", VT_BSTR, kReadWrite, 0, u""},
    {0xba, u"Locale Identifier", VT_I4, kReadWrite, 0, nullptr},
    {0x3f, u"Mode", VT_I4, kReadWrite, 1, nullptr},
    {0x42, u"Connect Timeout", VT_I4, kReadWrite, 0, nullptr},
    {0x40, u"Prompt", VT_I2, kReadWrite, 4, nullptr},
    {0x0b, u"Persist Security Info", VT_BOOL, kReadWrite, 0, nullptr},
    {0xa0, u"Extended Properties", VT_BSTR, kReadWrite, 0, u""},
    {0xf8, u"OLE DB Services", VT_I4, kReadWrite, 0, nullptr},
};

const std::vector<Expected> kCurrentCatalog = {
    {0x25, u"Current Catalog", VT_BSTR, kReadWrite, 0, u""},
};

const std::vector<Expected> kRowset = {
    {0x79, u"IAccessor", VT_BOOL, kRead, 1, nullptr},
    {0x7a, u"IColumnsInfo", VT_BOOL, kRead, 1, nullptr},
    {0xc2, u"IConvertType", VT_BOOL, kRead, 1, nullptr},
    {0x7e, u"IRowset", VT_BOOL, kRead, 1, nullptr},
    {0x80, u"IRowsetIdentity", VT_BOOL, kRead, 1, nullptr},
    {0x81, u"IRowsetInfo", VT_BOOL, kRead, 1, nullptr},
    {0x82, u"IRowsetLocate", VT_BOOL, kReadWrite, 0, nullptr},
    {0x0e, u"Use Bookmarks", VT_BOOL, kReadWrite, 0, nullptr},
    {0x0f, u"Skip Deleted Bookmarks", VT_BOOL, kReadWrite, 0, nullptr},
    {0x10, u"Bookmark Type", VT_I4, kReadWrite, 0, nullptr},
    {0x12, u"Fetch Backwards", VT_BOOL, kReadWrite, 1, nullptr},
    {0x13, u"Hold Rows", VT_BOOL, kReadWrite, 1, nullptr},
    {0x15, u"Scroll Backwards", VT_BOOL, kReadWrite, 1, nullptr},
    {0x43, u"Literal Bookmarks", VT_BOOL, kReadWrite, 0, nullptr},
    {0x56, u"Bookmarks Ordered", VT_BOOL, kReadWrite, 0, nullptr},
    {0xc9, u"Asynchronous Rowset Processing", VT_I4, kReadWrite, 0, nullptr},
};

void ExpectValue(const Expected& entry, const VARIANT& value) {
    SCOPED_TRACE(std::string("property ") + std::to_string(entry.id));
    ASSERT_EQ(value.vt, entry.vt);
    switch (entry.vt) {
        case VT_BSTR:
            EXPECT_EQ(TextOf(value), std::u16string(entry.text));
            break;
        case VT_BOOL:
            EXPECT_EQ(value.boolVal, entry.number != 0 ? VARIANT_TRUE : VARIANT_FALSE);
            break;
        case VT_I2:
            EXPECT_EQ(value.iVal, entry.number);
            break;
        default:
            EXPECT_EQ(value.lVal, entry.number);
            break;
    }
}

void ExpectInfoSet(const DBPROPINFOSET& set, const GUID& guid, DBPROPFLAGS group,
                   const std::vector<Expected>& expected) {
    EXPECT_TRUE(set.guidPropertySet == guid);
    ASSERT_EQ(set.cPropertyInfos, expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const DBPROPINFO& info = set.rgPropertyInfos[i];
        SCOPED_TRACE(std::string("entry ") + std::to_string(i));
        EXPECT_EQ(info.dwPropertyID, expected[i].id);
        ASSERT_NE(info.pwszDescription, nullptr);
        EXPECT_EQ(std::u16string(info.pwszDescription), expected[i].description);
        EXPECT_EQ(info.vtType, expected[i].vt);
        EXPECT_EQ(info.dwFlags, group | expected[i].access);
    }
}

class DataSourcePropertiesTest : public provider_test::ProviderTest {
  protected:
    struct InfoAnswer {
        ULONG count = 0;
        DBPROPINFOSET* sets = nullptr;
        OLECHAR* descriptions = nullptr;
        ~InfoAnswer() {
            for (ULONG s = 0; s < count; ++s) CoTaskMemFree(sets[s].rgPropertyInfos);
            CoTaskMemFree(sets);
            CoTaskMemFree(descriptions);
        }
    };

    static HRESULT AllInfo(IUnknown* dataSource, InfoAnswer& answer) {
        CComQIPtr<IDBProperties> properties(dataSource);
        return properties->GetPropertyInfo(0, nullptr, &answer.count, &answer.sets,
                                           &answer.descriptions);
    }
};

TEST_F(DataSourcePropertiesTest, BeforeInitializeOnlyTheInitialisationSetIsSeen) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    CComQIPtr<IDBProperties> properties(dataSource);
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ASSERT_EQ(properties->GetProperties(0, nullptr, &count, &sets), S_OK);
    ASSERT_EQ(count, 1u);
    EXPECT_TRUE(sets[0].guidPropertySet == DBPROPSET_DBINIT);
    ASSERT_EQ(sets[0].cProperties, kDbInit.size());
    for (size_t i = 0; i < kDbInit.size(); ++i) {
        EXPECT_EQ(sets[0].rgProperties[i].dwPropertyID, kDbInit[i].id);
        ExpectValue(kDbInit[i], sets[0].rgProperties[i].vValue);
    }
    FreePropertySets(count, sets);

    InfoAnswer info;
    ASSERT_EQ(AllInfo(dataSource, info), S_OK);
    ASSERT_EQ(info.count, 1u);
    ExpectInfoSet(info.sets[0], DBPROPSET_DBINIT, DBPROPFLAGS_DBINIT, kDbInit);

    HRESULT hr = S_OK;
    GetProperty(dataSource, DBPROPSET_DATASOURCEINFO, DBPROP_DBMSNAME, &hr);
    EXPECT_EQ(hr, DB_E_ERRORSOCCURRED);
}

TEST_F(DataSourcePropertiesTest, AfterInitializeEverySetAndEntryIsDeclaredInOrder) {
    CComPtr<IDBInitialize> dataSource = InitializedDataSource();
    InfoAnswer info;
    ASSERT_EQ(AllInfo(dataSource, info), S_OK);
    ASSERT_EQ(info.count, 5u);
    ExpectInfoSet(info.sets[0], DBPROPSET_DATASOURCEINFO, DBPROPFLAGS_DATASOURCEINFO,
                  kDataSourceInfo);
    ExpectInfoSet(info.sets[1], DBPROPSET_DBINIT, DBPROPFLAGS_DBINIT, kDbInit);
    ExpectInfoSet(info.sets[2], DBPROPSET_DATASOURCE, DBPROPFLAGS_DATASOURCE, kCurrentCatalog);
    // The session's set is the data source's own entry, group flag included.
    ExpectInfoSet(info.sets[3], DBPROPSET_SESSION, DBPROPFLAGS_DATASOURCE, kCurrentCatalog);
    ExpectInfoSet(info.sets[4], DBPROPSET_ROWSET, DBPROPFLAGS_ROWSET, kRowset);
}

TEST_F(DataSourcePropertiesTest, AfterInitializeTheOwnSetsHoldTheirDefaults) {
    CComPtr<IDBInitialize> dataSource = InitializedDataSource(u"ann", u"pw");
    CComQIPtr<IDBProperties> properties(dataSource);
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ASSERT_EQ(properties->GetProperties(0, nullptr, &count, &sets), S_OK);
    // The chained session and rowset sets hold no values of the data source.
    ASSERT_EQ(count, 3u);
    EXPECT_TRUE(sets[0].guidPropertySet == DBPROPSET_DATASOURCEINFO);
    EXPECT_TRUE(sets[1].guidPropertySet == DBPROPSET_DBINIT);
    EXPECT_TRUE(sets[2].guidPropertySet == DBPROPSET_DATASOURCE);
    FreePropertySets(count, sets);

    for (const Expected& entry : kDataSourceInfo)
        ExpectValue(entry, GetProperty(dataSource, DBPROPSET_DATASOURCEINFO, entry.id));
    ExpectValue(kCurrentCatalog[0],
                GetProperty(dataSource, DBPROPSET_DATASOURCE, DBPROP_CURRENTCATALOG));
    EXPECT_EQ(TextOf(GetProperty(dataSource, DBPROPSET_DBINIT, DBPROP_AUTH_USERID)), u"ann");
    EXPECT_EQ(TextOf(GetProperty(dataSource, DBPROPSET_DBINIT, DBPROP_AUTH_PASSWORD)), u"pw");
}

TEST_F(DataSourcePropertiesTest, InitialisationPropertiesAreReadOnlyOnceInitialised) {
    CComPtr<IDBInitialize> dataSource = InitializedDataSource();
    PropertySet init(DBPROPSET_DBINIT);
    init.Add(DBPROP_AUTH_USERID, CComVariant(u"other"));
    DBPROPSET set = init.Set();
    CComQIPtr<IDBProperties> properties(dataSource);
    EXPECT_EQ(properties->SetProperties(1, &set), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(set.rgProperties[0].dwStatus, DBPROPSTATUS_NOTSETTABLE);
    EXPECT_EQ(TextOf(GetProperty(dataSource, DBPROPSET_DBINIT, DBPROP_AUTH_USERID)), u"ann");

    PropertySet current(DBPROPSET_DATASOURCE);
    current.Add(DBPROP_CURRENTCATALOG, CComVariant(u"DEFAULT"));
    DBPROPSET catalog = current.Set();
    EXPECT_EQ(properties->SetProperties(1, &catalog), S_OK);
    EXPECT_EQ(TextOf(GetProperty(dataSource, DBPROPSET_DATASOURCE, DBPROP_CURRENTCATALOG)),
              u"DEFAULT");
}

TEST_F(DataSourcePropertiesTest, ValuesOfTheWrongTypeAreRefused) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    PropertySet init(DBPROPSET_DBINIT);
    init.Add(DBPROP_AUTH_USERID, CComVariant(5)).Add(DBPROP_INIT_PROMPT, CComVariant(short{9}));
    DBPROPSET set = init.Set();
    CComQIPtr<IDBProperties> properties(dataSource);
    EXPECT_EQ(properties->SetProperties(1, &set), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(set.rgProperties[0].dwStatus, DBPROPSTATUS_BADVALUE);
    EXPECT_EQ(set.rgProperties[1].dwStatus, DBPROPSTATUS_BADVALUE);
}

}  // namespace
