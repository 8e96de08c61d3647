// The session side of the schema rowsets.
#include "provider/schema/schema_session.h"

#include <cstring>

#include "client/login.h"
#include "client/wide_text.h"
#include "provider/connection_settings.h"
#include "provider/zelmo_data_source.h"
#include "provider/zelmo_session.h"

void ReadSessionCredentials(ZelmoSession* session, char* user, char* password) {
    user[0] = '\0';
    password[0] = '\0';
    ZelmoDataSource* dataSource = session != nullptr ? session->GetDataSourceObject() : nullptr;
    if (dataSource == nullptr) return;
    dataSource->GetCredentials(user, password);
    user[kNarrowUserNameBytes - 1] = '\0';
    password[kNarrowPasswordBytes - 1] = '\0';
}

APIAuthToken LoginWithCredentials(const char* user, const char* password) {
    return Login(Utf8ToUtf16(user), Utf8ToUtf16(password));
}

bool LookUpCubeModelId(const ZelmoSession* session, const RestrictionSet& restrictions,
                       CubeModelId& id) {
    id.narrow[0] = '\0';
    if (session == nullptr || restrictions.cubePresent == 0) return false;
    const auto found = session->modelIdByName.find(Utf8ToUtf16(restrictions.cube));
    if (found == session->modelIdByName.end()) return false;
    const std::string narrow = Utf16ToUtf8(found->second);
    // A longer id cut to fit would be another model's.
    if (narrow.size() >= kIdTextBytes) return false;
    std::memcpy(id.narrow, narrow.c_str(), narrow.size() + 1);
    id.wide = found->second;
    return true;
}

JSONModel* FindCachedModel(ZelmoSession* session, const char* narrowModelId) {
    if (session == nullptr) return nullptr;
    for (JSONModel& model : session->cachedModels)
        if (Utf16ToUtf8(model.GetId()) == narrowModelId) return &model;
    return nullptr;
}
