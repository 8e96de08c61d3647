// IErrorRecords for framework objects: a list of OLE DB error records (ATLERRORINFO) with the
// published argument checks, and a plain error object for GetErrorInfo.
#pragma once

#include <vector>

#include "com_bstr.h"
#include "com_guard.h"
#include "com_object.h"
#include "com_ptr.h"
#include "oledb.h"

// One error record: the consumer-visible basic information and how to look the text up.
struct ATLERRORINFO {
    ERRORINFO info{};
    DWORD dwLookupID = 0;
    DWORD dwDynamicErrorID = 0;
    CComPtr<IUnknown> spCustomError;
};

// The error object GetErrorInfo hands out: the record's interface id and no texts, since the
// framework has no error lookup service.
class CErrorRecordInfo : public CComObjectRootEx<CComSingleThreadModel>, public IErrorInfo {
  public:
    BEGIN_COM_MAP(CErrorRecordInfo)
    COM_INTERFACE_ENTRY(IErrorInfo)
    END_COM_MAP()

    STDMETHOD(GetGUID)(GUID* pGUID) override {
        if (pGUID == nullptr) return E_INVALIDARG;
        *pGUID = m_iid;
        return S_OK;
    }
    STDMETHOD(GetSource)(BSTR* pBstrSource) override { return EmptyText(pBstrSource); }
    STDMETHOD(GetDescription)(BSTR* pBstrDescription) override {
        return EmptyText(pBstrDescription);
    }
    STDMETHOD(GetHelpFile)(BSTR* pBstrHelpFile) override {
        if (pBstrHelpFile == nullptr) return E_INVALIDARG;
        *pBstrHelpFile = nullptr;
        return S_OK;
    }
    STDMETHOD(GetHelpContext)(DWORD* pdwHelpContext) override {
        if (pdwHelpContext == nullptr) return E_INVALIDARG;
        *pdwHelpContext = 0;
        return S_OK;
    }

    IID m_iid = IID_NULL;

  private:
    static HRESULT EmptyText(BSTR* text) {
        if (text == nullptr) return E_INVALIDARG;
        *text = SysAllocString(u"");
        return *text == nullptr ? E_OUTOFMEMORY : S_OK;
    }
};

template <class T, class RecordClass = ATLERRORINFO>
class IErrorRecordsImpl : public IErrorRecords {
  public:
    STDMETHOD(AddErrorRecord)
    (ERRORINFO* pErrorInfo, DWORD dwLookupID, DISPPARAMS* pdispparams, IUnknown* punkCustomError,
     DWORD dwDynamicErrorID) override {
        return ComGuard([&]() -> HRESULT {
            (void)pdispparams;  // parameters of error texts are not kept
            if (pErrorInfo == nullptr) return E_INVALIDARG;
            RecordClass record;
            record.info = *pErrorInfo;
            record.dwLookupID = dwLookupID;
            record.dwDynamicErrorID = dwDynamicErrorID;
            record.spCustomError = punkCustomError;
            m_rgErrors.push_back(record);
            return S_OK;
        });
    }

    STDMETHOD(GetBasicErrorInfo)(ULONG ulRecordNum, ERRORINFO* pErrorInfo) override {
        return ComGuard([&]() -> HRESULT {
            if (pErrorInfo == nullptr) return E_INVALIDARG;
            if (ulRecordNum >= m_rgErrors.size()) return DB_E_BADRECORDNUM;
            *pErrorInfo = m_rgErrors[ulRecordNum].info;
            return S_OK;
        });
    }

    // A record without a custom error object answers S_OK and a null pointer.
    STDMETHOD(GetCustomErrorObject)(ULONG ulRecordNum, REFIID riid, IUnknown** ppObject) override {
        return ComGuard([&]() -> HRESULT {
            if (ppObject == nullptr) return E_INVALIDARG;
            *ppObject = nullptr;
            if (ulRecordNum >= m_rgErrors.size()) return DB_E_BADRECORDNUM;
            IUnknown* custom = m_rgErrors[ulRecordNum].spCustomError;
            if (custom == nullptr) return S_OK;
            return custom->QueryInterface(riid, reinterpret_cast<void**>(ppObject));
        });
    }

    STDMETHOD(GetErrorInfo)(ULONG ulRecordNum, LCID lcid, IErrorInfo** ppErrorInfo) override {
        return ComGuard([&]() -> HRESULT {
            (void)lcid;
            if (ppErrorInfo == nullptr) return E_INVALIDARG;
            *ppErrorInfo = nullptr;
            if (ulRecordNum >= m_rgErrors.size()) return DB_E_BADRECORDNUM;
            CComObject<CErrorRecordInfo>* object = nullptr;
            const HRESULT hr = CComObject<CErrorRecordInfo>::CreateInstance(&object);
            if (FAILED(hr)) return hr;
            object->m_iid = m_rgErrors[ulRecordNum].info.iid;
            object->AddRef();
            const HRESULT answer =
                object->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(ppErrorInfo));
            object->Release();
            return answer;
        });
    }

    // DISPPARAMS is not part of this platform; no record keeps parameters.
    STDMETHOD(GetErrorParameters)(ULONG ulRecordNum, DISPPARAMS* pdispparams) override {
        return ComGuard([&]() -> HRESULT {
            if (pdispparams == nullptr) return E_INVALIDARG;
            if (ulRecordNum >= m_rgErrors.size()) return DB_E_BADRECORDNUM;
            return E_NOTIMPL;
        });
    }

    STDMETHOD(GetRecordCount)(ULONG* pcRecords) override {
        return ComGuard([&]() -> HRESULT {
            if (pcRecords == nullptr) return E_INVALIDARG;
            *pcRecords = static_cast<ULONG>(m_rgErrors.size());
            return S_OK;
        });
    }

    std::vector<RecordClass> m_rgErrors;
};
