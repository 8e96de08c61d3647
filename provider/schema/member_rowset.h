// CMemberRowset: MDSCHEMA_MEMBERS, the members of one cached level (asked of the service and
// stored back into the session's cache), or one member named by its unique name.
#pragma once

#include <cstdint>
#include <string>

#include "client/json_dimension.h"
#include "provider/schema/generic_rowset.h"
#include "provider/schema/schema_names.h"
#include "provider/schema/schema_session.h"

// The session comes first: the rowset bases need it complete.
#include "provider/zelmo_session.h"

// What the member rows of one level share, named once for all of them.
struct MemberRowContext {
    MemberRowContext(const std::u16string& cubeName, const JSONDimension& dimension,
                     int levelNumber);

    const std::u16string& cubeName;
    DimensionNames dimension;
    LevelNames level;
    int levelNumber;
};

class CMemberRow {
  public:
    CMemberRow() = default;
    CMemberRow(const std::u16string& cubeName, const JSONDimension& dimension, int levelNumber,
               const JSONMember& member);
    // A member without positions is a member of the level with no parent.
    CMemberRow(const MemberRowContext& context, const JSONMember& member);

    WCHAR catalogName[kSchemaTextChars];
    WCHAR schemaName[kSchemaTextChars];
    WCHAR cubeName[kSchemaTextChars];
    WCHAR dimensionUniqueName[kSchemaTextChars];
    WCHAR hierarchyUniqueName[kSchemaTextChars];
    WCHAR levelUniqueName[kSchemaTextChars];
    uint32_t levelNumber;
    uint32_t memberOrdinal;
    WCHAR memberName[kSchemaTextChars];
    WCHAR memberUniqueName[kSchemaTextChars];
    int32_t memberType;
    GUID levelGuid;
    WCHAR memberCaption[kSchemaTextChars];
    uint32_t childrenCardinality;
    uint32_t parentLevel;
    WCHAR parentUniqueName[kSchemaTextChars];
    uint32_t parentCount;
    WCHAR description[kSchemaTextChars];

    BEGIN_PROVIDER_COLUMN_MAP(CMemberRow)
    SCHEMA_TEXT_COLUMN("CATALOG_NAME", 1, catalogName)
    SCHEMA_TEXT_COLUMN("SCHEMA_NAME", 2, schemaName)
    SCHEMA_TEXT_COLUMN("CUBE_NAME", 3, cubeName)
    SCHEMA_TEXT_COLUMN("DIMENSION_UNIQUE_NAME", 4, dimensionUniqueName)
    SCHEMA_TEXT_COLUMN("HIERARCHY_UNIQUE_NAME", 5, hierarchyUniqueName)
    SCHEMA_TEXT_COLUMN("LEVEL_UNIQUE_NAME", 6, levelUniqueName)
    SCHEMA_COLUMN("LEVEL_NUMBER", 7, DBTYPE_UI4, levelNumber)
    SCHEMA_COLUMN("MEMBER_ORDINAL", 8, DBTYPE_UI4, memberOrdinal)
    SCHEMA_TEXT_COLUMN("MEMBER_NAME", 9, memberName)
    SCHEMA_TEXT_COLUMN("MEMBER_UNIQUE_NAME", 10, memberUniqueName)
    SCHEMA_COLUMN("MEMBER_TYPE", 11, DBTYPE_I4, memberType)
    SCHEMA_COLUMN("LEVEL_GUID", 12, DBTYPE_GUID, levelGuid)
    SCHEMA_TEXT_COLUMN("MEMBER_CAPTION", 13, memberCaption)
    SCHEMA_COLUMN("CHILDREN_CARDINALITY", 14, DBTYPE_UI4, childrenCardinality)
    SCHEMA_COLUMN("PARENT_LEVEL", 15, DBTYPE_UI4, parentLevel)
    SCHEMA_TEXT_COLUMN("PARENT_UNIQUE_NAME", 16, parentUniqueName)
    SCHEMA_COLUMN("PARENT_COUNT", 17, DBTYPE_UI4, parentCount)
    SCHEMA_TEXT_COLUMN("DESCRIPTION", 18, description)
    END_PROVIDER_COLUMN_MAP()
};
static_assert(kIsCompactRow<CMemberRow>);

// Restriction indexes of the members rowset beyond CUBE_NAME and HIERARCHY_UNIQUE_NAME (4).
constexpr ULONG kLevelUniqueNameRestriction = 5;
constexpr ULONG kMemberUniqueNameRestriction = 8;

class CMemberRowset : public CGenericRowset<CMemberRowset, CMemberRow, ZelmoSession> {
  public:
    static constexpr ULONG kLevelPathRestrictions =
        RestrictionBit(kCubeRestriction) | RestrictionBit(4) |
        RestrictionBit(kLevelUniqueNameRestriction) | RestrictionBit(kMemberUniqueNameRestriction);
    static constexpr ULONG kMemberPathRestrictions =
        RestrictionBit(kCubeRestriction) | RestrictionBit(kMemberUniqueNameRestriction);

    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions, const VARIANT* rgRestrictions);

  private:
    void ReadLevelPath(const RestrictionSet& restrictions);
    void ReadMemberPath(const RestrictionSet& restrictions);
};
