// ZelmoCommand's Execute, its result, the creation of its result objects and its road to the
// session and data source.
#include "provider/zelmo_command.h"

#include <string>
#include <utility>

#include "client/login.h"
#include "client/mdx_query.h"
#include "client/wide_text.h"
#include "provider/axis_rowset.h"
#include "provider/tabular_rowset.h"
#include "provider/zelmo_data_source.h"
#include "provider/zelmo_rowset.h"
#include "provider/zelmo_session.h"

namespace {

// Marks the command as executing for Cancel while Execute runs.
class ExecutingScope {
  public:
    explicit ExecutingScope(bool& flag) : flag(flag) { flag = true; }
    ~ExecutingScope() { flag = false; }
    ExecutingScope(const ExecutingScope&) = delete;
    ExecutingScope& operator=(const ExecutingScope&) = delete;

  private:
    bool& flag;
};

ZelmoDataSource* DataSourceOf(ZelmoCommand& command) {
    ZelmoSession* session = command.GetSessionObject();
    return session != nullptr ? session->GetDataSourceObject() : nullptr;
}

}  // namespace

STDMETHODIMP ZelmoCommand::Execute(IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams,
                                   DBROWCOUNT* pcRowsAffected, IUnknown** ppRowset) {
    return ComGuard([&]() -> HRESULT {
        ExecutingScope executing(m_bIsExecuting);
        char userName[kCommandUserNameBytes] = {};
        char password[kCommandPasswordBytes] = {};
        HRESULT hr = GetCredentials(userName, password);
        if (FAILED(hr)) return hr;
        userName[kCommandUserNameBytes - 1] = '\0';
        password[kCommandPasswordBytes - 1] = '\0';
        const APIAuthToken token = Login(Utf8ToUtf16(userName), Utf8ToUtf16(password));
        if (m_strCommandText.m_str == nullptr) return DB_E_NOCOMMAND;
        const std::string statement =
            Utf16ToUtf8(std::u16string_view(m_strCommandText.m_str, m_strCommandText.Length()));
        std::shared_ptr<RESTData> result = ExecuteMdxQuery(token, statement.c_str());
        int option = kDefaultMemberDisplayOption;
        hr = GetMemberDisplayOption(&option);
        if (FAILED(hr)) return hr;
        result->SetMemberDisplayOption(option);
        return AcceptResult(std::move(result), pUnkOuter, riid, pParams, pcRowsAffected, ppRowset);
    });
}

HRESULT ZelmoCommand::AcceptResult(std::shared_ptr<RESTData> result, IUnknown* pUnkOuter,
                                   REFIID riid, DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected,
                                   IUnknown** ppRowset) {
    queryResult = std::move(result);
    if (queryResult == nullptr || queryResult->GetStatus() == 0) return E_FAIL;
    if (riid == IID_NULL) {
        if (ppRowset != nullptr) *ppRowset = nullptr;
        // Creates nothing; answers DB_E_NOCOMMAND for an empty text, else S_OK.
        ZelmoRowset* none = nullptr;
        return CreateRowset<ZelmoRowset>(pUnkOuter, riid, pParams, pcRowsAffected, ppRowset, none);
    }
    if (queryResult->IsDrillThrough() != 0) {
        CTabularRowset* created = nullptr;
        return CreateRowset<CTabularRowset>(pUnkOuter, riid, pParams, pcRowsAffected, ppRowset,
                                            created);
    }
    ZelmoRowset* created = nullptr;
    return CreateRowset<ZelmoRowset>(pUnkOuter, riid, pParams, pcRowsAffected, ppRowset, created);
}

STDMETHODIMP ZelmoCommand::GetAxisRowset(IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams,
                                         DBROWCOUNT* pcRowsAffected, IUnknown** ppRowset) {
    return ComGuard([&]() -> HRESULT {
        CAxisRowset* created = nullptr;
        return CreateRowset<CAxisRowset>(pUnkOuter, riid, pParams, pcRowsAffected, ppRowset,
                                         created);
    });
}

STDMETHODIMP ZelmoCommand::GetRESTData(RESTData** token) {
    if (token == nullptr) return E_INVALIDARG;
    *token = queryResult.get();
    return S_OK;
}

STDMETHODIMP ZelmoCommand::InterfaceSupportsErrorInfo(REFIID) { return S_OK; }

HRESULT ShareCommandResult(IUnknown* site, std::shared_ptr<RESTData>* result) {
    result->reset();
    if (site == nullptr) return E_NOINTERFACE;
    CComPtr<IExtendCommand> command;
    HRESULT hr = site->QueryInterface(IID_IExtendCommand, reinterpret_cast<void**>(&command));
    if (FAILED(hr)) return hr;
    RESTData* token = nullptr;
    hr = command->GetRESTData(&token);
    if (FAILED(hr)) return hr;
    if (token != nullptr) *result = token->shared_from_this();
    return S_OK;
}

ZelmoSession* ZelmoCommand::GetSessionObject() {
    CComPtr<IUnknown> site;
    if (FAILED(GetSite(IID_IUnknown, reinterpret_cast<void**>(&site))) || !site) return nullptr;
    CComPtr<IGetSelf> getSelf;
    if (FAILED(site->QueryInterface(IID_IGetSelf, reinterpret_cast<void**>(&getSelf))))
        return nullptr;
    void* self = nullptr;
    if (FAILED(getSelf->GetSelf(&self))) return nullptr;
    return static_cast<ZelmoSession*>(self);
}

HRESULT ZelmoCommand::GetCredentials(char* userName, char* password) {
    ZelmoDataSource* dataSource = DataSourceOf(*this);
    if (dataSource == nullptr) return E_FAIL;
    dataSource->GetCredentials(userName, password);
    return S_OK;
}

HRESULT ZelmoCommand::GetMemberDisplayOption(int* option) {
    ZelmoDataSource* dataSource = DataSourceOf(*this);
    if (dataSource == nullptr) return E_FAIL;
    return dataSource->GetMemberDisplayOption(option);
}
