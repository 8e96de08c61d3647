// The hierarchies rowset: one hierarchy per dimension of a cube, from the session's cached model
// (filled here on first use), or the one an index 4 name points at.
#include "provider/schema/hierarchy_rowset.h"

#include "client/dimension_requests.h"
#include "olap.h"
#include "provider/schema/dimension_rowset.h"
#include "provider/schema/schema_names.h"
#include "provider/schema/schema_session.h"
#include "provider/zelmo_session.h"

CHierarchyRow::CHierarchyRow(const std::u16string& modelId, const JSONDimension& dimension) {
    const DimensionNames names(dimension);
    SetFieldText(catalogName, {kCatalogName});
    SetFieldText(schemaName, {});
    SetFieldText(cubeName, {modelId});
    SetFieldText(dimensionUniqueName, {names.dimensionUniqueName});
    SetFieldText(hierarchyName, {});
    SetFieldText(hierarchyUniqueName, {names.hierarchyUniqueName});
    hierarchyGuid = GUID{};
    SetFieldText(hierarchyCaption, {dimension.GetName()});
    dimensionType = DimensionTypeOf(dimension);
    hierarchyCardinality = 0;
    SetFieldText(defaultMember, {names.allMember});
    SetFieldText(allMember, {names.allMember});
    SetFieldText(description, {});
    structure = MD_STRUCTURE_UNBALANCED;
    isVirtual = 0;
    isReadWrite = 0;
    dimensionUniqueSettings = 1;
    SetFieldText(dimensionMasterUniqueName, {});
    dimensionIsVisible = 1;
    hierarchyOrdinal = static_cast<uint32_t>(dimension.GetDimensionOrdinal());
    dimensionIsShared = 0;
    hierarchyIsVisible = 1;
    hierarchyOrigin = MD_USER_DEFINED;
    SetFieldText(hierarchyDisplayFolder, {});
    instanceSelection = 0;
    groupingBehavior = 1;
}

HRESULT CHierarchyRowset::Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                                  const VARIANT* rgRestrictions) {
    RestrictionSet restrictions;
    ParseRestrictions(cRestrictions, rgRestrictions, &restrictions);
    if (restrictions.cubePresent == 0 || restrictions.AnyOverlong(kReadRestrictions))
        return Finish(pcRowsAffected);
    char user[kNarrowUserNameBytes];
    char password[kNarrowPasswordBytes];
    GetCredentials(user, password);
    const APIAuthToken token = LoginWithCredentials(user, password);
    ZelmoSession* session = GetSessionObject();
    CubeModelId modelId;
    if (!LookUpCubeModelId(session, restrictions, modelId)) return Finish(pcRowsAffected);
    if (restrictions.index4Present != 0) {
        JSONDimension dimension;
        if (FetchNamedDimension(token, modelId.narrow, restrictions.index4, dimension))
            m_rgRowData.Add(CHierarchyRow(modelId.wide, dimension));
        return Finish(pcRowsAffected);
    }
    JSONModel* model = FindCachedModel(session, modelId.narrow);
    if (model == nullptr) return Finish(pcRowsAffected);
    if (model->dimensions.empty()) model->dimensions = GetDimensions(token, modelId.narrow);
    for (const JSONDimension& dimension : model->dimensions)
        m_rgRowData.Add(CHierarchyRow(modelId.wide, dimension));
    return Finish(pcRowsAffected);
}
