// PropertiesAdvancedDlg: the "Advanced" property page for the member display option, which it
// exchanges with the host through IPersistPropertyBag, and which shows the provider's version.
#pragma once

#include "atl_com.h"
#include "atl_ui.h"
#include "provider/zelmo_guids.h"
#include "resources/resource_ids.h"

constexpr size_t kVersionTextChars = 256;

// "%d.%d.%d.%d" of a fixed file information's file version, cut to fit text.
void FormatFileVersion(const VS_FIXEDFILEINFO& info, WCHAR* text, size_t textChars);

class PropertiesAdvancedDlg : public CComObjectRootEx<CComSingleThreadModel>,
                              public CComCoClass<PropertiesAdvancedDlg, &CLSID_ZelmoAdvancedDlg>,
                              public IPropertyPageImpl<PropertiesAdvancedDlg>,
                              public IPersistPropertyBagImpl<PropertiesAdvancedDlg>,
                              public CDialogImpl<PropertiesAdvancedDlg, CWindow> {
  public:
    enum { IDD = kIddAdvancedPage };

    PropertiesAdvancedDlg();

    DECLARE_REGISTRY_RESOURCEID(kIdrZelmoAdvancedPage)

    BEGIN_COM_MAP(PropertiesAdvancedDlg)
    COM_INTERFACE_ENTRY(IPropertyPage)
    COM_INTERFACE_ENTRY(IPersistPropertyBag)
    COM_INTERFACE_ENTRY2(IPersist, IPersistPropertyBag)
    END_COM_MAP()

    BEGIN_PROP_MAP(PropertiesAdvancedDlg)
    PROP_DATA_ENTRY("Prefer Member Alias", memberDisplayOption, VT_INT)
    END_PROP_MAP()

    BEGIN_MSG_MAP(PropertiesAdvancedDlg)
    CHAIN_MSG_MAP(IPropertyPageImpl<PropertiesAdvancedDlg>)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(kIdcPreferAlias, BN_CLICKED, OnPreferAlias)
    COMMAND_HANDLER(kIdcUseBoth, BN_CLICKED, OnUseBoth)
    COMMAND_HANDLER(kIdcUseMemberName, BN_CLICKED, OnUseMemberName)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnPreferAlias(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnUseBoth(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnUseMemberName(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);

    // Checks the radio button of the option (none for a value outside 0..2).
    void UpdateRadioButtons();
    // Puts the provider module's file version into static 215.
    void ShowVersion();

    STDMETHOD(Load)(IPropertyBag* pPropBag, IErrorLog* pErrorLog) override;
    STDMETHOD(Save)(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) override;

    WCHAR versionText[kVersionTextChars] = {};
    int memberDisplayOption = 2;
    BOOL m_bRequiresSave = FALSE;

  private:
    void SelectOption(int option);
    HRESULT LoadFromBag(IPropertyBag* bag, IErrorLog* errorLog);
    HRESULT SaveToBag(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll);
};
