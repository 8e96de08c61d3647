// The axis rowset's creation: the axis number in, the columns built, the tuple count out.
#include "provider/axis_rowset.h"

#include <utility>

HRESULT CAxisRowset::Execute(DBPARAMS*, DBROWCOUNT* pcRowsAffected) {
    if (pcRowsAffected == nullptr) return E_INVALIDARG;
    std::shared_ptr<RESTData> result;
    const HRESULT hr = ShareCommandResult(m_spUnkSite, &result);
    if (FAILED(hr)) return hr;
    if (result != nullptr &&
        !BuildAxisColumns(m_rgRowData, static_cast<size_t>(*pcRowsAffected), std::move(result)))
        return E_INVALIDARG;
    *pcRowsAffected = static_cast<DBROWCOUNT>(m_rgRowData.GetCount());
    return S_OK;
}

bool CAxisRowset::BuildAxisColumns(CAxisRow& rowArray, size_t axisNumber,
                                   std::shared_ptr<const RESTData> result) {
    return rowArray.Build(std::move(result), axisNumber);
}
