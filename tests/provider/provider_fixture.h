// The shared fixture of the provider's integration tests: one stand-in service and one private
// copy of ZelmoProvider.so (with its config.txt) per test process, registered in a scratch
// registry root, reached only through libcomrt.so and the module's exports, as a consumer does.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "atl_com.h"
#include "olap.h"
#include "oledb.h"
#include "oledberr.h"
#include "provider/extend_command.h"
#include "provider/get_self.h"
#include "provider/zelmo_guids.h"
#include "scripted_dialog_host.h"
#include "tools/standin/standin_service.h"

#ifndef ZELMO_PROVIDER_PATH
#error "ZELMO_PROVIDER_PATH names the built ZelmoProvider.so"
#endif

namespace provider_test {

// Data that lets any user name and password log in.
inline const char kAcceptAnyUser[] = R"({"acceptAnyUser": true})";

// The process-wide set-up: created by the first test that needs it, kept until the process ends.
class ProviderProcess {
  public:
    static ProviderProcess& Get() {
        static ProviderProcess process;
        return process;
    }

    StandinService& Standin() { return *standin; }
    const std::filesystem::path& Folder() const { return folder; }
    const std::filesystem::path& ModulePath() const { return modulePath; }
    std::filesystem::path RegistryRoot() const { return folder / "registry"; }

    // The module's own export, looked up in the loaded copy.
    template <class Function>
    Function* Export(const char* name) const {
        return reinterpret_cast<Function*>(::dlsym(module, name));
    }

    ~ProviderProcess() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

  private:
    ProviderProcess() {
        char pattern[] = "/tmp/zelmo-provider-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("no temporary folder");
        folder = pattern;
        // Before anything touches the registry, so the hives live in the scratch folder.
        ::setenv(COMRT_REGISTRY_ROOT_VARIABLE, RegistryRoot().c_str(), 1);
        standin = std::make_unique<StandinService>(kAcceptAnyUser);
        modulePath = folder / "ZelmoProvider.so";
        // A hard link is a private name for the module at no cost; a copy where links fail.
        std::error_code linkError;
        std::filesystem::create_hard_link(ZELMO_PROVIDER_PATH, modulePath, linkError);
        if (linkError) std::filesystem::copy_file(ZELMO_PROVIDER_PATH, modulePath);
        std::ofstream(folder / "config.txt") << standin->GetAddress() << "\n";
        CoInitialize(nullptr);
        module = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) throw std::runtime_error(std::string("dlopen: ") + ::dlerror());
        auto* registerServer = Export<HRESULT()>("DllRegisterServer");
        if (registerServer == nullptr || FAILED(registerServer()))
            throw std::runtime_error("the provider did not register");
    }

    std::filesystem::path folder;
    std::filesystem::path modulePath;
    std::unique_ptr<StandinService> standin;
    void* module = nullptr;
};

// Makes a scripted host current for its lifetime.
class HostScope {
  public:
    explicit HostScope(DialogHost* host) : previous(SetDialogHost(host)) {}
    ~HostScope() { SetDialogHost(previous); }
    HostScope(const HostScope&) = delete;
    HostScope& operator=(const HostScope&) = delete;

  private:
    DialogHost* previous;
};

// Frees what a GetProperties call handed out.
inline void FreePropertySets(ULONG count, DBPROPSET* sets) {
    for (ULONG s = 0; s < count; ++s) {
        for (ULONG p = 0; p < sets[s].cProperties; ++p)
            VariantClear(&sets[s].rgProperties[p].vValue);
        CoTaskMemFree(sets[s].rgProperties);
    }
    CoTaskMemFree(sets);
}

inline DBPROP MakeProperty(DBPROPID id, const VARIANT& value) {
    DBPROP prop{};
    prop.dwPropertyID = id;
    prop.dwOptions = DBPROPOPTIONS_REQUIRED;
    prop.colid = DB_NULLID;
    VariantInit(&prop.vValue);
    VariantCopy(&prop.vValue, &value);
    return prop;
}

// One property set to hand to SetProperties; the values are freed with it.
class PropertySet {
  public:
    explicit PropertySet(const GUID& guid) : guid(guid) {}
    PropertySet(const PropertySet&) = delete;
    PropertySet& operator=(const PropertySet&) = delete;
    ~PropertySet() {
        for (DBPROP& prop : props) VariantClear(&prop.vValue);
    }

    PropertySet& Add(DBPROPID id, const CComVariant& value) {
        props.push_back(MakeProperty(id, value));
        return *this;
    }
    DBPROPSET Set() { return DBPROPSET{props.data(), static_cast<ULONG>(props.size()), guid}; }
    const DBPROP& operator[](size_t i) const { return props[i]; }

  private:
    GUID guid;
    std::vector<DBPROP> props;
};

// The current value of one property through IDBProperties (or VT_EMPTY when not returned).
inline CComVariant GetProperty(IUnknown* object, const GUID& set, DBPROPID id,
                               HRESULT* result = nullptr) {
    CComVariant value;
    CComQIPtr<IDBProperties> properties(object);
    if (!properties) return value;
    DBPROPIDSET idSet{&id, 1, set};
    ULONG count = 0;
    DBPROPSET* sets = nullptr;
    const HRESULT hr = properties->GetProperties(1, &idSet, &count, &sets);
    if (result != nullptr) *result = hr;
    if (count == 1 && sets[0].cProperties == 1 &&
        sets[0].rgProperties[0].dwStatus == DBPROPSTATUS_OK)
        value.Copy(&sets[0].rgProperties[0].vValue);
    FreePropertySets(count, sets);
    return value;
}

inline std::u16string TextOf(const VARIANT& value) {
    if (value.vt != VT_BSTR || value.bstrVal == nullptr) return std::u16string();
    return std::u16string(value.bstrVal, SysStringLen(value.bstrVal));
}

class ProviderTest : public ::testing::Test {
  protected:
    void SetUp() override { ProviderProcess::Get(); }

    static StandinService& Standin() { return ProviderProcess::Get().Standin(); }

    // A user name that no test of this process has used before, so that the provider's
    // process-wide login cache does not hold it yet.
    static std::u16string UniqueUser(const std::u16string& name) {
        static int count = 0;
        const std::string prefix = std::to_string(++count) + "-";
        return std::u16string(prefix.begin(), prefix.end()) + name;
    }

    // A new data source, created by class id as a consumer does.
    static CComPtr<IDBInitialize> CreateDataSource() {
        CComPtr<IDBInitialize> dataSource;
        EXPECT_EQ(CoCreateInstance(CLSID_ZelmoData, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IDBInitialize, reinterpret_cast<void**>(&dataSource)),
                  S_OK);
        return dataSource;
    }

    // Sets DBPROP_AUTH_USERID and DBPROP_AUTH_PASSWORD (and "Data Source" when given).
    static HRESULT SetCredentials(IUnknown* dataSource, const std::u16string& user,
                                  const std::u16string& password,
                                  const std::u16string* dataSourceText = nullptr) {
        PropertySet init(DBPROPSET_DBINIT);
        init.Add(DBPROP_AUTH_USERID, CComVariant(user.c_str()))
            .Add(DBPROP_AUTH_PASSWORD, CComVariant(password.c_str()));
        if (dataSourceText != nullptr)
            init.Add(DBPROP_INIT_DATASOURCE, CComVariant(dataSourceText->c_str()));
        CComQIPtr<IDBProperties> properties(dataSource);
        if (!properties) return E_NOINTERFACE;
        DBPROPSET set = init.Set();
        return properties->SetProperties(1, &set);
    }

    // A data source initialised with the given credentials (no prompt for a complete pair).
    static CComPtr<IDBInitialize> InitializedDataSource(const std::u16string& user = u"ann",
                                                        const std::u16string& password = u"pw") {
        CComPtr<IDBInitialize> dataSource = CreateDataSource();
        if (!dataSource) return dataSource;
        EXPECT_EQ(SetCredentials(dataSource, user, password), S_OK);
        EXPECT_EQ(dataSource->Initialize(), S_OK);
        return dataSource;
    }

    static CComPtr<IUnknown> OpenSession(IUnknown* dataSource, REFIID riid = IID_IUnknown) {
        CComPtr<IUnknown> session;
        CComQIPtr<IDBCreateSession> create(dataSource);
        if (create) {
            EXPECT_EQ(create->CreateSession(nullptr, riid, &session), S_OK);
        }
        return session;
    }

    static CComPtr<ICommandText> CreateCommand(IUnknown* session) {
        CComPtr<ICommandText> command;
        CComQIPtr<IDBCreateCommand> create(session);
        if (create) {
            EXPECT_EQ(create->CreateCommand(nullptr, IID_ICommandText,
                                            reinterpret_cast<IUnknown**>(&command)),
                      S_OK);
        }
        return command;
    }
};

}  // namespace provider_test
