// The dialog templates 207 (credentials prompt), 335 (connection page) and 340 (advanced page),
// in dialog units, controls in tab order.
#include "resources/dialog_templates.h"

#include "module_resource_table.h"
#include "resources/resource_ids.h"

namespace {

constexpr DialogControlClass kButton = DialogControlClass::Button;
constexpr DialogControlClass kEdit = DialogControlClass::Edit;
constexpr DialogControlClass kStatic = DialogControlClass::Static;

constexpr DWORD kEditStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kPageStyle = DS_SHELLFONT | DS_CONTROL | WS_CHILD;

const DialogControlTemplate kPromptControls[] = {
    {IDOK, kButton, u"OK", 91, 68, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, kButton, u"Cancel", 145, 68, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {kIdcPromptUserName, kEdit, nullptr, 56, 24, 139, 14, kEditStyle},
    {kIdcPromptPassword, kEdit, nullptr, 56, 47, 139, 14, kEditStyle | ES_PASSWORD},
    {IDC_STATIC, kStatic, u"User name:", 11, 26, 38, 8, SS_LEFT},
    {IDC_STATIC, kStatic, u"Password:", 11, 48, 34, 8, SS_LEFT},
    {IDC_STATIC, kButton, u"Credentials:", 4, 6, 197, 81, BS_GROUPBOX},
};

const DialogControlTemplate kConnectionControls[] = {
    {IDC_STATIC, kStatic, u"Tavro Cloud Login Information", 10, 9, 201, 14, SS_LEFT},
    {IDC_STATIC, kStatic, u"Email:", 20, 43, 20, 8, SS_LEFT},
    {IDC_STATIC, kStatic, u"Password:", 19, 64, 34, 8, SS_LEFT},
    {kIdcConnectionUserName, kEdit, nullptr, 67, 41, 144, 14, kEditStyle},
    {kIdcConnectionPassword, kEdit, nullptr, 67, 63, 144, 14, kEditStyle | ES_PASSWORD},
    {IDC_STATIC, kButton, u" Credentials: ", 7, 25, 216, 65, BS_GROUPBOX},
};

const DialogControlTemplate kAdvancedControls[] = {
    {IDC_STATIC, kStatic, u"Version:", 155, 202, 34, 8, SS_LEFT},
    {kIdcAdvancedVersion, kStatic, u"Static", 192, 202, 35, 8, SS_LEFT},
    {kIdcUseMemberName, kButton, u"Use member name", 26, 30, 75, 10, BS_AUTORADIOBUTTON},
    {kIdcPreferAlias, kButton, u"Prefer member alias when available", 26, 48, 129, 10,
     BS_AUTORADIOBUTTON},
    {kIdcUseBoth, kButton, u"Use both member name and alias", 26, 66, 121, 10, BS_AUTORADIOBUTTON},
    {IDC_STATIC, kButton, u" Member display options ", 11, 11, 210, 79, BS_GROUPBOX},
};

}  // namespace

const DialogTemplate kCredentialsPromptDialog = {
    u"Tavro Cloud Login",
    u"MS Shell Dlg",
    8,
    0,
    0,
    204,
    90,
    DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    kPromptControls,
    ComrtCountOf(kPromptControls)};

const DialogTemplate kConnectionPageDialog = {nullptr,
                                              u"MS Shell Dlg",
                                              8,
                                              0,
                                              0,
                                              230,
                                              174,
                                              kPageStyle,
                                              kConnectionControls,
                                              ComrtCountOf(kConnectionControls)};

const DialogTemplate kAdvancedPageDialog = {nullptr,
                                            u"MS Shell Dlg",
                                            8,
                                            0,
                                            0,
                                            233,
                                            216,
                                            kPageStyle,
                                            kAdvancedControls,
                                            ComrtCountOf(kAdvancedControls)};
