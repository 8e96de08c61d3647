// The property map's entry types and the framework's table of known properties (description, type,
// access flags and default) that PROPERTY_INFO_ENTRY draws on.
#pragma once

#include <type_traits>

#include "olap.h"

// A property's default value in a map entry: an integer (booleans included) or a text.
struct PropDefault {
    LONGLONG number = 0;
    LPCOLESTR text = nullptr;
    bool isText = false;

    constexpr PropDefault() = default;
    template <class I, std::enable_if_t<std::is_integral_v<I> || std::is_enum_v<I>, int> = 0>
    constexpr PropDefault(I value) : number(static_cast<LONGLONG>(value)) {}
    constexpr PropDefault(LPCOLESTR value) : text(value), isText(true) {}
};

struct KnownPropertyInfo {
    DBPROPID id;
    LPCOLESTR description;
    VARTYPE vt;
    DBPROPFLAGS flags;
    PropDefault value;
};

namespace property_defaults_detail {
constexpr DBPROPFLAGS kInfoRead = DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_READ;
constexpr DBPROPFLAGS kInitReadWrite = DBPROPFLAGS_DBINIT | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE;
constexpr DBPROPFLAGS kRowsetRead = DBPROPFLAGS_ROWSET | DBPROPFLAGS_READ;
constexpr DBPROPFLAGS kRowsetReadWrite = DBPROPFLAGS_ROWSET | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE;
}  // namespace property_defaults_detail

// Properties the framework knows by id. Ids are unique across the OLE DB property groups.
inline constexpr KnownPropertyInfo kKnownProperties[] = {
    {DBPROP_ACTIVESESSIONS, u"Active Sessions", VT_I4, property_defaults_detail::kInfoRead, 0},
    {DBPROP_DATASOURCEREADONLY, u"Read-Only Data Source", VT_BOOL,
     property_defaults_detail::kInfoRead, true},
    {DBPROP_BYREFACCESSORS, u"Pass By Ref Accessors", VT_BOOL, property_defaults_detail::kInfoRead,
     false},
    {DBPROP_OUTPUTPARAMETERAVAILABILITY, u"Output Parameter Availability", VT_I4,
     property_defaults_detail::kInfoRead, 0},
    {DBPROP_PROVIDEROLEDBVER, u"OLE DB Version", VT_BSTR, property_defaults_detail::kInfoRead,
     u"02.60"},
    {DBPROP_DSOTHREADMODEL, u"Data Source Object Threading Model", VT_I4,
     property_defaults_detail::kInfoRead, DBPROPVAL_RT_FREETHREAD},
    {DBPROP_SUPPORTEDTXNISOLEVELS, u"Isolation Levels", VT_I4, property_defaults_detail::kInfoRead,
     0},
    {DBPROP_USERNAME, u"User Name", VT_BSTR, property_defaults_detail::kInfoRead, u""},
    {MDPROP_MDX_FORMULAS, u"Support for creation of named sets and calculated members", VT_I4,
     property_defaults_detail::kInfoRead, 0},
    {MDPROP_FLATTENING_SUPPORT, u"Flattening Support", VT_I4, property_defaults_detail::kInfoRead,
     MDPROPVAL_FS_FULL_SUPPORT},
    {MDPROP_NAMED_LEVELS, u"Support for named levels", VT_I4, property_defaults_detail::kInfoRead,
     MDPROPVAL_NL_NAMEDLEVELS},
    {MDPROP_MDX_SET_FUNCTIONS, u"Support for various set functions", VT_I4,
     property_defaults_detail::kInfoRead, 0},
    {MDPROP_AXES, u"Number of axes in the dataset", VT_I4, property_defaults_detail::kInfoRead, 0},
    {MDPROP_MDX_OBJQUALIFICATION, u"Provider's ability to qualify a cube name", VT_I4,
     property_defaults_detail::kInfoRead, 0},
    {MDPROP_VISUALMODE, u"Defines visibility of precalculated totals", VT_I4,
     DBPROPFLAGS_DATASOURCEINFO | DBPROPFLAGS_WRITE, MDPROPVAL_VISUAL_MODE_DEFAULT},
    {DBPROP_DBMSNAME, u"DBMS Name", VT_BSTR, property_defaults_detail::kInfoRead, u""},
    {DBPROP_DBMSVER, u"DBMS Version", VT_BSTR, property_defaults_detail::kInfoRead, u""},
    {DBPROP_DATASOURCE_TYPE, u"Data Source Type", VT_I4, property_defaults_detail::kInfoRead,
     DBPROPVAL_DST_TDP},
    {DBPROP_PROVIDERNAME, u"Provider Name", VT_BSTR, property_defaults_detail::kInfoRead, u""},
    {DBPROP_PROVIDERFRIENDLYNAME, u"Provider Friendly Name", VT_BSTR,
     property_defaults_detail::kInfoRead, u""},
    {DBPROP_PROVIDERVER, u"Provider Version", VT_BSTR, property_defaults_detail::kInfoRead, u""},
    {DBPROP_AUTH_PASSWORD, u"Password", VT_BSTR, property_defaults_detail::kInitReadWrite, u""},
    {DBPROP_AUTH_USERID, u"User ID", VT_BSTR, property_defaults_detail::kInitReadWrite, u""},
    {DBPROP_INIT_DATASOURCE, u"Data Source", VT_BSTR, property_defaults_detail::kInitReadWrite,
     u""},
    {DBPROP_INIT_HWND, u"Window Handle", VT_I4, property_defaults_detail::kInitReadWrite, 0},
    {DBPROP_INIT_LOCATION, u"Location", VT_BSTR, property_defaults_detail::kInitReadWrite, u""},
    {DBPROP_INIT_CATALOG, u"Initial Catalog", VT_BSTR, property_defaults_detail::kInitReadWrite,
     u""},
    {DBPROP_INIT_LCID, u"Locale Identifier", VT_I4, property_defaults_detail::kInitReadWrite, 0},
    {DBPROP_INIT_MODE, u"Mode", VT_I4, property_defaults_detail::kInitReadWrite, DB_MODE_READ},
    {DBPROP_INIT_TIMEOUT, u"Connect Timeout", VT_I4, property_defaults_detail::kInitReadWrite, 0},
    {DBPROP_INIT_PROMPT, u"Prompt", VT_I2, property_defaults_detail::kInitReadWrite,
     DBPROMPT_NOPROMPT},
    {DBPROP_AUTH_PERSIST_SENSITIVE_AUTHINFO, u"Persist Security Info", VT_BOOL,
     property_defaults_detail::kInitReadWrite, false},
    {DBPROP_INIT_PROVIDERSTRING, u"Extended Properties", VT_BSTR,
     property_defaults_detail::kInitReadWrite, u""},
    {DBPROP_INIT_OLEDBSERVICES, u"OLE DB Services", VT_I4, property_defaults_detail::kInitReadWrite,
     0},
    {DBPROP_CURRENTCATALOG, u"Current Catalog", VT_BSTR,
     DBPROPFLAGS_DATASOURCE | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE, u""},
    {DBPROP_IAccessor, u"IAccessor", VT_BOOL, property_defaults_detail::kRowsetRead, true},
    {DBPROP_IColumnsInfo, u"IColumnsInfo", VT_BOOL, property_defaults_detail::kRowsetRead, true},
    {DBPROP_IConvertType, u"IConvertType", VT_BOOL, property_defaults_detail::kRowsetRead, true},
    {DBPROP_IRowset, u"IRowset", VT_BOOL, property_defaults_detail::kRowsetRead, true},
    {DBPROP_IRowsetIdentity, u"IRowsetIdentity", VT_BOOL, property_defaults_detail::kRowsetRead,
     true},
    {DBPROP_IRowsetInfo, u"IRowsetInfo", VT_BOOL, property_defaults_detail::kRowsetRead, true},
    {DBPROP_IRowsetLocate, u"IRowsetLocate", VT_BOOL, property_defaults_detail::kRowsetReadWrite,
     false},
    {DBPROP_BOOKMARKS, u"Use Bookmarks", VT_BOOL, property_defaults_detail::kRowsetReadWrite,
     false},
    {DBPROP_BOOKMARKSKIPPED, u"Skip Deleted Bookmarks", VT_BOOL,
     property_defaults_detail::kRowsetReadWrite, false},
    {DBPROP_BOOKMARKTYPE, u"Bookmark Type", VT_I4, property_defaults_detail::kRowsetReadWrite, 0},
    {DBPROP_CANFETCHBACKWARDS, u"Fetch Backwards", VT_BOOL,
     property_defaults_detail::kRowsetReadWrite, true},
    {DBPROP_CANHOLDROWS, u"Hold Rows", VT_BOOL, property_defaults_detail::kRowsetReadWrite, true},
    {DBPROP_CANSCROLLBACKWARDS, u"Scroll Backwards", VT_BOOL,
     property_defaults_detail::kRowsetReadWrite, true},
    {DBPROP_LITERALBOOKMARKS, u"Literal Bookmarks", VT_BOOL,
     property_defaults_detail::kRowsetReadWrite, false},
    {DBPROP_ORDEREDBOOKMARKS, u"Bookmarks Ordered", VT_BOOL,
     property_defaults_detail::kRowsetReadWrite, false},
    {DBPROP_ROWSET_ASYNCH, u"Asynchronous Rowset Processing", VT_I4,
     property_defaults_detail::kRowsetReadWrite, 0},
};

constexpr int FindKnownProperty(DBPROPID id) {
    for (int i = 0; i < static_cast<int>(sizeof(kKnownProperties) / sizeof(kKnownProperties[0]));
         ++i) {
        if (kKnownProperties[i].id == id) return i;
    }
    return -1;
}

// The known entry of a property id, checked when the map is compiled.
template <DBPROPID kId>
constexpr const KnownPropertyInfo& KnownProperty() {
    constexpr int index = FindKnownProperty(kId);
    static_assert(index >= 0, "no known defaults for this property: use PROPERTY_INFO_ENTRY_EX");
    return kKnownProperties[index];
}
