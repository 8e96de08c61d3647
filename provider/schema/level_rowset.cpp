// The levels rowset: the levels of one cached dimension (HIERARCHY_UNIQUE_NAME) or of every
// cached dimension but the measures, fetched afresh and stored back into the session's cache.
#include "provider/schema/level_rowset.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "client/member_requests.h"
#include "olap.h"
#include "provider/schema/schema_names.h"
#include "provider/zelmo_session.h"
#include "utf_text.h"

CLevelRow::CLevelRow(const std::u16string& cubeName, const JSONDimension& dimension,
                     const JSONLevel& level) {
    const DimensionNames names(dimension);
    const LevelNames levelNames(names.hierarchyUniqueName, level.GetNumber());
    SetFieldText(catalogName, {kCatalogName});
    SetFieldText(schemaName, {});
    SetFieldText(this->cubeName, {cubeName});
    SetFieldText(dimensionUniqueName, {names.dimensionUniqueName});
    SetFieldText(hierarchyUniqueName, {names.hierarchyUniqueName});
    SetFieldText(levelName, {levelNames.name});
    SetFieldText(levelUniqueName, {levelNames.uniqueName});
    levelGuid = GUID{};
    SetFieldText(levelCaption, {levelNames.caption});
    levelNumber = static_cast<uint32_t>(level.GetNumber());
    levelCardinality = static_cast<uint32_t>(level.GetMemberCardinality());
    levelType = MDLEVEL_TYPE_REGULAR;
    SetFieldText(description, {});
    customRollupSettings = 0;
    levelUniqueSettings = 0;
    levelIsVisible = 1;
    SetFieldText(levelOrderingProperty, {names.hierarchyUniqueName});
    levelDbType = DBTYPE_WSTR;
    SetFieldText(levelMasterUniqueName, {});
    SetFieldText(levelNameSqlColumnName, {});
    SetFieldText(levelKeySqlColumnName, {});
    SetFieldText(levelUniqueNameSqlColumnName, {});
    SetFieldText(levelAttributeHierarchyName, {});
    levelKeyCardinality = 1;
    levelOrigin = 1;
}

void CLevelRowset::AddLevelsOf(const APIAuthToken& token, const CubeModelId& modelId,
                               JSONDimension& dimension, const char* dimensionId) {
    std::vector<JSONLevel> levels = GetLevels(token, modelId.narrow, dimensionId);
    for (const JSONLevel& level : levels)
        m_rgRowData.Add(CLevelRow(modelId.wide, dimension, level));
    // A failed or empty answer leaves the levels that were cached, and their members, alone.
    if (!levels.empty()) dimension.levels = std::move(levels);
}

HRESULT CLevelRowset::Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                              const VARIANT* rgRestrictions) {
    RestrictionSet restrictions;
    ParseRestrictions(cRestrictions, rgRestrictions, &restrictions);
    if (restrictions.cubePresent == 0 || restrictions.AnyOverlong(kReadRestrictions))
        return Finish(pcRowsAffected);
    // The dimension's id and number come first: a name that can name no dimension sends nothing.
    char dimensionId[kIdTextBytes] = "";
    std::optional<int32_t> dimensionNumber;
    const bool onePath = restrictions.index4Present != 0;
    if (onePath) {
        if (ExtractIdFromName(restrictions.index4, kRestrictionTextBytes, dimensionId) != S_OK)
            return Finish(pcRowsAffected);
        dimensionNumber = ReadIdNumber(dimensionId);
        if (!dimensionNumber) return Finish(pcRowsAffected);
    }
    const APIAuthToken token = LogIn();
    ZelmoSession* session = GetSessionObject();
    CubeModelId modelId;
    if (!LookUpCubeModelId(session, restrictions, modelId)) return Finish(pcRowsAffected);
    JSONModel* model = FindCachedModel(session, modelId.narrow);
    if (model == nullptr) return Finish(pcRowsAffected);
    if (onePath) {
        for (JSONDimension& dimension : model->dimensions) {
            if (dimension.GetNumber() != *dimensionNumber) continue;
            // The id goes out as it was written (03 stays 03).
            AddLevelsOf(token, modelId, dimension, dimensionId);
            break;
        }
        return Finish(pcRowsAffected);
    }
    // Fetching levels leaves the dimension list as it is, so it is walked in place.
    for (JSONDimension& dimension : model->dimensions) {
        if (dimension.GetNumber() == 0) continue;
        const std::string id = comrt::Utf16ToUtf8(DecimalText(dimension.GetNumber()).View());
        AddLevelsOf(token, modelId, dimension, id.c_str());
    }
    return Finish(pcRowsAffected);
}
