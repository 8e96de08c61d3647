// PropertiesConnectDlg: the "Connection" property page for the user name and password, which it
// exchanges with the host through IPersistPropertyBag.
#pragma once

#include "atl_com.h"
#include "atl_ui.h"
#include "provider/connection_settings.h"
#include "provider/zelmo_guids.h"
#include "resources/resource_ids.h"

class PropertiesConnectDlg : public CComObjectRootEx<CComSingleThreadModel>,
                             public CComCoClass<PropertiesConnectDlg, &CLSID_ZelmoConnectionDlg>,
                             public IPropertyPageImpl<PropertiesConnectDlg>,
                             public IPersistPropertyBagImpl<PropertiesConnectDlg>,
                             public CDialogImpl<PropertiesConnectDlg, CWindow> {
  public:
    enum { IDD = kIddConnectionPage };

    PropertiesConnectDlg();

    DECLARE_REGISTRY_RESOURCEID(kIdrZelmoConnectionPage)

    BEGIN_COM_MAP(PropertiesConnectDlg)
    COM_INTERFACE_ENTRY(IPropertyPage)
    COM_INTERFACE_ENTRY(IPersistPropertyBag)
    COM_INTERFACE_ENTRY2(IPersist, IPersistPropertyBag)
    END_COM_MAP()

    // VT_LPWSTR: the framework transfers nothing for these; Load and Save do it all.
    BEGIN_PROP_MAP(PropertiesConnectDlg)
    PROP_DATA_ENTRY("User", userName, VT_LPWSTR)
    PROP_DATA_ENTRY("Password", password, VT_LPWSTR)
    END_PROP_MAP()

    BEGIN_MSG_MAP(PropertiesConnectDlg)
    CHAIN_MSG_MAP(IPropertyPageImpl<PropertiesConnectDlg>)
    COMMAND_HANDLER(kIdcConnectionUserName, EN_CHANGE, OnUserIdChanged)
    COMMAND_HANDLER(kIdcConnectionPassword, EN_CHANGE, OnPasswordChanged)
    END_MSG_MAP()

    LRESULT OnUserIdChanged(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnPasswordChanged(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);

    STDMETHOD(Apply)() override;
    STDMETHOD(Load)(IPropertyBag* pPropBag, IErrorLog* pErrorLog) override;
    STDMETHOD(Save)(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) override;

    WCHAR userName[kCredentialChars] = {};
    WCHAR password[kCredentialChars] = {};
    BOOL m_bRequiresSave = FALSE;

  private:
    HRESULT LoadFromBag(IPropertyBag* bag, IErrorLog* errorLog);
    HRESULT SaveToBag(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll);
};
