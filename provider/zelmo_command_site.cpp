// ZelmoCommand's road to its session and data source. Kept apart from zelmo_command.cpp: the data
// source's header and the query result's headers each declare kDefaultMemberDisplayOption.
#include "provider/zelmo_command.h"

#include "provider/zelmo_data_source.h"
#include "provider/zelmo_session.h"

namespace {

ZelmoDataSource* DataSourceOf(ZelmoCommand& command) {
    ZelmoSession* session = command.GetSessionObject();
    return session != nullptr ? session->GetDataSourceObject() : nullptr;
}

}  // namespace

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
