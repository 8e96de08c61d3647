// COM and Automation interfaces beyond IUnknown that the provider and its consumers use, with
// their published interface ids and slot order.
#pragma once

#include "com_base.h"

struct ITypeInfo;
struct ITypeLib;
struct DISPPARAMS;
struct EXCEPINFO;
using DISPID = LONG;

COMRT_GUID(IID_IDispatch, 0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
           0x46);
struct IDispatch : IUnknown {
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) = 0;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    STDMETHOD(GetIDsOfNames)
    (REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) = 0;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
};
COMRT_DECLARE_IID(IDispatch, IID_IDispatch);

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    PVOID pvReserved;
    HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};

COMRT_GUID(IID_IObjectWithSite, 0xFC4801A3, 0x2BA9, 0x11CF, 0xA2, 0x29, 0x00, 0xAA, 0x00, 0x3D,
           0x73, 0x52);
struct IObjectWithSite : IUnknown {
    STDMETHOD(SetSite)(IUnknown* pUnkSite) = 0;
    STDMETHOD(GetSite)(REFIID riid, void** ppvSite) = 0;
};
COMRT_DECLARE_IID(IObjectWithSite, IID_IObjectWithSite);

COMRT_GUID(IID_IServiceProvider, 0x6D5140C1, 0x7436, 0x11CE, 0x80, 0x34, 0x00, 0xAA, 0x00, 0x60,
           0x09, 0xFA);
struct IServiceProvider : IUnknown {
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) = 0;
};
COMRT_DECLARE_IID(IServiceProvider, IID_IServiceProvider);

COMRT_GUID(IID_ISupportErrorInfo, 0xDF0B3D60, 0x548F, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B,
           0xD1, 0x19);
struct ISupportErrorInfo : IUnknown {
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) = 0;
};
COMRT_DECLARE_IID(ISupportErrorInfo, IID_ISupportErrorInfo);

COMRT_GUID(IID_IErrorInfo, 0x1CF2B120, 0x547D, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1,
           0x19);
struct IErrorInfo : IUnknown {
    STDMETHOD(GetGUID)(GUID* pGUID) = 0;
    STDMETHOD(GetSource)(BSTR* pBstrSource) = 0;
    STDMETHOD(GetDescription)(BSTR* pBstrDescription) = 0;
    STDMETHOD(GetHelpFile)(BSTR* pBstrHelpFile) = 0;
    STDMETHOD(GetHelpContext)(DWORD* pdwHelpContext) = 0;
};
COMRT_DECLARE_IID(IErrorInfo, IID_IErrorInfo);

COMRT_GUID(IID_ICreateErrorInfo, 0x22F03340, 0x547D, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B,
           0xD1, 0x19);
struct ICreateErrorInfo : IUnknown {
    STDMETHOD(SetGUID)(REFGUID rguid) = 0;
    STDMETHOD(SetSource)(LPOLESTR szSource) = 0;
    STDMETHOD(SetDescription)(LPOLESTR szDescription) = 0;
    STDMETHOD(SetHelpFile)(LPOLESTR szHelpFile) = 0;
    STDMETHOD(SetHelpContext)(DWORD dwHelpContext) = 0;
};
COMRT_DECLARE_IID(ICreateErrorInfo, IID_ICreateErrorInfo);

COMRT_GUID(IID_IGlobalInterfaceTable, 0x00000146, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00,
           0x00, 0x00, 0x46);
struct IGlobalInterfaceTable : IUnknown {
    STDMETHOD(RegisterInterfaceInGlobal)(IUnknown* pUnk, REFIID riid, DWORD* pdwCookie) = 0;
    STDMETHOD(RevokeInterfaceFromGlobal)(DWORD dwCookie) = 0;
    STDMETHOD(GetInterfaceFromGlobal)(DWORD dwCookie, REFIID riid, void** ppv) = 0;
};
COMRT_DECLARE_IID(IGlobalInterfaceTable, IID_IGlobalInterfaceTable);

COMRT_GUID(IID_IPersist, 0x0000010C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
           0x46);
struct IPersist : IUnknown {
    STDMETHOD(GetClassID)(CLSID* pClassID) = 0;
};
COMRT_DECLARE_IID(IPersist, IID_IPersist);

COMRT_GUID(IID_IErrorLog, 0x3127CA40, 0x446E, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8,
           0x51);
struct IErrorLog : IUnknown {
    STDMETHOD(AddError)(LPCOLESTR pszPropName, EXCEPINFO* pExcepInfo) = 0;
};
COMRT_DECLARE_IID(IErrorLog, IID_IErrorLog);

COMRT_GUID(IID_IPropertyBag, 0x55272A00, 0x42CB, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8,
           0x51);
struct IPropertyBag : IUnknown {
    STDMETHOD(Read)(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) = 0;
    STDMETHOD(Write)(LPCOLESTR pszPropName, VARIANT* pVar) = 0;
};
COMRT_DECLARE_IID(IPropertyBag, IID_IPropertyBag);

COMRT_GUID(IID_IPersistPropertyBag, 0x37D84F60, 0x42CB, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B,
           0xB8, 0x51);
struct IPersistPropertyBag : IPersist {
    STDMETHOD(InitNew)() = 0;
    STDMETHOD(Load)(IPropertyBag* pPropBag, IErrorLog* pErrorLog) = 0;
    STDMETHOD(Save)(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) = 0;
};
COMRT_DECLARE_IID(IPersistPropertyBag, IID_IPersistPropertyBag);

// Property pages.
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
using LPMSG = MSG*;
using LPCRECT = const RECT*;

struct CAUUID {
    ULONG cElems;
    GUID* pElems;
};

struct PROPPAGEINFO {
    ULONG cb;
    LPOLESTR pszTitle;
    SIZE size;
    LPOLESTR pszDocString;
    LPOLESTR pszHelpFile;
    DWORD dwHelpContext;
};

constexpr DWORD PROPPAGESTATUS_DIRTY = 0x1;
constexpr DWORD PROPPAGESTATUS_VALIDATE = 0x2;
constexpr DWORD PROPPAGESTATUS_CLEAN = 0x4;

COMRT_GUID(IID_IPropertyPageSite, 0xB196B28C, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34,
           0x1D, 0x07);
struct IPropertyPageSite : IUnknown {
    STDMETHOD(OnStatusChange)(DWORD dwFlags) = 0;
    STDMETHOD(GetLocaleID)(LCID* pLocaleID) = 0;
    STDMETHOD(GetPageContainer)(IUnknown** ppUnk) = 0;
    STDMETHOD(TranslateAccelerator)(MSG* pMsg) = 0;
};
COMRT_DECLARE_IID(IPropertyPageSite, IID_IPropertyPageSite);

COMRT_GUID(IID_IPropertyPage, 0xB196B28D, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D,
           0x07);
struct IPropertyPage : IUnknown {
    STDMETHOD(SetPageSite)(IPropertyPageSite* pPageSite) = 0;
    STDMETHOD(Activate)(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
    STDMETHOD(Deactivate)() = 0;
    STDMETHOD(GetPageInfo)(PROPPAGEINFO* pPageInfo) = 0;
    STDMETHOD(SetObjects)(ULONG cObjects, IUnknown** ppUnk) = 0;
    STDMETHOD(Show)(UINT nCmdShow) = 0;
    STDMETHOD(Move)(LPCRECT pRect) = 0;
    STDMETHOD(IsPageDirty)() = 0;
    STDMETHOD(Apply)() = 0;
    STDMETHOD(Help)(LPCOLESTR pszHelpDir) = 0;
    STDMETHOD(TranslateAccelerator)(MSG* pMsg) = 0;
};
COMRT_DECLARE_IID(IPropertyPage, IID_IPropertyPage);

COMRT_GUID(IID_ISpecifyPropertyPages, 0xB196B28B, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00,
           0x34, 0x1D, 0x07);
struct ISpecifyPropertyPages : IUnknown {
    STDMETHOD(GetPages)(CAUUID* pPages) = 0;
};
COMRT_DECLARE_IID(ISpecifyPropertyPages, IID_ISpecifyPropertyPages);
