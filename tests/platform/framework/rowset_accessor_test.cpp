// IAccessor on rowsets and commands: the published validation with DBBINDSTATUS per binding,
// reference counts, GetBindings copies, and handles that are not this object's.
#include "rowset_test_consumer.h"

namespace {

struct Created {
    HRESULT hr;
    HACCESSOR handle;
    std::vector<DBBINDSTATUS> status;
};

Created Create(IUnknown* object, DBACCESSORFLAGS flags, std::vector<DBBINDING> bindings) {
    CComQIPtr<IAccessor> accessor(object);
    Created result{E_FAIL, 12345, std::vector<DBBINDSTATUS>(bindings.size(), 99)};
    result.hr = accessor->CreateAccessor(flags, bindings.size(),
                                         bindings.empty() ? nullptr : bindings.data(), 0,
                                         &result.handle, result.status.data());
    return result;
}

TEST(RowsetAccessor, FlagChecksOnARowset) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"rows:1");
    const DBBINDING good = Binding(1, DBTYPE_WSTR, 0, 32);
    EXPECT_EQ(Create(rowset, DBACCESSOR_INVALID, {good}).hr, DB_E_BADACCESSORFLAGS);
    EXPECT_EQ(Create(rowset, DBACCESSOR_ROWDATA | 0x40, {good}).hr, DB_E_BADACCESSORFLAGS);
    EXPECT_EQ(Create(rowset, DBACCESSOR_ROWDATA | DBACCESSOR_INHERITED, {good}).hr,
              DB_E_BADACCESSORFLAGS);
    EXPECT_EQ(Create(rowset, DBACCESSOR_PARAMETERDATA, {good}).hr, DB_E_BADACCESSORFLAGS);
    EXPECT_EQ(Create(rowset, DBACCESSOR_ROWDATA | DBACCESSOR_PASSBYREF, {good}).hr,
              DB_E_BYREFACCESSORNOTSUPPORTED);
    Created null = Create(rowset, DBACCESSOR_ROWDATA, {});
    EXPECT_EQ(null.hr, DB_E_NULLACCESSORNOTSUPPORTED);
    EXPECT_EQ(null.handle, DB_NULL_HACCESSOR);
    Created optimized = Create(rowset, DBACCESSOR_ROWDATA | DBACCESSOR_OPTIMIZED, {good});
    EXPECT_EQ(optimized.hr, S_OK);
    CComQIPtr<IAccessor> accessor(rowset);
    EXPECT_EQ(accessor->CreateAccessor(DBACCESSOR_ROWDATA, 1, &good, 0, nullptr, nullptr),
              E_INVALIDARG);
    HACCESSOR handle = 5;
    EXPECT_EQ(accessor->CreateAccessor(DBACCESSOR_ROWDATA, 1, nullptr, 0, &handle, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(handle, DB_NULL_HACCESSOR);
}

TEST(RowsetAccessor, BindingStatusesOnARowset) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"rows:1");
    std::vector<DBBINDING> bindings;
    bindings.push_back(Binding(2, DBTYPE_WSTR, 0, 32));         // ok
    bindings.push_back(Binding(0, DBTYPE_WSTR, 0, 32));         // bookmark, bookmarks off
    bindings.push_back(Binding(99, DBTYPE_WSTR, 0, 32));        // no such column
    bindings.push_back(Binding(5, DBTYPE_DBTIMESTAMP, 0, 16));  // GUID to timestamp: not in table
    bindings.push_back(Binding(2, DBTYPE_WSTR, 0, 32, 0));      // no part
    bindings.push_back(Binding(2, DBTYPE_WSTR, 0, 32, 0x8));    // unknown part
    bindings.push_back(Binding(2, DBTYPE_EMPTY, 0, 32));
    bindings.push_back(Binding(2, DBTYPE_NULL | DBTYPE_BYREF, 0, 32));
    bindings.push_back(Binding(2, DBTYPE_WSTR | DBTYPE_ARRAY | DBTYPE_VECTOR, 0, 32));
    bindings.push_back(Binding(2, DBTYPE_WSTR | DBTYPE_RESERVED, 0, 32));
    DBBINDING owned = Binding(2, DBTYPE_WSTR, 0, 32);
    owned.dwMemOwner = DBMEMOWNER_PROVIDEROWNED;
    bindings.push_back(owned);
    DBBINDING html = Binding(3, DBTYPE_UI4, 0, 4);
    html.dwFlags = DBBINDFLAG_HTML;
    bindings.push_back(html);
    DBOBJECT object{0, IID_IUnknown};
    DBBINDING withObject = Binding(2, DBTYPE_WSTR, 0, 32);
    withObject.pObject = &object;
    bindings.push_back(withObject);
    Created result = Create(rowset, DBACCESSOR_ROWDATA, bindings);
    EXPECT_EQ(result.hr, DB_E_ERRORSOCCURRED);
    EXPECT_EQ(result.handle, DB_NULL_HACCESSOR);
    const std::vector<DBBINDSTATUS> expected = {
        DBBINDSTATUS_OK,          DBBINDSTATUS_BADORDINAL,
        DBBINDSTATUS_BADORDINAL,  DBBINDSTATUS_UNSUPPORTEDCONVERSION,
        DBBINDSTATUS_BADBINDINFO, DBBINDSTATUS_BADBINDINFO,
        DBBINDSTATUS_BADBINDINFO, DBBINDSTATUS_BADBINDINFO,
        DBBINDSTATUS_BADBINDINFO, DBBINDSTATUS_BADBINDINFO,
        DBBINDSTATUS_BADBINDINFO, DBBINDSTATUS_BADBINDINFO,
        DBBINDSTATUS_BADBINDINFO};
    EXPECT_EQ(result.status, expected);
}

TEST(RowsetAccessor, CommandAccessorsAreNotCheckedAgainstColumns) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:1");
    // Ordinal 99 and any conversion pass on a command; the structure is still checked.
    Created late = Create(command, DBACCESSOR_ROWDATA, {Binding(99, DBTYPE_DBTIMESTAMP, 0, 16)});
    EXPECT_EQ(late.hr, S_OK);
    EXPECT_EQ(late.status[0], static_cast<DBBINDSTATUS>(DBBINDSTATUS_OK));
    EXPECT_EQ(Create(command, DBACCESSOR_ROWDATA, {Binding(1, DBTYPE_EMPTY, 0, 16)}).hr,
              DB_E_ERRORSOCCURRED);
    // A null row accessor is allowed on a command, a null parameter accessor is not.
    EXPECT_EQ(Create(command, DBACCESSOR_ROWDATA, {}).hr, S_OK);
    EXPECT_EQ(Create(command, DBACCESSOR_PARAMETERDATA, {}).hr, DB_E_NULLACCESSORNOTSUPPORTED);
    DBBINDING parameter = Binding(1, DBTYPE_WSTR, 0, 16);
    parameter.eParamIO = DBPARAMIO_INPUT;
    EXPECT_EQ(Create(command, DBACCESSOR_PARAMETERDATA, {parameter}).hr, S_OK);
    parameter.eParamIO = DBPARAMIO_NOTPARAM;
    Created noIo = Create(command, DBACCESSOR_PARAMETERDATA, {parameter});
    EXPECT_EQ(noIo.status[0], static_cast<DBBINDSTATUS>(DBBINDSTATUS_BADBINDINFO));
    parameter.eParamIO = DBPARAMIO_OUTPUT;
    parameter.iOrdinal = 0;
    EXPECT_EQ(Create(command, DBACCESSOR_PARAMETERDATA, {parameter}).status[0],
              static_cast<DBBINDSTATUS>(DBBINDSTATUS_BADORDINAL));

    // Inherited by the rowset: the late-bound ordinal fails at GetData, not before.
    CComPtr<IRowset> rowset = ExecuteRowset(command);
    std::vector<HROW> rows = NextRows(rowset, 0, 1, S_OK);
    std::vector<BYTE> data(BindingSpan(16));
    EXPECT_EQ(rowset->GetData(rows[0], late.handle, data.data()), DB_E_ERRORSOCCURRED);
    EXPECT_EQ(PartsOf(data, Binding(99, DBTYPE_DBTIMESTAMP, 0, 16)).status,
              static_cast<DBSTATUS>(DBSTATUS_E_BADACCESSOR));
    rowset->ReleaseRows(1, rows.data(), nullptr, nullptr, nullptr);
}

TEST(RowsetAccessor, ReferenceCountsAndBindingsCopies) {
    CComPtr<IRowset> rowset = OpenRowsetOf(u"rows:1");
    CComQIPtr<IAccessor> accessor(rowset);
    DBOBJECT object{7, IID_IRowset};
    DBBINDING first = Binding(1, DBTYPE_WSTR, 0, 32);
    DBBINDING second = Binding(3, DBTYPE_UI4, 64, 4);
    second.bPrecision = 10;
    const DBBINDING bindings[2] = {first, second};
    HACCESSOR handle = DB_NULL_HACCESSOR;
    ASSERT_EQ(accessor->CreateAccessor(DBACCESSOR_ROWDATA, 2, bindings, 128, &handle, nullptr),
              S_OK);
    DBREFCOUNT count = 0;
    EXPECT_EQ(accessor->AddRefAccessor(handle, &count), S_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(accessor->AddRefAccessor(handle, nullptr), S_OK);

    DBACCESSORFLAGS flags = 0;
    DBCOUNTITEM n = 0;
    DBBINDING* copy = nullptr;
    ASSERT_EQ(accessor->GetBindings(handle, &flags, &n, &copy), S_OK);
    EXPECT_EQ(flags, static_cast<DBACCESSORFLAGS>(DBACCESSOR_ROWDATA));
    ASSERT_EQ(n, 2u);
    // Both sides were written whole (padding included): Binding() starts from zeros.
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    EXPECT_EQ(std::memcmp(copy, bindings, sizeof(bindings)), 0);
    CoTaskMemFree(copy);
    EXPECT_EQ(accessor->GetBindings(handle, nullptr, &n, &copy), E_INVALIDARG);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(copy, nullptr);

    EXPECT_EQ(accessor->ReleaseAccessor(handle, &count), S_OK);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(accessor->ReleaseAccessor(handle, nullptr), S_OK);
    EXPECT_EQ(accessor->ReleaseAccessor(handle, &count), S_OK);
    EXPECT_EQ(count, 0u);
    // Released: every use of the handle is refused.
    EXPECT_EQ(accessor->ReleaseAccessor(handle, &count), DB_E_BADACCESSORHANDLE);
    EXPECT_EQ(accessor->AddRefAccessor(handle, &count), DB_E_BADACCESSORHANDLE);
    flags = 5;
    EXPECT_EQ(accessor->GetBindings(handle, &flags, &n, &copy), DB_E_BADACCESSORHANDLE);
    EXPECT_EQ(flags, static_cast<DBACCESSORFLAGS>(DBACCESSOR_INVALID));
    (void)object;
}

TEST(RowsetAccessor, HandlesOfOtherObjectsAreRefused) {
    CComPtr<IRowset> one = OpenRowsetOf(u"rows:1");
    CComPtr<IRowset> other = OpenRowsetOf(u"rows:1");
    HACCESSOR handle = MakeAccessor(one, {Binding(1, DBTYPE_WSTR, 0, 32)});
    CComQIPtr<IAccessor> otherAccessor(other);
    EXPECT_EQ(otherAccessor->AddRefAccessor(handle, nullptr), DB_E_BADACCESSORHANDLE);
    EXPECT_EQ(otherAccessor->ReleaseAccessor(reinterpret_cast<HACCESSOR>(&handle), nullptr),
              DB_E_BADACCESSORHANDLE);
    std::vector<HROW> rows = NextRows(other, 0, 1, S_OK);
    std::vector<BYTE> data(64);
    EXPECT_EQ(other->GetData(rows[0], handle, data.data()), DB_E_BADACCESSORHANDLE);
    other->ReleaseRows(1, rows.data(), nullptr, nullptr, nullptr);
}

TEST(RowsetAccessor, GetBindingsCopiesObjectsSeparately) {
    CComPtr<ICommandText> command = OpenCommand(u"rows:1");
    CComQIPtr<IAccessor> accessor(command);
    DBOBJECT object{1, IID_IRowset};
    DBBINDING binding = Binding(1, DBTYPE_IUNKNOWN, 0, 8);
    binding.pObject = &object;
    HACCESSOR handle = DB_NULL_HACCESSOR;
    ASSERT_EQ(accessor->CreateAccessor(DBACCESSOR_ROWDATA, 1, &binding, 0, &handle, nullptr), S_OK);
    object.dwFlags = 99;  // the accessor kept its own copy
    DBACCESSORFLAGS flags = 0;
    DBCOUNTITEM n = 0;
    DBBINDING* copy = nullptr;
    ASSERT_EQ(accessor->GetBindings(handle, &flags, &n, &copy), S_OK);
    ASSERT_NE(copy[0].pObject, nullptr);
    EXPECT_NE(copy[0].pObject, &object);
    EXPECT_EQ(copy[0].pObject->dwFlags, 1u);
    EXPECT_EQ(copy[0].pObject->iid, IID_IRowset);
    CoTaskMemFree(copy[0].pObject);
    CoTaskMemFree(copy);
}

}  // namespace
