// The dimensions rowset: a cube's dimensions, or the one a DIMENSION_UNIQUE_NAME names.
#include "provider/schema/dimension_rowset.h"

#include <vector>

#include "client/dimension_requests.h"
#include "olap.h"
#include "provider/schema/schema_names.h"
#include "provider/schema/schema_session.h"
#include "provider/zelmo_session.h"

int16_t DimensionTypeOf(const JSONDimension& dimension) {
    return dimension.GetDimensionOrdinal() != 0 ? MD_DIMTYPE_OTHER : MD_DIMTYPE_MEASURE;
}

bool FetchNamedDimension(const APIAuthToken& token, const char* modelId, const char* uniqueName,
                         JSONDimension& dimension) {
    char id[kIdTextBytes];
    if (!ExtractIdText(uniqueName, kRestrictionTextBytes, id) || id[0] == '\0') return false;
    dimension = GetDimension(token, modelId, id);
    // Every dimension the service describes has an id; a default record is no dimension.
    return !dimension.GetId().empty();
}

CDimensionRow::CDimensionRow(const std::u16string& modelId, const JSONDimension& dimension) {
    const DimensionNames names(dimension);
    SetFieldText(catalogName, {kCatalogName});
    SetFieldText(schemaName, {});
    SetFieldText(cubeName, {modelId});
    SetFieldText(dimensionName, {dimension.GetName()});
    SetFieldText(dimensionUniqueName, {names.dimensionUniqueName});
    dimensionGuid = GUID{};
    SetFieldText(dimensionCaption, {dimension.GetName()});
    dimensionOrdinal = static_cast<uint32_t>(dimension.GetDimensionOrdinal());
    dimensionType = DimensionTypeOf(dimension);
    dimensionCardinality = static_cast<uint32_t>(dimension.GetMemberCardinality());
    SetFieldText(defaultHierarchy, {names.hierarchyUniqueName});
    SetFieldText(description, {});
}

HRESULT CDimensionRowset::Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                                  const VARIANT* rgRestrictions) {
    RestrictionSet restrictions;
    ParseRestrictions(cRestrictions, rgRestrictions, &restrictions);
    if (restrictions.cubePresent == 0 || restrictions.AnyOverlong(kReadRestrictions))
        return Finish(pcRowsAffected);
    char user[kNarrowUserNameBytes];
    char password[kNarrowPasswordBytes];
    GetCredentials(user, password);
    const APIAuthToken token = LoginWithCredentials(user, password);
    CubeModelId modelId;
    if (!LookUpCubeModelId(GetSessionObject(), restrictions, modelId))
        return Finish(pcRowsAffected);
    if (restrictions.index4Present != 0) {
        JSONDimension dimension;
        if (FetchNamedDimension(token, modelId.narrow, restrictions.index4, dimension))
            m_rgRowData.Add(CDimensionRow(modelId.wide, dimension));
        return Finish(pcRowsAffected);
    }
    for (const JSONDimension& dimension : GetDimensions(token, modelId.narrow))
        m_rgRowData.Add(CDimensionRow(modelId.wide, dimension));
    return Finish(pcRowsAffected);
}
