// The command's DBPROPSET_ROWSET entries, shared by the command (which declares them) and the data
// source (which chains them without depending on the command's implementation).
#pragma once

#include "util_props.h"

namespace zelmo_command_properties_detail {
constexpr DBPROPFLAGS kRead = DBPROPFLAGS_ROWSET | DBPROPFLAGS_READ;
constexpr DBPROPFLAGS kReadWrite = DBPROPFLAGS_ROWSET | DBPROPFLAGS_READ | DBPROPFLAGS_WRITE;
}  // namespace zelmo_command_properties_detail

// The sixteen entries in their order, for use inside BEGIN_PROPSET_MAP ... END_PROPSET_MAP:
//   BEGIN_PROPSET_MAP(ZelmoCommand)
//   ZELMO_COMMAND_ROWSET_PROPERTY_SET()
//   END_PROPSET_MAP()
#define ZELMO_ROWSET_ENTRY(id, text, vt, access, value)                                        \
    PROPERTY_INFO_ENTRY_DESC(id, u"" text, vt, zelmo_command_properties_detail::access, value, \
                             DBPROPOPTIONS_REQUIRED)
#define ZELMO_COMMAND_ROWSET_PROPERTY_SET()                                                       \
    BEGIN_PROPERTY_SET(DBPROPSET_ROWSET)                                                          \
    ZELMO_ROWSET_ENTRY(DBPROP_IAccessor, "IAccessor", VT_BOOL, kRead, true)                       \
    ZELMO_ROWSET_ENTRY(DBPROP_IColumnsInfo, "IColumnsInfo", VT_BOOL, kRead, true)                 \
    ZELMO_ROWSET_ENTRY(DBPROP_IConvertType, "IConvertType", VT_BOOL, kRead, true)                 \
    ZELMO_ROWSET_ENTRY(DBPROP_IRowset, "IRowset", VT_BOOL, kRead, true)                           \
    ZELMO_ROWSET_ENTRY(DBPROP_IRowsetIdentity, "IRowsetIdentity", VT_BOOL, kRead, true)           \
    ZELMO_ROWSET_ENTRY(DBPROP_IRowsetInfo, "IRowsetInfo", VT_BOOL, kRead, true)                   \
    ZELMO_ROWSET_ENTRY(DBPROP_IRowsetLocate, "IRowsetLocate", VT_BOOL, kReadWrite, false)         \
    ZELMO_ROWSET_ENTRY(DBPROP_BOOKMARKS, "Use Bookmarks", VT_BOOL, kReadWrite, false)             \
    ZELMO_ROWSET_ENTRY(DBPROP_BOOKMARKSKIPPED, "Skip Deleted Bookmarks", VT_BOOL, kReadWrite,     \
                       false)                                                                     \
    ZELMO_ROWSET_ENTRY(DBPROP_BOOKMARKTYPE, "Bookmark Type", VT_I4, kReadWrite, 0)                \
    ZELMO_ROWSET_ENTRY(DBPROP_CANFETCHBACKWARDS, "Fetch Backwards", VT_BOOL, kReadWrite, true)    \
    ZELMO_ROWSET_ENTRY(DBPROP_CANHOLDROWS, "Hold Rows", VT_BOOL, kReadWrite, true)                \
    ZELMO_ROWSET_ENTRY(DBPROP_CANSCROLLBACKWARDS, "Scroll Backwards", VT_BOOL, kReadWrite, true)  \
    ZELMO_ROWSET_ENTRY(DBPROP_LITERALBOOKMARKS, "Literal Bookmarks", VT_BOOL, kReadWrite, false)  \
    ZELMO_ROWSET_ENTRY(DBPROP_ORDEREDBOOKMARKS, "Bookmarks Ordered", VT_BOOL, kReadWrite, false)  \
    ZELMO_ROWSET_ENTRY(DBPROP_ROWSET_ASYNCH, "Asynchronous Rowset Processing", VT_I4, kReadWrite, \
                       0)                                                                         \
    END_PROPERTY_SET(DBPROPSET_ROWSET)

// A class holding only that map, for the data source to chain.
class ZelmoCommandProperties {
    BEGIN_PROPSET_MAP(ZelmoCommandProperties)
    ZELMO_COMMAND_ROWSET_PROPERTY_SET()
    END_PROPSET_MAP()
};
