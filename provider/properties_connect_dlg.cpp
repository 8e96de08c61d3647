// The connection page: edits kept in its fields, and the bag exchange under the names of the
// data source's initialisation properties.
#include "provider/properties_connect_dlg.h"

#include <optional>
#include <string>

#include "provider/page_text.h"

namespace {
// Edits are read with a limit of 255 characters, terminator included.
constexpr int kEditCopyLimit = 255;
}  // namespace

PropertiesConnectDlg::PropertiesConnectDlg() {
    m_dwTitleID = kIdsConnectionTitle;
    m_dwHelpFileID = kIdsConnectionHelpFile;
    m_dwDocStringID = kIdsConnectionDocString;
}

LRESULT PropertiesConnectDlg::OnUserIdChanged(WORD, WORD, HWND, BOOL&) {
    GetDlgItemText(kIdcConnectionUserName, userName, kEditCopyLimit);
    m_bRequiresSave = TRUE;
    m_bDirty = TRUE;
    return 0;
}

LRESULT PropertiesConnectDlg::OnPasswordChanged(WORD, WORD, HWND, BOOL&) {
    GetDlgItemText(kIdcConnectionPassword, password, kEditCopyLimit);
    m_bRequiresSave = TRUE;
    m_bDirty = TRUE;
    return 0;
}

STDMETHODIMP PropertiesConnectDlg::Apply() {
    m_bDirty = FALSE;
    return S_OK;
}

STDMETHODIMP PropertiesConnectDlg::Load(IPropertyBag* pPropBag, IErrorLog* pErrorLog) {
    return ComGuard([&]() -> HRESULT { return LoadFromBag(pPropBag, pErrorLog); });
}

STDMETHODIMP PropertiesConnectDlg::Save(IPropertyBag* pPropBag, BOOL fClearDirty,
                                        BOOL fSaveAllProperties) {
    return ComGuard(
        [&]() -> HRESULT { return SaveToBag(pPropBag, fClearDirty, fSaveAllProperties); });
}

HRESULT PropertiesConnectDlg::LoadFromBag(IPropertyBag* bag, IErrorLog* errorLog) {
    const HRESULT hr = IPersistPropertyBag_Load(bag, errorLog, GetPropertyMap());
    if (FAILED(hr)) return hr;
    std::optional<std::u16string> text;
    ReadBagText(bag, u"User ID", errorLog, text);
    if (text) CopyToField(text->c_str(), text->size(), userName, kCredentialChars);
    ReadBagText(bag, u"Password", errorLog, text);
    if (text) CopyToField(text->c_str(), text->size(), password, kCredentialChars);
    if (m_hWnd != nullptr) {
        GotoDlgCtrl(GetDlgItem(kIdcConnectionUserName));
        // Setting an edit's text reports a change that reads it back: keep our own copies.
        const std::u16string user(userName);
        const std::u16string pass(password);
        SetDlgItemText(kIdcConnectionUserName, user.c_str());
        SetDlgItemText(kIdcConnectionPassword, pass.c_str());
    }
    return hr;
}

HRESULT PropertiesConnectDlg::SaveToBag(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) {
    if (bag == nullptr) return E_POINTER;
    HRESULT hr = WriteBagText(bag, u"User ID", userName);
    if (FAILED(hr)) return hr;
    hr = WriteBagText(bag, u"Password", password);
    if (FAILED(hr)) return hr;
    VARIANT persist;
    VariantInit(&persist);
    persist.vt = VT_BOOL;
    persist.boolVal = VARIANT_TRUE;
    hr = bag->Write(u"Persist Security Info", &persist);
    if (FAILED(hr)) return hr;
    return IPersistPropertyBag_Save(bag, clearDirty, saveAll, GetPropertyMap());
}
