// The cubes rowset: the model list, fetched once per session, as cubes of the catalog "DEFAULT".
#include "provider/schema/cube_rowset.h"

#include <cstring>
#include <string>

#include "client/model_requests.h"
#include "provider/schema/schema_names.h"
#include "provider/schema/schema_session.h"
#include "provider/zelmo_session.h"
#include "utf_text.h"

namespace {

void SetEpochTimestamp(DBTIMESTAMP& out, const std::u16string& epochText) {
    // The 32-bit count is taken as unsigned, so -1 is the last second of 2106.
    EpochToDbTimestamp(out, static_cast<uint32_t>(ReadEpochSeconds(epochText)));
}

}  // namespace

CCubeRow::CCubeRow(const JSONModel& model) {
    SetFieldText(catalogName, {kCatalogName});
    SetFieldText(schemaName, {});
    SetFieldText(cubeName, {model.GetName()});
    SetFieldText(cubeType, {u"CUBE"});
    cubeGuid = GUID{};
    SetEpochTimestamp(createdOn, model.GetCreatedEpochSeconds());
    SetEpochTimestamp(lastSchemaUpdate, model.GetUpdatedEpochSeconds());
    SetFieldText(schemaUpdatedBy, {});
    lastDataUpdate = lastSchemaUpdate;
    SetFieldText(dataUpdatedBy, {});
    SetFieldText(description, {model.GetDesc()});
    isDrillthroughEnabled = 1;
    isLinkable = 0;
    isWriteEnabled = 1;
    isSqlEnabled = 0;
    SetFieldText(cubeCaption, {model.GetName()});
    SetFieldText(baseCubeName, {});
    SetFieldText(annotations, {});
}

HRESULT CCubeRowset::Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                             const VARIANT* rgRestrictions) {
    RestrictionSet restrictions;
    ParseRestrictions(cRestrictions, rgRestrictions, &restrictions);
    // A cube name too long for its field names no cube.
    if (restrictions.AnyOverlong(kReadRestrictions)) return Finish(pcRowsAffected);
    ZelmoSession* session = GetSessionObject();
    if (session == nullptr) return E_FAIL;
    if (session->cachedModels.empty()) {
        char user[kNarrowUserNameBytes];
        char password[kNarrowPasswordBytes];
        GetCredentials(user, password);
        const APIAuthToken token = LoginWithCredentials(user, password);
        if (token.IsLoggedIn() == 0) return E_ACCESSDENIED;
        session->cachedModels = GetModels(token);
        session->modelIdByName.clear();
        for (const JSONModel& model : session->cachedModels)
            session->modelIdByName.emplace(model.GetName(), model.GetId());
    }
    for (const JSONModel& model : session->cachedModels) {
        if (restrictions.cubePresent != 0 &&
            comrt::Utf16ToUtf8(model.GetName()) != restrictions.cube)
            continue;
        m_rgRowData.Add(CCubeRow(model));
    }
    return Finish(pcRowsAffected);
}
