// ZelmoDataSource's initialisation (config file, initialisation properties, credentials prompt),
// its credentials for the children and IGetSelf.
#include "provider/zelmo_data_source.h"

#include "client/login.h"
#include "client/service_config.h"
#include "provider/credentials_prompt_dlg.h"

namespace {

// Frees what IDBProperties::GetProperties handed out.
class PropertySetsHolder {
  public:
    PropertySetsHolder() = default;
    PropertySetsHolder(const PropertySetsHolder&) = delete;
    PropertySetsHolder& operator=(const PropertySetsHolder&) = delete;
    ~PropertySetsHolder() {
        for (ULONG s = 0; s < count; ++s) {
            for (ULONG p = 0; p < sets[s].cProperties; ++p)
                VariantClear(&sets[s].rgProperties[p].vValue);
            CoTaskMemFree(sets[s].rgProperties);
        }
        CoTaskMemFree(sets);
    }

    ULONG count = 0;
    DBPROPSET* sets = nullptr;
};

// A VT_BSTR property of DBPROPSET_DBINIT whose text stays owned by the caller.
DBPROP MakeTextProperty(DBPROPID id, BSTR text) {
    DBPROP prop{};
    prop.dwPropertyID = id;
    prop.dwOptions = DBPROPOPTIONS_REQUIRED;
    prop.dwStatus = DBPROPSTATUS_OK;
    prop.colid = DB_NULLID;
    VariantInit(&prop.vValue);
    prop.vValue.vt = VT_BSTR;
    prop.vValue.bstrVal = text;
    return prop;
}

}  // namespace

STDMETHODIMP ZelmoDataSource::Initialize() {
    return ComGuard([&]() -> HRESULT { return InitializeDataSource(); });
}

STDMETHODIMP ZelmoDataSource::GetSelf(void** pSelf) {
    if (pSelf == nullptr) return E_INVALIDARG;
    *pSelf = this;
    return S_OK;
}

int ZelmoDataSource::GetCredentials(char* userName, char* password) {
    ToNarrow(settings.userName, userName, kNarrowUserNameBytes);
    ToNarrow(settings.password, password, kNarrowPasswordBytes);
    return 0;
}

HRESULT ZelmoDataSource::GetMemberDisplayOption(int* option) {
    if (option != nullptr) *option = settings.memberDisplayOption;
    return S_OK;
}

HRESULT ZelmoDataSource::InitializeDataSource() {
    PropertySetsHolder properties;
    HRESULT hr = GetProperties(0, nullptr, &properties.count, &properties.sets);
    if (FAILED(hr)) return hr;
    ReadServiceConfig();
    ReadInitProperties(properties.sets, properties.count, settings);
    if (ShouldPrompt(settings, HasCachedToken)) {
        while (CredentialsMissing(settings)) {
            hr = PromptForCredentials();
            if (hr != S_OK) return hr;
        }
    }
    return IDBInitializeImpl<ZelmoDataSource>::Initialize();
}

HRESULT ZelmoDataSource::PromptForCredentials() {
    CredentialsPromptDlg dialog;
    dialog.userName = settings.userName;
    dialog.password = settings.password;
    if (dialog.DoModal(settings.parentWindow) != IDOK) return E_INVALIDARG;

    CComBSTR userName(settings.userName);
    CComBSTR password(settings.password);
    DBPROP props[2] = {MakeTextProperty(DBPROP_AUTH_USERID, userName.m_str),
                       MakeTextProperty(DBPROP_AUTH_PASSWORD, password.m_str)};
    DBPROPSET set{props, 2, DBPROPSET_DBINIT};
    const HRESULT hr = SetProperties(1, &set);
    return hr;
}
