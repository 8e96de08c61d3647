// Column descriptions of rowsets and commands: ATLCOLUMNINFO and the provider column map macros
// that give a row class its static GetColumnInfo table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "oledb.h"

struct ATLCOLUMNINFO {
    LPOLESTR pwszName;
    ITypeInfo* pTypeInfo;
    DBORDINAL iOrdinal;
    DBCOLUMNFLAGS dwFlags;
    DBLENGTH ulColumnSize;
    DBTYPE wType;
    BYTE bPrecision;
    BYTE bScale;
    DBID columnid;
    DBBYTEOFFSET cbOffset;
};

// A column id of kind DBKIND_NAME; the name is borrowed.
inline DBID MakeNameDbid(LPOLESTR name) {
    DBID id{};
    id.eKind = DBKIND_NAME;
    id.uName.pwszName = name;
    return id;
}

// A column id of kind DBKIND_GUID_NAME; the name is borrowed.
inline DBID MakeGuidNameDbid(const GUID& guid, LPOLESTR name) {
    DBID id{};
    id.uGuid.guid = guid;
    id.eKind = DBKIND_GUID_NAME;
    id.uName.pwszName = name;
    return id;
}

inline ATLCOLUMNINFO MakeColumnInfo(LPOLESTR name, DBORDINAL ordinal, DBCOLUMNFLAGS flags,
                                    DBLENGTH size, DBTYPE type, BYTE precision, BYTE scale,
                                    DBBYTEOFFSET offset, const DBID& columnId) {
    return ATLCOLUMNINFO{name, nullptr,   ordinal, flags,    size,
                         type, precision, scale,   columnId, offset};
}

// The DBTYPE that a row class member of type M is declared with by PROVIDER_COLUMN_ENTRY.
template <class M>
struct ProviderColumnType;
#define COMFW_COLUMN_TYPE(cppType, dbType)      \
    template <>                                 \
    struct ProviderColumnType<cppType> {        \
        static constexpr DBTYPE value = dbType; \
    }
COMFW_COLUMN_TYPE(std::int8_t, DBTYPE_I1);
COMFW_COLUMN_TYPE(std::uint8_t, DBTYPE_UI1);
COMFW_COLUMN_TYPE(std::int16_t, DBTYPE_I2);
COMFW_COLUMN_TYPE(std::uint16_t, DBTYPE_UI2);
COMFW_COLUMN_TYPE(std::int32_t, DBTYPE_I4);
COMFW_COLUMN_TYPE(std::uint32_t, DBTYPE_UI4);
COMFW_COLUMN_TYPE(std::int64_t, DBTYPE_I8);
COMFW_COLUMN_TYPE(std::uint64_t, DBTYPE_UI8);
COMFW_COLUMN_TYPE(float, DBTYPE_R4);
COMFW_COLUMN_TYPE(double, DBTYPE_R8);
COMFW_COLUMN_TYPE(GUID, DBTYPE_GUID);
COMFW_COLUMN_TYPE(DBTIMESTAMP, DBTYPE_DBTIMESTAMP);
COMFW_COLUMN_TYPE(VARIANT, DBTYPE_VARIANT);
COMFW_COLUMN_TYPE(BSTR, DBTYPE_BSTR);
#undef COMFW_COLUMN_TYPE
template <size_t N>
struct ProviderColumnType<WCHAR[N]> {
    static constexpr DBTYPE value = DBTYPE_WSTR;
};
template <size_t N>
struct ProviderColumnType<char[N]> {
    static constexpr DBTYPE value = DBTYPE_STR;
};
template <size_t N>
struct ProviderColumnType<BYTE[N]> {
    static constexpr DBTYPE value = DBTYPE_BYTES;
};

// Defaults of a column declared from a member: texts are variable length with precision and
// scale 255; everything else is fixed length with precision and scale 0.
constexpr bool IsVariableLengthType(DBTYPE type) {
    return type == DBTYPE_WSTR || type == DBTYPE_STR || type == DBTYPE_BYTES;
}
constexpr DBCOLUMNFLAGS DefaultColumnFlags(DBTYPE type) {
    return IsVariableLengthType(type) ? DBCOLUMNFLAGS{0}
                                      : DBCOLUMNFLAGS{DBCOLUMNFLAGS_ISFIXEDLENGTH};
}
constexpr BYTE DefaultColumnPrecision(DBTYPE type) { return IsVariableLengthType(type) ? 255 : 0; }

#define COMFW_MEMBER_TYPE(member) \
    std::remove_cv_t<std::remove_reference_t<decltype(std::declval<_ColumnMapClass&>().member)>>

// The map defines static GetColumnInfo(void* pThis, DBORDINAL* pcInfo), built on first use.
// Names are narrow or u"" literals; the column id is the name (DBKIND_NAME).
#define BEGIN_PROVIDER_COLUMN_MAP(theClass)                               \
  public:                                                                 \
    static ATLCOLUMNINFO* GetColumnInfo(void* pThis, DBORDINAL* pcInfo) { \
        using _ColumnMapClass = theClass;                                 \
        (void)pThis;                                                      \
        static ATLCOLUMNINFO _rgColumns[] = {
#define PROVIDER_COLUMN_ENTRY_EX(name, ordinal, flags, dbtype, size, precision, scale, member)     \
    MakeColumnInfo(const_cast<LPOLESTR>(u"" name), ordinal, flags, size, dbtype, precision, scale, \
                   offsetof(_ColumnMapClass, member),                                              \
                   MakeNameDbid(const_cast<LPOLESTR>(u"" name))),

#define PROVIDER_COLUMN_ENTRY_TYPE_SIZE(name, ordinal, dbtype, size, member)                 \
    PROVIDER_COLUMN_ENTRY_EX(name, ordinal, DefaultColumnFlags(dbtype), dbtype, size,        \
                             DefaultColumnPrecision(dbtype), DefaultColumnPrecision(dbtype), \
                             member)

#define PROVIDER_COLUMN_ENTRY_TYPE_PS(name, ordinal, dbtype, precision, scale, member) \
    PROVIDER_COLUMN_ENTRY_EX(name, ordinal, DefaultColumnFlags(dbtype), dbtype,        \
                             sizeof(COMFW_MEMBER_TYPE(member)), precision, scale, member)

#define PROVIDER_COLUMN_ENTRY_FIXED(name, ordinal, dbtype, member)                            \
    PROVIDER_COLUMN_ENTRY_TYPE_SIZE(name, ordinal, dbtype, sizeof(COMFW_MEMBER_TYPE(member)), \
                                    member)

#define PROVIDER_COLUMN_ENTRY_LENGTH(name, ordinal, size, member) \
    PROVIDER_COLUMN_ENTRY_TYPE_SIZE(                              \
        name, ordinal, ProviderColumnType<COMFW_MEMBER_TYPE(member)>::value, size, member)

#define PROVIDER_COLUMN_ENTRY(name, ordinal, member) \
    PROVIDER_COLUMN_ENTRY_LENGTH(name, ordinal, sizeof(COMFW_MEMBER_TYPE(member)), member)

#define PROVIDER_COLUMN_ENTRY_WSTR(name, ordinal, member) \
    PROVIDER_COLUMN_ENTRY_FIXED(name, ordinal, DBTYPE_WSTR, member)

#define PROVIDER_COLUMN_ENTRY_STR(name, ordinal, member) \
    PROVIDER_COLUMN_ENTRY_FIXED(name, ordinal, DBTYPE_STR, member)

// A column with no member behind it (offset 0), named by a GUID and its name.
#define PROVIDER_COLUMN_ENTRY_GN(name, ordinal, flags, colSize, dbtype, precision, scale, guid) \
    MakeColumnInfo(const_cast<LPOLESTR>(u"" name), ordinal, flags, colSize, dbtype, precision,  \
                   scale, 0, MakeGuidNameDbid(guid, const_cast<LPOLESTR>(u"" name))),

#define END_PROVIDER_COLUMN_MAP()                                                \
    }                                                                            \
    ;                                                                            \
    if (pcInfo != nullptr) *pcInfo = sizeof(_rgColumns) / sizeof(_rgColumns[0]); \
    return _rgColumns;                                                           \
    }
