// The dataset: IMDDataset over a share of the command's query result, and its logic.
#include "provider/zelmo_rowset.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "client/rest_data.h"
#include "provider/number_text.h"

namespace {

// Columns per dimension of the axis rowset, without its leading TUPLE_ORDINAL.
DBORDINAL AxisColumnsOf(const RESTAxisDimension& dimension) {
    return 5 + (dimension.HasParentUniqueName() != 0) + (dimension.HasMemberName() != 0) +
           (dimension.HasMemberType() != 0);
}

template <class T>
T* AllocateZeroed(size_t count) {
    if (count == 0) return nullptr;
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* block = CoTaskMemAlloc(count * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    std::memset(block, 0, count * sizeof(T));
    return static_cast<T*>(block);
}

LPOLESTR CopyName(const std::u16string& name) {
    auto* copy = AllocateZeroed<OLECHAR>(name.size() + 1);
    std::memcpy(copy, name.c_str(), (name.size() + 1) * sizeof(OLECHAR));
    return copy;
}

void FillAxisInfo(const RESTAxis& axis, MDAXISINFO& info) {
    const auto& dimensions = axis.GetDimensions();
    info.cbSize = sizeof(MDAXISINFO);
    info.iAxis = AxisOrdinalFromName(axis);
    info.cCoordinates = axis.GetTuples().size();
    info.rgcColumns = AllocateZeroed<DBORDINAL>(dimensions.size());
    info.rgpwszDimensionNames = AllocateZeroed<LPOLESTR>(dimensions.size());
    // Counted as the names are made, so that a failure frees exactly what exists.
    for (const RESTAxisDimension& dimension : dimensions) {
        info.rgcColumns[info.cDimensions] = AxisColumnsOf(dimension);
        info.rgpwszDimensionNames[info.cDimensions] = CopyName(dimension.GetName());
        ++info.cDimensions;
    }
}

constexpr DBLENGTH kCellLength = 4;

void WriteCellBinding(const RESTData& result, const DBBINDING& binding, DBORDINAL cell, BYTE* row,
                      HRESULT* hr) {
    DBSTATUS status = DBSTATUS_E_CANTCONVERTVALUE;
    if ((binding.dwPart & DBPART_LENGTH) != 0)
        std::memcpy(row + binding.obLength, &kCellLength, sizeof(kCellLength));
    if ((binding.dwPart & DBPART_VALUE) != 0) {
        if (binding.wType == DBTYPE_VARIANT) {
            if (binding.iOrdinal == 1) {
                try {
                    const VARIANT value = GetCellVariant(result, cell);
                    std::memcpy(row + binding.obValue, &value, sizeof(value));
                    status = DBSTATUS_S_OK;
                } catch (const std::exception&) {
                    status = DBSTATUS_E_UNAVAILABLE;
                    *hr = DB_S_ERRORSOCCURRED;
                }
            } else if (binding.iOrdinal == 2) {
                VARIANT value;
                std::memset(&value, 0, sizeof(value));
                value.vt = VT_I4;
                value.lVal = static_cast<LONG>(cell);
                std::memcpy(row + binding.obValue, &value, sizeof(value));
                status = DBSTATUS_S_OK;
            } else {
                status = DBSTATUS_E_BADACCESSOR;
                *hr = DB_S_ERRORSOCCURRED;
            }
        }
    } else {
        status = DBSTATUS_S_OK;
    }
    if ((binding.dwPart & DBPART_STATUS) != 0)
        std::memcpy(row + binding.obStatus, &status, sizeof(status));
}

}  // namespace

DBROWCOUNT CellCountOf(const RESTData& result) {
    const RESTCellTable& cells = result.GetCellTable();
    if (cells.GetNumRows() == 0 || cells.GetNumColumns() == 0) return 0;
    return static_cast<DBROWCOUNT>(cells.GetValues().size());
}

DBCOUNTITEM AxisOrdinalFromName(const RESTAxis& axis) {
    const std::u16string type = axis.GetType();
    if (type == u"COLUMNS") return MDAXIS_COLUMNS;
    if (type == u"ROWS") return MDAXIS_ROWS;
    return MDAXIS_PAGES;
}

void BuildAxisInfo(const RESTData& result, DBCOUNTITEM* pcAxes, MDAXISINFO** prgAxisInfo) {
    if (result.GetStatus() == 0) throw std::runtime_error("Server response error.");
    const auto& axes = result.GetAxes();
    auto* infos = AllocateZeroed<MDAXISINFO>(axes.size());
    try {
        for (size_t a = 0; a < axes.size(); ++a) FillAxisInfo(axes[a], infos[a]);
    } catch (...) {
        FreeAxisInfoArray(axes.size(), infos);
        throw;
    }
    *pcAxes = axes.size();
    *prgAxisInfo = infos;
}

void FreeAxisInfoArray(DBCOUNTITEM cAxes, MDAXISINFO* rgAxisInfo) {
    if (rgAxisInfo == nullptr) return;
    for (DBCOUNTITEM a = 0; a < cAxes; ++a) {
        MDAXISINFO& info = rgAxisInfo[a];
        if (info.rgpwszDimensionNames != nullptr) {
            for (DBCOUNTITEM d = 0; d < info.cDimensions; ++d)
                CoTaskMemFree(info.rgpwszDimensionNames[d]);
        }
        CoTaskMemFree(info.rgcColumns);
        CoTaskMemFree(info.rgpwszDimensionNames);
    }
    CoTaskMemFree(rgAxisInfo);
}

VARIANT GetCellVariant(const RESTData& result, DBORDINAL c) {
    const RESTCellTable& cells = result.GetCellTable();
    if (cells.GetNumRows() == 0 || cells.GetNumColumns() == 0)
        throw std::runtime_error("Failed to get data from the server.");
    VARIANT value;
    std::memset(&value, 0, sizeof(value));
    const auto& values = cells.GetValues();
    if (c >= values.size()) {
        value.vt = VT_BSTR;
        return value;
    }
    const std::u16string& text = values[static_cast<size_t>(c)];
    double number = 0.0;
    if (ReadWholeNumber(text, &number)) {
        value.vt = VT_R8;
        value.dblVal = number;
        return value;
    }
    value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (value.bstrVal == nullptr) throw std::bad_alloc();
    value.vt = VT_BSTR;
    return value;
}

HRESULT WriteCellRows(const RESTData& result, const std::vector<DBBINDING>& bindings,
                      DBLENGTH rowSize, DBORDINAL first, DBORDINAL last, BYTE* pData) {
    HRESULT hr = S_OK;
    if (first > last) return hr;
    for (DBORDINAL cell = first;; ++cell) {
        BYTE* row = pData + (cell - first) * rowSize;
        for (const DBBINDING& binding : bindings) WriteCellBinding(result, binding, cell, row, &hr);
        if (cell == last) break;
    }
    return hr;
}

HRESULT ZelmoRowset::Execute(DBPARAMS*, DBROWCOUNT* pcRowsAffected) {
    const HRESULT hr = ShareCommandResult(m_spUnkSite, &restData);
    if (FAILED(hr)) return hr;
    if (pcRowsAffected != nullptr && restData != nullptr) *pcRowsAffected = CellCountOf(*restData);
    return S_OK;
}

STDMETHODIMP ZelmoRowset::CreateAccessor(DBACCESSORFLAGS dwAccessorFlags, DBCOUNTITEM cBindings,
                                         const DBBINDING rgBindings[], DBLENGTH cbRowSize,
                                         HACCESSOR* phAccessor, DBBINDSTATUS rgStatus[]) {
    return ComGuard([&]() -> HRESULT {
        const HRESULT hr = IAccessorImpl<ZelmoRowset>::CreateAccessor(
            dwAccessorFlags, cBindings, rgBindings, cbRowSize, phAccessor, rgStatus);
        if (SUCCEEDED(hr)) accessorRowSizes[*phAccessor] = cbRowSize;
        return hr;
    });
}

STDMETHODIMP ZelmoRowset::ReleaseAccessor(HACCESSOR hAccessor, DBREFCOUNT* pcRefCount) {
    return ComGuard([&]() -> HRESULT {
        const HRESULT hr = IAccessorImpl<ZelmoRowset>::ReleaseAccessor(hAccessor, pcRefCount);
        // The size goes with the accessor's last reference.
        if (SUCCEEDED(hr) && FindAccessor(hAccessor) == nullptr) accessorRowSizes.erase(hAccessor);
        return hr;
    });
}

DBLENGTH ZelmoRowset::GetAccessorRowSize(HACCESSOR hAccessor) const {
    const auto found = accessorRowSizes.find(hAccessor);
    return found != accessorRowSizes.end() ? found->second : 1;
}

STDMETHODIMP ZelmoRowset::FreeAxisInfo(DBCOUNTITEM cAxes, MDAXISINFO* rgAxisInfo) {
    return ComGuard([&]() -> HRESULT {
        FreeAxisInfoArray(cAxes, rgAxisInfo);
        return S_OK;
    });
}

STDMETHODIMP ZelmoRowset::GetAxisInfo(DBCOUNTITEM* pcAxes, MDAXISINFO** prgAxisInfo) {
    return ComGuard([&]() -> HRESULT {
        if (pcAxes != nullptr) *pcAxes = 0;
        if (prgAxisInfo != nullptr) *prgAxisInfo = nullptr;
        if (pcAxes == nullptr || prgAxisInfo == nullptr) return E_INVALIDARG;
        if (restData == nullptr) return E_FAIL;
        BuildAxisInfo(*restData, pcAxes, prgAxisInfo);
        return S_OK;
    });
}

STDMETHODIMP ZelmoRowset::GetAxisRowset(IUnknown* pUnkOuter, DBCOUNTITEM iAxis, REFIID riid,
                                        ULONG /*cPropertySets*/, DBPROPSET /*rgPropertySets*/[],
                                        IUnknown** ppRowset) {
    return ComGuard([&]() -> HRESULT {
        if (!m_spUnkSite) return E_NOINTERFACE;
        CComPtr<IExtendCommand> command;
        const HRESULT hr =
            m_spUnkSite->QueryInterface(IID_IExtendCommand, reinterpret_cast<void**>(&command));
        if (FAILED(hr)) return hr;
        // The axis number travels in through the rows-affected argument.
        auto axis = static_cast<DBROWCOUNT>(iAxis);
        return command->GetAxisRowset(pUnkOuter, riid, nullptr, &axis, ppRowset);
    });
}

STDMETHODIMP ZelmoRowset::GetCellData(HACCESSOR hAccessor, DBORDINAL ulStartCell,
                                      DBORDINAL ulEndCell, void* pData) {
    return ComGuard([&]() -> HRESULT {
        const AccessorRecord* accessor = FindAccessor(hAccessor);
        if (accessor == nullptr) return DB_E_BADACCESSORHANDLE;
        if (ulStartCell > ulEndCell) return S_OK;
        if (pData == nullptr) return E_INVALIDARG;
        if (restData == nullptr) return E_FAIL;
        return WriteCellRows(*restData, accessor->Bindings(), GetAccessorRowSize(hAccessor),
                             ulStartCell, ulEndCell, static_cast<BYTE*>(pData));
    });
}

STDMETHODIMP ZelmoRowset::GetSpecification(REFIID, IUnknown**) { return E_NOTIMPL; }
