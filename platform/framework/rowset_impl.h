// CRowsetImpl: the rowset base over a row array and a column map, with the interfaces every
// rowset offers, and its properties taken from the object that creates it.
#pragma once

#include <type_traits>

#include "accessor_impl.h"
#include "atl_array.h"
#include "columns_info_impl.h"
#include "com_bstr.h"
#include "com_object_root.h"
#include "convert_type_impl.h"
#include "irowset_impl.h"
#include "object_with_site_session_impl.h"
#include "row_array_access.h"
#include "rowset_identity_impl.h"
#include "rowset_info_impl.h"

// Column information: a rowset class may define its own static GetColumnInfo(T*, DBORDINAL*)
// (columns built at run time); otherwise a row array that describes its own columns answers
// (GetColumnInfo(DBORDINAL*)), else the row class's provider column map.
//
// Rows: m_rgRowData is the declared array, except that CAtlArray of plain records with a column
// map is held as CCompactRowArray (same Add and GetCount), so a text takes its length. An array
// with FetchRow(i) builds row i on demand; GetData copies a row out before it fetches another.
//
// Properties: the rowset derives from its creator's property class and starts as a copy of the
// creator's values; a base may name another property class (the schema rowsets do). The site is
// the creator, which counts the rowset as open (IInternalConnection) while it lives.
template <class T, class Storage, class CreatorClass, class ArrayType = CAtlArray<Storage>,
          class RowClass = CSimpleRow, class RowsetInterface = IRowsetImpl<T, IRowset, RowClass>,
          class PropClass = typename CreatorClass::_PropClass>
class CRowsetImpl : public CComObjectRootEx<typename CreatorClass::_ThreadModel>,
                    public IAccessorImpl<T>,
                    public IRowsetIdentityImpl<T, RowClass>,
                    public IRowsetCreatorImpl<T>,
                    public IColumnsInfoImpl<T>,
                    public IConvertTypeImpl<T>,
                    public IRowsetInfoImpl<T, PropClass>,
                    public RowsetInterface,
                    public PropClass {
  public:
    // The template library's names for the template arguments.
    // NOLINTBEGIN(bugprone-reserved-identifier)
    using _RowsetCreatorClass = CreatorClass;
    using _RowsetStorage = Storage;
    using _RowsetArrayType = typename RowArrayFor<ArrayType, Storage>::type;
    using _RowClass = RowClass;
    using _PropClass = PropClass;
    // NOLINTEND(bugprone-reserved-identifier)

    static ATLCOLUMNINFO* GetColumnInfo(T* pThis, DBORDINAL* pcInfo) {
        if constexpr (HasArrayColumnInfo<_RowsetArrayType>::value) {
            return pThis->m_rgRowData.GetColumnInfo(pcInfo);
        } else if constexpr (HasStaticColumnMap<Storage>::value) {
            return Storage::GetColumnInfo(pThis, pcInfo);
        } else {
            if (pcInfo != nullptr) *pcInfo = 0;
            return nullptr;
        }
    }

    // The map macro calls the root's static lookup unqualified; a template must name it.
    using CComObjectRootEx<typename CreatorClass::_ThreadModel>::InternalQueryInterface;

    BEGIN_COM_MAP(CRowsetImpl)
    COM_INTERFACE_ENTRY(IRowsetInfo)
    COM_INTERFACE_ENTRY(IAccessor)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IColumnsInfo)
    COM_INTERFACE_ENTRY(IConvertType)
    COM_INTERFACE_ENTRY(IRowsetIdentity)
    COM_INTERFACE_ENTRY(IRowset)
    END_COM_MAP()

    _RowsetArrayType m_rgRowData;
    CComBSTR m_strCommandText;
};
