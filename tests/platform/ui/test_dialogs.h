// Dialog templates and dialog classes the dialog-layer tests share: a login dialog shaped like
// the provider's credentials prompt and an options dialog with a radio group.
#pragma once

#include <string>
#include <vector>

#include "dialog_host.h"
#include "dialog_impl.h"

constexpr int kUserEdit = 209;
constexpr int kPasswordEdit = 210;

inline constexpr DialogControlTemplate kLoginControls[] = {
    {IDOK, DialogControlClass::Button, u"OK", 91, 68, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, DialogControlClass::Button, u"Cancel", 145, 68, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {kUserEdit, DialogControlClass::Edit, nullptr, 56, 24, 139, 14,
     WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {kPasswordEdit, DialogControlClass::Edit, nullptr, 56, 47, 139, 14,
     WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD},
    {IDC_STATIC, DialogControlClass::Static, u"User name:", 11, 26, 38, 8, SS_LEFT},
    {IDC_STATIC, DialogControlClass::Static, u"Password:", 11, 48, 34, 8, SS_LEFT},
    {IDC_STATIC, DialogControlClass::Button, u"Credentials:", 4, 6, 197, 81, BS_GROUPBOX},
};

inline constexpr DialogTemplate kLoginTemplate = {
    u"Tavro Cloud Login",
    u"MS Shell Dlg",
    8,
    0,
    0,
    204,
    90,
    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    kLoginControls,
    sizeof(kLoginControls) / sizeof(kLoginControls[0])};

constexpr int kNameRadio = 218;
constexpr int kAliasRadio = 216;
constexpr int kBothRadio = 217;
constexpr int kVersionStatic = 215;

inline constexpr DialogControlTemplate kOptionsControls[] = {
    {IDC_STATIC, DialogControlClass::Static, u"Version:", 155, 202, 34, 8, SS_LEFT | WS_GROUP},
    {kVersionStatic, DialogControlClass::Static, u"Static", 192, 202, 35, 8, SS_LEFT | WS_GROUP},
    {kNameRadio, DialogControlClass::Button, u"Use member name", 26, 30, 75, 10,
     BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
    {kAliasRadio, DialogControlClass::Button, u"Prefer member alias when available", 26, 48, 129,
     10, BS_AUTORADIOBUTTON},
    {kBothRadio, DialogControlClass::Button, u"Use both member name and alias", 26, 66, 121, 10,
     BS_AUTORADIOBUTTON},
    {IDC_STATIC, DialogControlClass::Button, u" Member display options ", 11, 11, 210, 79,
     BS_GROUPBOX | WS_GROUP},
    {IDOK, DialogControlClass::Button, u"&OK", 120, 100, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, DialogControlClass::Button, u"Cancel", 175, 100, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};

inline constexpr DialogTemplate kOptionsTemplate = {
    u"Options",
    u"MS Shell Dlg",
    8,
    0,
    0,
    233,
    216,
    DS_MODALFRAME | WS_POPUP | WS_CAPTION,
    kOptionsControls,
    sizeof(kOptionsControls) / sizeof(kOptionsControls[0])};

// Edits the caller's buffers in place, as the provider's credentials prompt does.
class LoginDialog : public CDialogImpl<LoginDialog> {
  public:
    enum { IDD = 207 };

    LoginDialog(WCHAR* user, WCHAR* password) : user_(user), password_(password) {}

    BEGIN_MSG_MAP(LoginDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
    COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnCancel)
    COMMAND_CODE_HANDLER(EN_CHANGE, OnChange)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
        initParam = lParam;
        firstTabStop = reinterpret_cast<HWND>(wParam);
        CenterWindow(GetParent());
        SetDlgItemText(kUserEdit, user_);
        SetDlgItemText(kPasswordEdit, password_);
        GotoDlgCtrl(GetDlgItem(kUserEdit));
        return FALSE;
    }
    LRESULT OnOK(WORD, WORD wID, HWND, BOOL&) {
        GetDlgItemText(kUserEdit, user_, 255);
        GetDlgItemText(kPasswordEdit, password_, 255);
        EndDialog(wID);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD wID, HWND, BOOL&) {
        EndDialog(wID);
        return 0;
    }
    LRESULT OnChange(WORD, WORD wID, HWND hWndCtl, BOOL&) {
        changes.push_back(wID);
        changeSenders.push_back(hWndCtl);
        return 0;
    }

    LPARAM initParam = 0;
    HWND firstTabStop = nullptr;
    std::vector<int> changes;
    std::vector<HWND> changeSenders;

  private:
    WCHAR* user_;
    WCHAR* password_;
};

// Keeps a member display option in step with a radio group.
class OptionsDialog : public CDialogImpl<OptionsDialog> {
  public:
    enum { IDD = 340 };

    BEGIN_MSG_MAP(OptionsDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(kAliasRadio, BN_CLICKED, OnAlias)
    COMMAND_HANDLER(kBothRadio, BN_CLICKED, OnBoth)
    COMMAND_HANDLER(kNameRadio, BN_CLICKED, OnName)
    COMMAND_ID_HANDLER(IDOK, OnEnd)
    COMMAND_ID_HANDLER(IDCANCEL, OnEnd)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        CheckDlgButton(kNameRadio, option == 0 ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(kAliasRadio, option == 1 ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(kBothRadio, option == 2 ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemText(kVersionStatic, u"1.0.1.1");
        return 0;
    }
    LRESULT OnAlias(WORD, WORD, HWND, BOOL&) { return SetOption(1); }
    LRESULT OnBoth(WORD, WORD, HWND, BOOL&) { return SetOption(2); }
    LRESULT OnName(WORD, WORD, HWND, BOOL&) { return SetOption(0); }
    LRESULT OnEnd(WORD, WORD wID, HWND, BOOL&) {
        EndDialog(wID);
        return 0;
    }

    int option = 2;
    int clicks = 0;

  private:
    LRESULT SetOption(int value) {
        option = value;
        ++clicks;
        return 0;
    }
};

// Installs a host for one test and puts the previous one back.
class HostScope {
  public:
    explicit HostScope(DialogHost* host) : previous_(SetDialogHost(host)) {}
    ~HostScope() { SetDialogHost(previous_); }
    HostScope(const HostScope&) = delete;
    HostScope& operator=(const HostScope&) = delete;

  private:
    DialogHost* previous_;
};
