// Consumer-side helpers for the rowset tests: the test provider opened down to a command, rowsets
// executed from it, bindings, and an outer object for aggregation.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "com_runtime.h"
#include "oledb.h"
#include "test_provider_objects.h"

// An outer object that aggregates one inner object and answers everything else through it.
class TestOuter : public IUnknown {
  public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        if (inner == nullptr) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return inner->QueryInterface(riid, ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }

    IUnknown* inner = nullptr;
    ULONG refs = 1;
};

inline CComPtr<IDBCreateSession> OpenDataSource() {
    CComPtr<IDBCreateSession> source;
    EXPECT_EQ(
        CreateTestDataSource(nullptr, IID_IDBCreateSession, reinterpret_cast<void**>(&source)),
        S_OK);
    CComQIPtr<IDBInitialize> initialize(source);
    EXPECT_EQ(initialize->Initialize(), S_OK);
    return source;
}

inline CComPtr<IDBCreateCommand> OpenSession() {
    CComPtr<IDBCreateCommand> session;
    EXPECT_EQ(OpenDataSource()->CreateSession(nullptr, IID_IDBCreateCommand,
                                              reinterpret_cast<IUnknown**>(&session)),
              S_OK);
    return session;
}

inline CComPtr<ICommandText> OpenCommand(const char16_t* text) {
    CComPtr<ICommandText> command;
    EXPECT_EQ(OpenSession()->CreateCommand(nullptr, IID_ICommandText,
                                           reinterpret_cast<IUnknown**>(&command)),
              S_OK);
    if (text != nullptr) {
        EXPECT_EQ(command->SetCommandText(DBGUID_DEFAULT, text), S_OK);
    }
    return command;
}

// Sets one boolean rowset property on a command, as a consumer does.
inline void SetRowsetProperty(IUnknown* command, DBPROPID id, bool value) {
    CComQIPtr<ICommandProperties> properties(command);
    ASSERT_TRUE(properties);
    DBPROP prop{};
    prop.dwPropertyID = id;
    prop.dwOptions = DBPROPOPTIONS_REQUIRED;
    prop.vValue.vt = VT_BOOL;
    prop.vValue.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    DBPROPSET set{&prop, 1, DBPROPSET_ROWSET};
    EXPECT_EQ(properties->SetProperties(1, &set), S_OK);
}

template <class I = IRowset>
CComPtr<I> ExecuteRowset(ICommandText* command, DBROWCOUNT* rows = nullptr) {
    CComPtr<I> rowset;
    EXPECT_EQ(command->Execute(nullptr, __uuidof(I), nullptr, rows,
                               reinterpret_cast<IUnknown**>(&rowset)),
              S_OK);
    return rowset;
}

template <class I = IRowset>
CComPtr<I> OpenRowsetOf(const char16_t* text) {
    return ExecuteRowset<I>(OpenCommand(text));
}

inline DBBINDING Binding(DBORDINAL ordinal, DBTYPE type, DBBYTEOFFSET offset, DBLENGTH maxLen,
                         DBPART parts = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS) {
    DBBINDING binding;
    std::memset(&binding, 0, sizeof(binding));
    binding.iOrdinal = ordinal;
    binding.obValue = offset;
    binding.obLength = offset + maxLen;
    binding.obStatus = offset + maxLen + sizeof(DBLENGTH);
    binding.dwPart = parts;
    binding.dwMemOwner = DBMEMOWNER_CLIENTOWNED;
    binding.cbMaxLen = maxLen;
    binding.wType = type;
    return binding;
}

// The size a Binding() occupies in the consumer row: value, length, status.
inline DBLENGTH BindingSpan(DBLENGTH maxLen) {
    return maxLen + sizeof(DBLENGTH) + sizeof(DBSTATUS) + 4;
}

inline HACCESSOR MakeAccessor(IUnknown* object, std::vector<DBBINDING> bindings,
                              HRESULT expected = S_OK) {
    CComQIPtr<IAccessor> accessor(object);
    HACCESSOR handle = DB_NULL_HACCESSOR;
    std::vector<DBBINDSTATUS> status(bindings.size() + 1, 99);
    EXPECT_EQ(accessor->CreateAccessor(DBACCESSOR_ROWDATA, bindings.size(), bindings.data(), 0,
                                       &handle, status.data()),
              expected);
    return handle;
}

struct BoundValue {
    DBLENGTH length;
    DBSTATUS status;
};

inline BoundValue PartsOf(const std::vector<BYTE>& row, const DBBINDING& binding) {
    BoundValue parts{};
    std::memcpy(&parts.length, row.data() + binding.obLength, sizeof(parts.length));
    std::memcpy(&parts.status, row.data() + binding.obStatus, sizeof(parts.status));
    return parts;
}

inline std::u16string WideAt(const std::vector<BYTE>& row, DBBYTEOFFSET offset) {
    return {reinterpret_cast<const char16_t*>(row.data() + offset)};
}

// Fetches n rows forward with a provider-allocated handle array; frees the array.
inline std::vector<HROW> NextRows(IRowset* rowset, DBROWOFFSET offset, DBROWCOUNT n,
                                  HRESULT expected) {
    DBCOUNTITEM obtained = 99;
    HROW* handles = nullptr;
    EXPECT_EQ(rowset->GetNextRows(DB_NULL_HCHAPTER, offset, n, &obtained, &handles), expected);
    std::vector<HROW> result(handles, handles + obtained);
    if (obtained == 0) {
        EXPECT_EQ(handles, nullptr);
    }
    CoTaskMemFree(handles);
    return result;
}
