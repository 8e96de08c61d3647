// The advanced page: the member display option as radio buttons and as the "Data Source" text,
// and the provider's file version.
#include "provider/properties_advanced_dlg.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "provider/connection_settings.h"
#include "provider/page_text.h"

namespace {
constexpr DWORD kModulePathChars = 260;
}  // namespace

void FormatFileVersion(const VS_FIXEDFILEINFO& info, WCHAR* text, size_t textChars) {
    char narrow[64];
    std::snprintf(narrow, sizeof narrow, "%d.%d.%d.%d", HIWORD(info.dwFileVersionMS),
                  LOWORD(info.dwFileVersionMS), HIWORD(info.dwFileVersionLS),
                  LOWORD(info.dwFileVersionLS));
    std::u16string wide(narrow, narrow + std::char_traits<char>::length(narrow));
    CopyToField(wide.c_str(), wide.size(), text, textChars);
}

PropertiesAdvancedDlg::PropertiesAdvancedDlg() {
    m_dwTitleID = kIdsAdvancedTitle;
    m_dwHelpFileID = kIdsAdvancedHelpFile;
    m_dwDocStringID = kIdsAdvancedDocString;
}

LRESULT PropertiesAdvancedDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    UpdateRadioButtons();
    ShowVersion();
    return 0;
}

LRESULT PropertiesAdvancedDlg::OnPreferAlias(WORD, WORD, HWND, BOOL&) {
    SelectOption(1);
    return 0;
}

LRESULT PropertiesAdvancedDlg::OnUseBoth(WORD, WORD, HWND, BOOL&) {
    SelectOption(2);
    return 0;
}

LRESULT PropertiesAdvancedDlg::OnUseMemberName(WORD, WORD, HWND, BOOL&) {
    SelectOption(0);
    return 0;
}

void PropertiesAdvancedDlg::SelectOption(int option) {
    memberDisplayOption = option;
    UpdateRadioButtons();
    m_bRequiresSave = TRUE;
    m_bDirty = TRUE;
}

void PropertiesAdvancedDlg::UpdateRadioButtons() {
    if (m_hWnd == nullptr) return;
    CheckDlgButton(kIdcUseMemberName, memberDisplayOption == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kIdcPreferAlias, memberDisplayOption == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kIdcUseBoth, memberDisplayOption == 2 ? BST_CHECKED : BST_UNCHECKED);
}

void PropertiesAdvancedDlg::ShowVersion() {
    WCHAR path[kModulePathChars] = {};
    if (GetModuleFileNameW(_AtlBaseModule.GetModuleInstance(), path, kModulePathChars) == 0) return;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) return;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, handle, size, block.data())) return;
    void* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), u"\\", &fixed, &length) && fixed != nullptr &&
        length >= sizeof(VS_FIXEDFILEINFO))
        FormatFileVersion(*static_cast<const VS_FIXEDFILEINFO*>(fixed), versionText,
                          kVersionTextChars);
    if (m_hWnd != nullptr) SetDlgItemText(kIdcAdvancedVersion, versionText);
}

STDMETHODIMP PropertiesAdvancedDlg::Load(IPropertyBag* pPropBag, IErrorLog* pErrorLog) {
    return ComGuard([&]() -> HRESULT { return LoadFromBag(pPropBag, pErrorLog); });
}

STDMETHODIMP PropertiesAdvancedDlg::Save(IPropertyBag* pPropBag, BOOL fClearDirty,
                                         BOOL fSaveAllProperties) {
    return ComGuard(
        [&]() -> HRESULT { return SaveToBag(pPropBag, fClearDirty, fSaveAllProperties); });
}

HRESULT PropertiesAdvancedDlg::LoadFromBag(IPropertyBag* bag, IErrorLog* errorLog) {
    HRESULT hr = IPersistPropertyBag_Load(bag, errorLog, GetPropertyMap());
    if (FAILED(hr)) return hr;
    std::optional<std::u16string> text;
    hr = ReadBagText(bag, u"Data Source", errorLog, text);
    if (text && !text->empty()) memberDisplayOption = ParseLeadingInt(*text, memberDisplayOption);
    UpdateRadioButtons();
    return hr;
}

HRESULT PropertiesAdvancedDlg::SaveToBag(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) {
    if (bag == nullptr) return E_POINTER;
    char narrow[16];
    std::snprintf(narrow, sizeof narrow, "%d", memberDisplayOption);
    const std::u16string text(narrow, narrow + std::char_traits<char>::length(narrow));
    const HRESULT hr = WriteBagText(bag, u"Data Source", text.c_str());
    if (FAILED(hr)) return hr;
    return IPersistPropertyBag_Save(bag, clearDirty, saveAll, GetPropertyMap());
}
