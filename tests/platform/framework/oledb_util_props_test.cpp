// Tests of the property sets through IDBProperties, ISessionProperties, ICommandProperties and
// IRowsetInfo of the test provider: argument errors, statuses, visibility before and after
// Initialize, and memory handed out through the task allocator.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "oledb_test_provider.h"

namespace {

DBPROP Prop(DBPROPID id, VARTYPE vt, LONG value, DBPROPOPTIONS options = DBPROPOPTIONS_REQUIRED) {
    DBPROP prop{};
    prop.dwPropertyID = id;
    prop.dwOptions = options;
    prop.colid = DB_NULLID;
    VariantInit(&prop.vValue);
    prop.vValue.vt = vt;
    if (vt == VT_BOOL)
        prop.vValue.boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    else if (vt == VT_I2)
        prop.vValue.iVal = static_cast<SHORT>(value);
    else
        prop.vValue.lVal = value;
    return prop;
}

DBPROP TextProp(DBPROPID id, const char16_t* text) {
    DBPROP prop = Prop(id, VT_EMPTY, 0);
    prop.vValue.vt = VT_BSTR;
    prop.vValue.bstrVal = SysAllocString(text);
    return prop;
}

// The answer of one GetProperties call, freed as a consumer frees it.
struct PropAnswer {
    HRESULT hr = E_FAIL;
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ~PropAnswer() { OledbFreePropSets(count, sets); }
    const DBPROP* Find(const GUID& set, DBPROPID id) const {
        for (ULONG i = 0; i < count; ++i)
            if (sets[i].guidPropertySet == set)
                for (ULONG k = 0; k < sets[i].cProperties; ++k)
                    if (sets[i].rgProperties[k].dwPropertyID == id) return &sets[i].rgProperties[k];
        return nullptr;
    }
    bool HasSet(const GUID& set) const {
        for (ULONG i = 0; i < count; ++i)
            if (sets[i].guidPropertySet == set) return true;
        return false;
    }
};

struct InfoAnswer {
    HRESULT hr = E_FAIL;
    ULONG count = 0;
    DBPROPINFOSET* sets = nullptr;
    OLECHAR* descriptions = nullptr;
    ~InfoAnswer() { OledbFreeInfoSets(count, sets, descriptions); }
    const DBPROPINFO* Find(const GUID& set, DBPROPID id) const {
        for (ULONG i = 0; i < count; ++i)
            if (sets[i].guidPropertySet == set)
                for (ULONG k = 0; k < sets[i].cPropertyInfos; ++k)
                    if (sets[i].rgPropertyInfos[k].dwPropertyID == id)
                        return &sets[i].rgPropertyInfos[k];
        return nullptr;
    }
};

void GetAll(IDBProperties* props, PropAnswer& answer) {
    answer.hr = props->GetProperties(0, nullptr, &answer.count, &answer.sets);
}

void GetSome(IDBProperties* props, const GUID& set, std::vector<DBPROPID> ids, PropAnswer& answer) {
    DBPROPIDSET idSet{ids.empty() ? nullptr : ids.data(), static_cast<ULONG>(ids.size()), set};
    answer.hr = props->GetProperties(1, &idSet, &answer.count, &answer.sets);
}

void GetInfo(IDBProperties* props, ULONG count, const DBPROPIDSET* idSets, InfoAnswer& answer) {
    answer.hr =
        props->GetPropertyInfo(count, idSets, &answer.count, &answer.sets, &answer.descriptions);
}

}  // namespace

TEST(OledbProperties, ArgumentErrorsClearTheOutputs) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    ULONG count = 7;
    auto* sets = reinterpret_cast<DBPROPSET*>(0x1);
    EXPECT_EQ(props->GetProperties(1, nullptr, &count, &sets), E_INVALIDARG);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(sets, nullptr);
    EXPECT_EQ(props->GetProperties(0, nullptr, nullptr, &sets), E_INVALIDARG);
    EXPECT_EQ(props->GetProperties(0, nullptr, &count, nullptr), E_INVALIDARG);
    DBPROPIDSET missingIds{nullptr, 2, DBPROPSET_DBINIT};
    EXPECT_EQ(props->GetProperties(1, &missingIds, &count, &sets), E_INVALIDARG);

    ULONG infoCount = 3;
    auto* infoSets = reinterpret_cast<DBPROPINFOSET*>(0x1);
    auto* descriptions = reinterpret_cast<OLECHAR*>(0x1);
    EXPECT_EQ(props->GetPropertyInfo(1, nullptr, &infoCount, &infoSets, &descriptions),
              E_INVALIDARG);
    EXPECT_EQ(infoCount, 0u);
    EXPECT_EQ(infoSets, nullptr);
    EXPECT_EQ(descriptions, nullptr);
    EXPECT_EQ(props->GetPropertyInfo(1, &missingIds, &infoCount, &infoSets, nullptr), E_INVALIDARG);

    EXPECT_EQ(props->SetProperties(0, nullptr), S_OK);
    EXPECT_EQ(props->SetProperties(1, nullptr), E_INVALIDARG);
    // A bad second set refuses the call before the first is applied.
    DBPROP userId = TextProp(DBPROP_AUTH_USERID, u"someone");
    DBPROPSET setSets[2] = {{&userId, 1, DBPROPSET_DBINIT}, {nullptr, 1, DBPROPSET_DBINIT}};
    EXPECT_EQ(props->SetProperties(2, setSets), E_INVALIDARG);
    PropAnswer answer;
    GetSome(props, DBPROPSET_DBINIT, {DBPROP_AUTH_USERID}, answer);
    EXPECT_EQ(std::u16string(answer.sets[0].rgProperties[0].vValue.bstrVal), u"");
    VariantClear(&userId.vValue);
}

TEST(OledbProperties, UninitializedDataSourceShowsOnlyInitialisationSets) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    PropAnswer all;
    GetAll(props, all);
    EXPECT_EQ(all.hr, S_OK);
    ASSERT_EQ(all.count, 1u);
    EXPECT_TRUE(all.sets[0].guidPropertySet == DBPROPSET_DBINIT);
    EXPECT_EQ(all.sets[0].cProperties, 5u);
    const DBPROP* prompt = all.Find(DBPROPSET_DBINIT, DBPROP_INIT_PROMPT);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->vValue.vt, VT_I2);
    EXPECT_EQ(prompt->vValue.iVal, DBPROMPT_NOPROMPT);
    EXPECT_EQ(prompt->dwStatus, DBPROPSTATUS_OK);

    // The information set exists but is not visible yet: its properties are not supported.
    PropAnswer info;
    GetSome(props, DBPROPSET_DATASOURCEINFO, {DBPROP_ACTIVESESSIONS}, info);
    EXPECT_EQ(info.hr, DB_E_ERRORSOCCURRED);
    ASSERT_EQ(info.count, 1u);
    EXPECT_EQ(info.sets[0].rgProperties[0].dwStatus, DBPROPSTATUS_NOTSUPPORTED);
    EXPECT_EQ(info.sets[0].rgProperties[0].vValue.vt, VT_EMPTY);

    // A whole unsupported set comes back empty.
    PropAnswer whole;
    GetSome(props, DBPROPSET_DATASOURCEINFO, {}, whole);
    EXPECT_EQ(whole.hr, DB_E_ERRORSOCCURRED);
    ASSERT_EQ(whole.count, 1u);
    EXPECT_EQ(whole.sets[0].cProperties, 0u);
    EXPECT_EQ(whole.sets[0].rgProperties, nullptr);

    DBPROP catalog = TextProp(DBPROP_CURRENTCATALOG, u"DEFAULT");
    DBPROPSET set{&catalog, 1, DBPROPSET_DATASOURCE};
    EXPECT_EQ(props->SetProperties(1, &set), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(catalog.dwStatus, DBPROPSTATUS_NOTSUPPORTED);
    VariantClear(&catalog.vValue);

    InfoAnswer infoAll;
    GetInfo(props, 0, nullptr, infoAll);
    EXPECT_EQ(infoAll.hr, S_OK);
    ASSERT_EQ(infoAll.count, 1u);
    EXPECT_TRUE(infoAll.sets[0].guidPropertySet == DBPROPSET_DBINIT);
}

TEST(OledbProperties, InitializedDataSourceShowsItsSetsAndInfoOfAllSets) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    ASSERT_EQ(source->Initialize(), S_OK);
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    PropAnswer all;
    GetAll(props, all);
    EXPECT_EQ(all.hr, S_OK);
    EXPECT_EQ(all.count, 3u);
    EXPECT_TRUE(all.HasSet(DBPROPSET_DATASOURCEINFO));
    EXPECT_TRUE(all.HasSet(DBPROPSET_DBINIT));
    EXPECT_TRUE(all.HasSet(DBPROPSET_DATASOURCE));
    EXPECT_FALSE(all.HasSet(DBPROPSET_SESSION));
    EXPECT_FALSE(all.HasSet(DBPROPSET_ROWSET));
    const DBPROP* name = all.Find(DBPROPSET_DATASOURCEINFO, DBPROP_DBMSNAME);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::u16string(name->vValue.bstrVal), u"Zelmo");
    EXPECT_EQ(all.Find(DBPROPSET_DATASOURCEINFO, MDPROP_AXES)->vValue.lVal, 7);
    EXPECT_EQ(all.Find(DBPROPSET_DATASOURCEINFO, MDPROP_MDX_FORMULAS)->vValue.lVal, 0x1f);
    EXPECT_EQ(all.Find(DBPROPSET_DATASOURCEINFO, MDPROP_MDX_OBJQUALIFICATION)->vValue.lVal, 0x1ff);

    // The chained sets are described but hold no values of the data source.
    PropAnswer rowset;
    GetSome(props, DBPROPSET_ROWSET, {DBPROP_IAccessor}, rowset);
    EXPECT_EQ(rowset.hr, DB_E_ERRORSOCCURRED);

    InfoAnswer info;
    GetInfo(props, 0, nullptr, info);
    EXPECT_EQ(info.hr, S_OK);
    EXPECT_EQ(info.count, 5u);
    const DBPROPINFO* sessions = info.Find(DBPROPSET_DATASOURCEINFO, DBPROP_ACTIVESESSIONS);
    ASSERT_NE(sessions, nullptr);
    EXPECT_EQ(std::u16string(sessions->pwszDescription), u"Active Sessions");
    EXPECT_EQ(sessions->vtType, VT_I4);
    EXPECT_EQ(sessions->dwFlags, DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_READ);
    EXPECT_EQ(std::u16string(info.Find(DBPROPSET_DATASOURCEINFO, MDPROP_AXES)->pwszDescription),
              u"Number of axes in the dataset");
    EXPECT_EQ(
        std::u16string(info.Find(DBPROPSET_DATASOURCEINFO, MDPROP_VISUALMODE)->pwszDescription),
        u"Visual mode");
    EXPECT_EQ(
        std::u16string(
            info.Find(DBPROPSET_DATASOURCEINFO, MDPROP_MDX_OBJQUALIFICATION)->pwszDescription),
        u"Provider's ability to qualify a cube name");
    const DBPROPINFO* catalog = info.Find(DBPROPSET_SESSION, DBPROP_CURRENTCATALOG);
    ASSERT_NE(catalog, nullptr);
    EXPECT_EQ(std::u16string(catalog->pwszDescription), u"Current Catalog");
    ASSERT_NE(info.Find(DBPROPSET_ROWSET, DBPROP_BOOKMARKS), nullptr);
    // Every description lies inside the one buffer the consumer frees.
    EXPECT_GE(sessions->pwszDescription, info.descriptions);
}

TEST(OledbProperties, InitialisationPropertiesFreezeAfterInitialize) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    DBPROP user = TextProp(DBPROP_AUTH_USERID, u"ann@example.com");
    DBPROPSET set{&user, 1, DBPROPSET_DBINIT};
    EXPECT_EQ(props->SetProperties(1, &set), S_OK);
    EXPECT_EQ(user.dwStatus, DBPROPSTATUS_OK);
    ASSERT_EQ(source->Initialize(), S_OK);

    // The same value again is no change; another value is refused.
    EXPECT_EQ(props->SetProperties(1, &set), S_OK);
    VariantClear(&user.vValue);
    user = TextProp(DBPROP_AUTH_USERID, u"bob@example.com");
    EXPECT_EQ(props->SetProperties(1, &set), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(user.dwStatus, DBPROPSTATUS_NOTSETTABLE);
    user.dwOptions = DBPROPOPTIONS_OPTIONAL;
    EXPECT_EQ(props->SetProperties(1, &set), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(user.dwStatus, DBPROPSTATUS_NOTSET);
    VariantClear(&user.vValue);

    PropAnswer answer;
    GetSome(props, DBPROPSET_DBINIT, {DBPROP_AUTH_USERID}, answer);
    EXPECT_EQ(std::u16string(answer.sets[0].rgProperties[0].vValue.bstrVal), u"ann@example.com");

    // After Uninitialize they can be set again.
    ASSERT_EQ(source->Uninitialize(), S_OK);
    DBPROP hwnd = Prop(DBPROP_INIT_HWND, VT_I4, 99);
    DBPROPSET hwndSet{&hwnd, 1, DBPROPSET_DBINIT};
    EXPECT_EQ(props->SetProperties(1, &hwndSet), S_OK);
}

TEST(OledbProperties, SetStatusesOfThePublishedRules) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    DBPROP batch[6] = {
        Prop(DBPROP_INIT_HWND, VT_I4, 12),
        Prop(0x7777, VT_I4, 1),                  // not in the set
        Prop(DBPROP_INIT_HWND, VT_BSTR, 0),      // wrong type
        Prop(DBPROP_INIT_PROMPT, VT_I2, 9),      // not a prompt value
        Prop(DBPROP_INIT_HWND, VT_I4, 1, 0x55),  // no such option
        Prop(DBPROP_AUTH_PERSIST_SENSITIVE_AUTHINFO, VT_BOOL, 1),
    };
    batch[2].vValue.bstrVal = nullptr;
    batch[5].vValue.boolVal = 5;  // neither VARIANT_TRUE nor VARIANT_FALSE
    DBPROPSET sets[2] = {{batch, 6, DBPROPSET_DBINIT}, {batch, 1, DBPROPSET_SESSION}};
    EXPECT_EQ(props->SetProperties(1, sets), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(batch[0].dwStatus, DBPROPSTATUS_OK);
    EXPECT_EQ(batch[1].dwStatus, DBPROPSTATUS_NOTSUPPORTED);
    EXPECT_EQ(batch[2].dwStatus, DBPROPSTATUS_BADVALUE);
    EXPECT_EQ(batch[3].dwStatus, DBPROPSTATUS_BADVALUE);
    EXPECT_EQ(batch[4].dwStatus, DBPROPSTATUS_BADOPTION);
    EXPECT_EQ(batch[5].dwStatus, DBPROPSTATUS_BADVALUE);
    // A set the data source does not hold.
    EXPECT_EQ(props->SetProperties(1, &sets[1]), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(batch[0].dwStatus, DBPROPSTATUS_NOTSUPPORTED);

    // VT_EMPTY restores the default.
    DBPROP reset = Prop(DBPROP_INIT_HWND, VT_EMPTY, 0);
    DBPROPSET resetSet{&reset, 1, DBPROPSET_DBINIT};
    EXPECT_EQ(props->SetProperties(1, &resetSet), S_OK);
    PropAnswer answer;
    GetSome(props, DBPROPSET_DBINIT, {DBPROP_INIT_HWND}, answer);
    EXPECT_EQ(answer.sets[0].rgProperties[0].vValue.lVal, 0);
}

TEST(OledbProperties, WriteOnlyInformationPropertyCanBeSetAfterInitialize) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    ASSERT_EQ(source->Initialize(), S_OK);
    DBPROP visual = Prop(MDPROP_VISUALMODE, VT_I4, MDPROPVAL_VISUAL_MODE_VISUAL);
    DBPROP axes = Prop(MDPROP_AXES, VT_I4, 3);
    DBPROPSET sets[1] = {{&visual, 1, DBPROPSET_DATASOURCEINFO}};
    EXPECT_EQ(props->SetProperties(1, sets), S_OK);
    sets[0].rgProperties = &axes;
    EXPECT_EQ(props->SetProperties(1, sets), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(axes.dwStatus, DBPROPSTATUS_NOTSETTABLE);

    DBPROP catalog = TextProp(DBPROP_CURRENTCATALOG, u"DEFAULT");
    DBPROPSET catalogSet{&catalog, 1, DBPROPSET_DATASOURCE};
    EXPECT_EQ(props->SetProperties(1, &catalogSet), S_OK);
    VariantClear(&catalog.vValue);
}

TEST(OledbProperties, PropertiesInErrorAreAskedAlone) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    DBPROPIDSET inError[2] = {{nullptr, 0, DBPROPSET_PROPERTIESINERROR},
                              {nullptr, 0, DBPROPSET_DBINIT}};
    PropAnswer none;
    none.hr = props->GetProperties(1, inError, &none.count, &none.sets);
    EXPECT_EQ(none.hr, S_OK);
    EXPECT_EQ(none.count, 0u);
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    EXPECT_EQ(props->GetProperties(2, inError, &count, &sets), E_INVALIDARG);
    DBPROPID id = DBPROP_INIT_HWND;
    DBPROPIDSET withIds{&id, 1, DBPROPSET_PROPERTIESINERROR};
    EXPECT_EQ(props->GetProperties(1, &withIds, &count, &sets), E_INVALIDARG);

    // A property the provider marks (as a failed Initialize would) is reported with its value.
    auto* object = static_cast<OledbTestDataSource*>(static_cast<IDBProperties*>(props.p));
    object->SetPropertyInError(DBPROPSET_DBINIT, DBPROP_INIT_HWND);
    PropAnswer marked;
    marked.hr = props->GetProperties(1, inError, &marked.count, &marked.sets);
    EXPECT_EQ(marked.hr, S_OK);
    ASSERT_EQ(marked.count, 1u);
    ASSERT_EQ(marked.sets[0].cProperties, 1u);
    EXPECT_EQ(marked.sets[0].rgProperties[0].dwPropertyID, DBPROP_INIT_HWND);

    // Not a set SetProperties or GetPropertyInfo knows.
    DBPROP hwnd = Prop(DBPROP_INIT_HWND, VT_I4, 1);
    DBPROPSET set{&hwnd, 1, DBPROPSET_PROPERTIESINERROR};
    EXPECT_EQ(props->SetProperties(1, &set), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(hwnd.dwStatus, DBPROPSTATUS_NOTSUPPORTED);
    InfoAnswer info;
    GetInfo(props, 1, inError, info);
    EXPECT_EQ(info.hr, DB_E_ERRORSOCCURRED);
}

TEST(OledbProperties, PropertyInfoOfSomeAndOfGroups) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    CComPtr<IDBProperties> props = OledbQuery<IDBProperties>(source);
    DBPROPID ids[2] = {DBPROP_AUTH_USERID, 0x7777};
    DBPROPIDSET some{ids, 2, DBPROPSET_DBINIT};
    InfoAnswer info;
    GetInfo(props, 1, &some, info);
    EXPECT_EQ(info.hr, DB_S_ERRORSOCCURRED);
    ASSERT_EQ(info.count, 1u);
    EXPECT_EQ(std::u16string(info.sets[0].rgPropertyInfos[0].pwszDescription), u"User ID");
    EXPECT_EQ(info.sets[0].rgPropertyInfos[0].dwFlags,
              DBPROPFLAGS_DBINIT | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE);
    EXPECT_EQ(info.sets[0].rgPropertyInfos[1].dwFlags, DBPROPFLAGS_NOTSUPPORTED);
    EXPECT_EQ(info.sets[0].rgPropertyInfos[1].pwszDescription, nullptr);

    // Without a description buffer the descriptions are left out.
    ULONG count = 0;
    DBPROPINFOSET* sets = nullptr;
    EXPECT_EQ(props->GetPropertyInfo(1, &some, &count, &sets, nullptr), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(sets[0].rgPropertyInfos[0].pwszDescription, nullptr);
    OledbFreeInfoSets(count, sets, nullptr);

    // "All of a group" before and after Initialize.
    DBPROPIDSET infoGroup{nullptr, 0, DBPROPSET_DATASOURCEINFOALL};
    InfoAnswer before;
    GetInfo(props, 1, &infoGroup, before);
    EXPECT_EQ(before.hr, DB_E_ERRORSOCCURRED);
    ASSERT_EQ(source->Initialize(), S_OK);
    InfoAnswer after;
    GetInfo(props, 1, &infoGroup, after);
    EXPECT_EQ(after.hr, S_OK);
    ASSERT_EQ(after.count, 1u);
    EXPECT_TRUE(after.sets[0].guidPropertySet == DBPROPSET_DATASOURCEINFO);
    EXPECT_EQ(after.sets[0].cPropertyInfos, 6u);
    DBPROPIDSET rowsetGroup{nullptr, 0, DBPROPSET_ROWSETALL};
    InfoAnswer rowset;
    GetInfo(props, 1, &rowsetGroup, rowset);
    EXPECT_EQ(rowset.hr, S_OK);
    ASSERT_EQ(rowset.count, 1u);
    EXPECT_TRUE(rowset.sets[0].guidPropertySet == DBPROPSET_ROWSET);
}

TEST(OledbProperties, SessionPropertiesAreTheSessionsOwn) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    ASSERT_EQ(source->Initialize(), S_OK);
    CComPtr<IUnknown> session = OledbNewSession(source);
    CComPtr<ISessionProperties> props = OledbQuery<ISessionProperties>(session);
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ASSERT_EQ(props->GetProperties(0, nullptr, &count, &sets), S_OK);
    ASSERT_EQ(count, 1u);
    EXPECT_TRUE(sets[0].guidPropertySet == DBPROPSET_SESSION);
    ASSERT_EQ(sets[0].cProperties, 1u);
    EXPECT_EQ(sets[0].rgProperties[0].dwPropertyID, DBPROP_CURRENTCATALOG);
    OledbFreePropSets(count, sets);

    DBPROP catalog = TextProp(DBPROP_CURRENTCATALOG, u"DEFAULT");
    DBPROPSET set{&catalog, 1, DBPROPSET_SESSION};
    EXPECT_EQ(props->SetProperties(1, &set), S_OK);
    set.guidPropertySet = DBPROPSET_DATASOURCE;
    EXPECT_EQ(props->SetProperties(1, &set), DB_E_ERRORSOCCURRED);
    VariantClear(&catalog.vValue);
    // The session has no properties in error to report: the set is unknown to it.
    DBPROPIDSET inError{nullptr, 0, DBPROPSET_PROPERTIESINERROR};
    ASSERT_EQ(props->GetProperties(1, &inError, &count, &sets), DB_E_ERRORSOCCURRED);
    OledbFreePropSets(count, sets);
}

TEST(OledbProperties, CommandPropertiesConflictsAndDependencies) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    ASSERT_EQ(source->Initialize(), S_OK);
    CComPtr<ICommandText> command = OledbNewCommand(OledbNewSession(source), u"SELECT");
    CComPtr<ICommandProperties> props = OledbQuery<ICommandProperties>(command);
    DBPROP locate[2] = {Prop(DBPROP_IRowsetLocate, VT_BOOL, 1), Prop(DBPROP_IAccessor, VT_BOOL, 0)};
    DBPROPSET set{locate, 2, DBPROPSET_ROWSET};
    EXPECT_EQ(props->SetProperties(1, &set), DB_S_ERRORSOCCURRED);
    EXPECT_EQ(locate[0].dwStatus, DBPROPSTATUS_OK);
    EXPECT_EQ(locate[1].dwStatus, DBPROPSTATUS_NOTSETTABLE);

    // IRowsetLocate brought bookmarks with it; turning them off now conflicts.
    DBPROPID id = DBPROP_BOOKMARKS;
    DBPROPIDSET idSet{&id, 1, DBPROPSET_ROWSET};
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ASSERT_EQ(props->GetProperties(1, &idSet, &count, &sets), S_OK);
    EXPECT_EQ(sets[0].rgProperties[0].vValue.boolVal, VARIANT_TRUE);
    OledbFreePropSets(count, sets);
    DBPROP bookmarks = Prop(DBPROP_BOOKMARKS, VT_BOOL, 0);
    DBPROPSET bookmarkSet{&bookmarks, 1, DBPROPSET_ROWSET};
    EXPECT_EQ(props->SetProperties(1, &bookmarkSet), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(bookmarks.dwStatus, DBPROPSTATUS_CONFLICTING);
    bookmarks.dwOptions = DBPROPOPTIONS_OPTIONAL;
    EXPECT_EQ(props->SetProperties(1, &bookmarkSet), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(bookmarks.dwStatus, DBPROPSTATUS_NOTSET);
}

TEST(OledbProperties, RowsetStartsFromItsCommandsValues) {
    CComPtr<IDBInitialize> source = OledbNewDataSource();
    ASSERT_EQ(source->Initialize(), S_OK);
    CComPtr<ICommandText> command = OledbNewCommand(OledbNewSession(source), u"SELECT");
    CComPtr<ICommandProperties> props = OledbQuery<ICommandProperties>(command);
    DBPROP hold = Prop(DBPROP_CANHOLDROWS, VT_BOOL, 0);
    DBPROPSET set{&hold, 1, DBPROPSET_ROWSET};
    ASSERT_EQ(props->SetProperties(1, &set), S_OK);

    CComPtr<IRowsetInfo> rowset;
    g_oledbExecute = OledbExecuteRecord{};
    ASSERT_EQ(command->Execute(nullptr, IID_IRowsetInfo, nullptr, nullptr,
                               reinterpret_cast<IUnknown**>(&rowset)),
              S_OK);
    DBPROPID id = DBPROP_CANHOLDROWS;
    DBPROPIDSET idSet{&id, 1, DBPROPSET_ROWSET};
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    ASSERT_EQ(rowset->GetProperties(1, &idSet, &count, &sets), S_OK);
    EXPECT_EQ(sets[0].rgProperties[0].vValue.boolVal, VARIANT_FALSE);
    OledbFreePropSets(count, sets);
    ASSERT_EQ(rowset->GetProperties(0, nullptr, &count, &sets), S_OK);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(sets[0].cProperties, 6u);
    OledbFreePropSets(count, sets);

    // The command's properties cannot change while the rowset is open.
    hold = Prop(DBPROP_CANHOLDROWS, VT_BOOL, 1);
    EXPECT_EQ(props->SetProperties(1, &set), DB_E_OBJECTOPEN);

    // The rowset's other IRowsetInfo answers.
    auto* referenced = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(rowset->GetReferencedRowset(0, IID_IRowset, &referenced), DB_E_BADORDINAL);
    EXPECT_EQ(referenced, nullptr);
    EXPECT_EQ(rowset->GetReferencedRowset(2, IID_IRowset, &referenced), DB_E_NOTAREFERENCECOLUMN);
    EXPECT_EQ(rowset->GetReferencedRowset(3, IID_IRowset, &referenced), DB_E_BADORDINAL);
    EXPECT_EQ(rowset->GetReferencedRowset(1, IID_IRowset, nullptr), E_INVALIDARG);
    CComPtr<ICommandText> specification;
    EXPECT_EQ(
        rowset->GetSpecification(IID_ICommandText, reinterpret_cast<IUnknown**>(&specification)),
        S_OK);
    EXPECT_EQ(specification.p, command.p);
    EXPECT_EQ(rowset->GetSpecification(IID_ICommandText, nullptr), E_INVALIDARG);
}

TEST(OledbProperties, CUtlPropsValuesAndCopies) {
    CUtlProps<OledbTestCommand> first;
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(first.GetPropValue(&DBPROPSET_ROWSET, DBPROP_CANHOLDROWS, &value), S_OK);
    EXPECT_EQ(value.vt, VT_BOOL);
    EXPECT_EQ(value.boolVal, VARIANT_TRUE);
    value.boolVal = VARIANT_FALSE;
    ASSERT_EQ(first.SetPropValue(&DBPROPSET_ROWSET, DBPROP_CANHOLDROWS, &value), S_OK);
    EXPECT_EQ(first.GetPropValue(&DBPROPSET_DBINIT, DBPROP_CANHOLDROWS, &value), E_FAIL);
    value.vt = VT_I4;
    EXPECT_EQ(first.SetPropValue(&DBPROPSET_ROWSET, DBPROP_CANHOLDROWS, &value), E_INVALIDARG);

    CUtlProps<OledbTestCommand> copy;
    ASSERT_EQ(copy.FInit(&first), S_OK);
    VariantInit(&value);
    ASSERT_EQ(copy.GetPropValue(&DBPROPSET_ROWSET, DBPROP_CANHOLDROWS, &value), S_OK);
    EXPECT_EQ(value.boolVal, VARIANT_FALSE);
    ASSERT_EQ(copy.FInit(), S_OK);
    ASSERT_EQ(copy.GetPropValue(&DBPROPSET_ROWSET, DBPROP_CANHOLDROWS, &value), S_OK);
    EXPECT_EQ(value.boolVal, VARIANT_TRUE);
}

namespace {

// Properties whose validation hook throws, to show that no exception leaves the interface.
class ThrowingProperties : public CComObjectRootEx<CComSingleThreadModel>,
                           public ICommandPropertiesImpl<ThrowingProperties> {
  public:
    BEGIN_PROPSET_MAP(ThrowingProperties)
    BEGIN_PROPERTY_SET(DBPROPSET_ROWSET)
    PROPERTY_INFO_ENTRY(CANHOLDROWS)
    END_PROPERTY_SET(DBPROPSET_ROWSET)
    END_PROPSET_MAP()

    BEGIN_COM_MAP(ThrowingProperties)
    COM_INTERFACE_ENTRY(ICommandProperties)
    END_COM_MAP()

    HRESULT IsValidValue(ULONG, DBPROP*) override {
        if (outOfMemory) throw std::bad_alloc();
        throw std::runtime_error("validation failed");
    }

    bool outOfMemory = false;
};

}  // namespace

TEST(OledbProperties, ExceptionsBecomeResults) {
    CComObject<ThrowingProperties>* object = nullptr;
    ASSERT_EQ(CComObject<ThrowingProperties>::CreateInstance(&object), S_OK);
    CComPtr<ICommandProperties> props;
    ASSERT_EQ(object->QueryInterface(IID_ICommandProperties, reinterpret_cast<void**>(&props)),
              S_OK);
    DBPROP hold = Prop(DBPROP_CANHOLDROWS, VT_BOOL, 0);
    DBPROPSET set{&hold, 1, DBPROPSET_ROWSET};
    EXPECT_EQ(props->SetProperties(1, &set), E_FAIL);
    object->outOfMemory = true;
    EXPECT_EQ(props->SetProperties(1, &set), E_OUTOFMEMORY);
}
