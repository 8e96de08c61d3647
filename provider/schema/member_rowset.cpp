// The members rowset: the level path (cube, hierarchy and level named) and the member path (cube
// and member named).
#include "provider/schema/member_rowset.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "client/dimension_requests.h"
#include "client/member_requests.h"
#include "client/wide_text.h"
#include "olap.h"
#include "provider/zelmo_session.h"

MemberRowContext::MemberRowContext(const std::u16string& cubeName, const JSONDimension& dimension,
                                   int levelNumber)
    : cubeName(cubeName),
      dimension(dimension),
      level(this->dimension.hierarchyUniqueName, levelNumber),
      levelNumber(levelNumber) {}

CMemberRow::CMemberRow(const std::u16string& cubeName, const JSONDimension& dimension,
                       int levelNumber, const JSONMember& member)
    : CMemberRow(MemberRowContext(cubeName, dimension, levelNumber), member) {}

CMemberRow::CMemberRow(const MemberRowContext& context, const JSONMember& member) {
    const auto& positions = member.GetPositions();
    const MemberPosition* position = positions.empty() ? nullptr : &positions.front();
    const int positionLevel = position != nullptr ? position->GetLevel() : context.levelNumber;
    const std::u16string_view parentName =
        position != nullptr ? std::u16string_view(position->GetParentMemberName())
                            : std::u16string_view();
    const std::u16string_view prefix =
        parentName.empty() ? std::u16string_view(context.dimension.hierarchyUniqueName)
                           : parentName;
    SetFieldText(catalogName, {kCatalogName});
    SetFieldText(schemaName, {});
    SetFieldText(cubeName, {context.cubeName});
    SetFieldText(dimensionUniqueName, {context.dimension.dimensionUniqueName});
    SetFieldText(hierarchyUniqueName, {context.dimension.hierarchyUniqueName});
    SetFieldText(levelUniqueName, {context.level.uniqueName});
    SetFieldText(memberName, {member.GetName()});
    SetFieldText(memberUniqueName, {prefix, u".[", member.GetName(), u" <", member.GetId(), u">]"});
    SetFieldText(memberCaption, {member.GetName()});
    SetFieldText(parentUniqueName, {parentName});
    SetFieldText(description, {});
    levelGuid = GUID{};
    levelNumber = static_cast<uint32_t>(context.levelNumber);
    memberOrdinal = static_cast<uint32_t>(member.GetMdxMemberOrdinal());
    memberType = positionLevel == 0 ? MDMEMBER_TYPE_ALL : MDMEMBER_TYPE_REGULAR;
    childrenCardinality = static_cast<uint32_t>(member.GetNumChildren());
    parentLevel = positionLevel > 0 ? static_cast<uint32_t>(positionLevel - 1) : 0;
    parentCount = context.levelNumber > 0 ? 1 : 0;
}

HRESULT CMemberRowset::Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                               const VARIANT* rgRestrictions) {
    RestrictionSet restrictions;
    ParseRestrictions(cRestrictions, rgRestrictions, &restrictions);
    if (restrictions.cubePresent == 0) return Finish(pcRowsAffected);
    if (restrictions.index4Present != 0 && restrictions.index5Present != 0) {
        if (!restrictions.AnyOverlong(kLevelPathRestrictions)) ReadLevelPath(restrictions);
    } else if (restrictions.index8Present != 0) {
        if (!restrictions.AnyOverlong(kMemberPathRestrictions)) ReadMemberPath(restrictions);
    }
    return Finish(pcRowsAffected);
}

void CMemberRowset::ReadLevelPath(const RestrictionSet& restrictions) {
    // Names that can name no dimension, level or member send nothing.
    char dimensionId[kIdTextBytes];
    char levelId[kIdTextBytes];
    char memberId[kIdTextBytes] = "";
    if (ExtractIdFromName(restrictions.index4, kRestrictionTextBytes, dimensionId) != S_OK) return;
    // The all level's name holds no number of its own: it is level 0.
    if (IsAllLevelUniqueName(restrictions.index5)) {
        levelId[0] = '0', levelId[1] = '\0';
    } else if (ExtractIdFromName(restrictions.index5, kRestrictionTextBytes, levelId) != S_OK) {
        return;
    }
    const bool oneMember = restrictions.index8Present != 0;
    if (oneMember &&
        ExtractIdFromName(restrictions.index8, kRestrictionTextBytes, memberId) != S_OK)
        return;
    const std::optional<int32_t> dimensionNumber = ReadIdNumber(dimensionId);
    const std::optional<int32_t> levelNumber = ReadIdNumber(levelId);
    if (!dimensionNumber || !levelNumber) return;

    char user[kNarrowUserNameBytes];
    char password[kNarrowPasswordBytes];
    GetCredentials(user, password);
    const APIAuthToken token = LoginWithCredentials(user, password);
    ZelmoSession* session = GetSessionObject();
    CubeModelId modelId;
    if (!LookUpCubeModelId(session, restrictions, modelId)) return;
    JSONModel* model = FindCachedModel(session, modelId.narrow);
    if (model == nullptr) return;
    JSONDimension* dimension = nullptr;
    for (JSONDimension& candidate : model->dimensions) {
        if (candidate.GetNumber() == *dimensionNumber) {
            dimension = &candidate;
            break;
        }
    }
    if (dimension == nullptr) return;
    const std::u16string wantedId = Utf8ToUtf16(memberId);
    const MemberRowContext context(modelId.wide, *dimension, *levelNumber);
    for (JSONLevel& level : dimension->levels) {
        if (level.GetNumber() != *levelNumber) continue;
        // The ids go out as they were written, not rewritten from the numbers.
        std::vector<JSONMember> members = GetMembers(token, modelId.narrow, dimensionId, levelId);
        for (const JSONMember& member : members) {
            if (oneMember && member.GetId() != wantedId) continue;
            m_rgRowData.Add(CMemberRow(context, member));
            if (oneMember) break;
        }
        level.members = std::move(members);
    }
}

void CMemberRowset::ReadMemberPath(const RestrictionSet& restrictions) {
    char memberId[kIdTextBytes];
    if (ExtractIdFromName(restrictions.index8, kRestrictionTextBytes, memberId) != S_OK) return;
    char user[kNarrowUserNameBytes];
    char password[kNarrowPasswordBytes];
    GetCredentials(user, password);
    const APIAuthToken token = LoginWithCredentials(user, password);
    ZelmoSession* session = GetSessionObject();
    CubeModelId modelId;
    if (!LookUpCubeModelId(session, restrictions, modelId)) return;
    const JSONMember member = GetMdxMember(token, modelId.narrow, memberId);
    if (member.GetPositions().empty()) return;
    const int levelNumber = member.GetPositions().front().GetLevel();
    JSONModel* model = FindCachedModel(session, modelId.narrow);
    if (model == nullptr) return;
    if (model->dimensions.empty()) model->dimensions = GetDimensions(token, modelId.narrow);
    for (const JSONDimension& dimension : model->dimensions) {
        if (dimension.GetNumber() != member.GetDimensionNumber()) continue;
        m_rgRowData.Add(CMemberRow(modelId.wide, dimension, levelNumber, member));
        return;
    }
}
