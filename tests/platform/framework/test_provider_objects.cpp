// The test provider's objects and rowsets: command Execute with the published creation checks,
// the session's command and schema rowset creation, and each rowset's Execute.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "rowset_creation.h"
#include "test_provider_rowsets.h"

namespace {

std::u16string TextOf(const CComBSTR& text) {
    return text.m_str == nullptr ? std::u16string() : std::u16string(text.m_str, text.Length());
}

bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Reads "prefix:A:B" numbers.
void ReadNumbers(const std::u16string& text, size_t* first, size_t* second) {
    std::string narrow(text.begin(), text.end());
    unsigned long a = 0, b = 0;
    const size_t colon = narrow.find(':');
    if (colon != std::string::npos) std::sscanf(narrow.c_str() + colon + 1, "%lu:%lu", &a, &b);
    *first = a;
    if (second != nullptr) *second = b;
}

template <class Rowset>
HRESULT Create(TestCommand* command, IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams,
               DBROWCOUNT* pcRowsAffected, IUnknown** ppRowset) {
    Rowset* created = nullptr;
    return command->CreateRowset<Rowset>(pUnkOuter, riid, pParams, pcRowsAffected, ppRowset,
                                         created);
}

}  // namespace

STDMETHODIMP TestCommand::Execute(IUnknown* pUnkOuter, REFIID riid, DBPARAMS* pParams,
                                  DBROWCOUNT* pcRowsAffected, IUnknown** ppRowset) {
    return ComGuard([&]() -> HRESULT {
        const std::u16string text = TextOf(m_strCommandText);
        if (StartsWith(text, u"axis:"))
            return Create<TestAxisRowset>(this, pUnkOuter, riid, pParams, pcRowsAffected, ppRowset);
        if (StartsWith(text, u"tabular:"))
            return Create<TestTabularRowset>(this, pUnkOuter, riid, pParams, pcRowsAffected,
                                             ppRowset);
        return Create<TestDatasetRowset>(this, pUnkOuter, riid, pParams, pcRowsAffected, ppRowset);
    });
}

HRESULT CreateTestDataSource(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    return ComGuard([&]() -> HRESULT {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter != nullptr && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        CComPolyObject<TestDataSource>* source = nullptr;
        HRESULT hr = CComPolyObject<TestDataSource>::CreateInstance(pUnkOuter, &source);
        if (FAILED(hr)) return hr;
        source->AddRef();
        hr = source->QueryInterface(riid, ppv);
        source->Release();
        return hr;
    });
}

HRESULT TestDatasetRowset::Execute(DBPARAMS* pParams, DBROWCOUNT* pcRowsAffected) {
    m_receivedParams = pParams;
    const std::u16string text = TextOf(m_strCommandText);
    if (text == u"fail") return DB_E_ERRORSINCOMMAND;
    size_t rows = 0;
    if (StartsWith(text, u"rows:")) ReadNumbers(text, &rows, nullptr);
    for (size_t i = 0; i < rows; ++i)
        m_rgRowData.Add(
            MakeMemberRow(u"member " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)),
                          static_cast<ULONG>(i)));
    if (pcRowsAffected != nullptr) *pcRowsAffected = static_cast<DBROWCOUNT>(rows);
    return S_OK;
}

HRESULT TestAxisRowset::Execute(DBPARAMS*, DBROWCOUNT* pcRowsAffected) {
    size_t rows = 0, dimensions = 0;
    ReadNumbers(TextOf(m_strCommandText), &rows, &dimensions);
    m_rgRowData.Build(rows, dimensions);
    if (pcRowsAffected != nullptr) *pcRowsAffected = static_cast<DBROWCOUNT>(rows);
    return S_OK;
}

HRESULT TestTabularRowset::Execute(DBPARAMS*, DBROWCOUNT* pcRowsAffected) {
    size_t rows = 0, columns = 0;
    ReadNumbers(TextOf(m_strCommandText), &rows, &columns);
    m_names.clear();
    m_names.reserve(columns);
    m_columns.clear();
    for (size_t c = 0; c < columns; ++c) {
        m_names.push_back(u"T" + std::u16string(1, static_cast<char16_t>(u'A' + c)));
        const bool last = c + 1 == columns;
        m_columns.push_back(MakeColumnInfo(m_names.back().data(), c + 1, 0, last ? 8 : 256,
                                           last ? DBTYPE_R8 : DBTYPE_WSTR, last ? 16 : 255,
                                           last ? 2 : 255, c * 512, DBID{}));
    }
    for (size_t r = 0; r < rows; ++r) {
        TestTabularRowData row(columns * 512);
        for (size_t c = 0; c + 1 < columns; ++c)
            CopyWide(reinterpret_cast<WCHAR*>(row.Buffer() + c * 512), 256,
                     u"r" + std::u16string(1, static_cast<char16_t>(u'0' + r % 10)) +
                         std::u16string(1, static_cast<char16_t>(u'A' + c)));
        if (columns > 0) {
            const double value = 1.5 * static_cast<double>(r);
            std::memcpy(row.Buffer() + (columns - 1) * 512, &value, sizeof(value));
        }
        m_rgRowData.Add(row);
    }
    if (pcRowsAffected != nullptr) *pcRowsAffected = static_cast<DBROWCOUNT>(rows);
    return S_OK;
}

HRESULT TestSchemaRowset::Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                                  const VARIANT* rgRestrictions) {
    for (ULONG i = 0; i < cRestrictions; ++i) {
        if (rgRestrictions[i].vt != VT_BSTR || rgRestrictions[i].bstrVal == nullptr) continue;
        m_rgRowData.Add(MakeMemberRow(std::u16string(rgRestrictions[i].bstrVal), i));
    }
    if (pcRowsAffected != nullptr)
        *pcRowsAffected = static_cast<DBROWCOUNT>(m_rgRowData.GetCount());
    return S_OK;
}
