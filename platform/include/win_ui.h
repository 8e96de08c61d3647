// Windows and dialogs of the platform stand-in: messages, notification codes and styles with their
// published values, dialog templates as data, and the window functions exported by libcomui.so.
#pragma once

#include "com_base.h"
#include "module_resources.h"

#define COMUI_API extern "C" __attribute__((visibility("default")))

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_NEXTDLGCTL = 0x0028;
constexpr UINT WM_STYLECHANGING = 0x007C;
constexpr UINT WM_STYLECHANGED = 0x007D;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_USER = 0x0400;
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;

// Button and edit messages.
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;

// Notification codes carried in the high word of WM_COMMAND's wParam.
constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_MAXTEXT = 0x0501;

// Check states.
constexpr UINT BST_UNCHECKED = 0x0000;
constexpr UINT BST_CHECKED = 0x0001;
constexpr UINT BST_INDETERMINATE = 0x0002;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;

// Dialog styles.
constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_SYSMODAL = 0x0002;
constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_NOFAILCREATE = 0x0010;
constexpr DWORD DS_LOCALEDIT = 0x0020;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_NOIDLEMSG = 0x0100;
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_CENTERMOUSE = 0x1000;
constexpr DWORD DS_CONTEXTHELP = 0x2000;
constexpr DWORD DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// Edit styles.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;

// Button styles.
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_3STATE = 0x0005;
constexpr DWORD BS_AUTO3STATE = 0x0006;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_USERBUTTON = 0x0008;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_LEFTTEXT = 0x0020;

// Static styles.
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_SIMPLE = 0x000B;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOPREFIX = 0x0080;

// Dialog box command ids.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDCLOSE = 8;
constexpr int IDHELP = 9;
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;

// Window data offsets of GetWindowLongPtrW.
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_ID = -12;
constexpr int GWLP_USERDATA = -21;
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_USER = 16;

// Virtual keys the dialog manager acts on.
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

#define MAKELONG(a, b)                                            \
    (static_cast<LONG>(static_cast<DWORD>(static_cast<WORD>(a)) | \
                       (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))

// Dialog templates are data: a module's resource table holds them under RT_DIALOG (type id 5),
// each resource's data pointing at a DialogTemplate. Coordinates are dialog units.
enum class DialogControlClass : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };

struct DialogControlTemplate {
    int id;  // IDC_STATIC (-1) for controls never addressed
    DialogControlClass controlClass;
    const WCHAR* text;  // null for none
    short x;
    short y;
    short cx;
    short cy;
    DWORD style;  // controls are always visible children, as the resource compiler makes them
};

struct DialogTemplate {
    const WCHAR* caption;
    const WCHAR* fontName;
    WORD fontSize;  // points
    short x;
    short y;
    short cx;
    short cy;
    DWORD style;
    const DialogControlTemplate* controls;
    UINT controlCount;
};

// The dialog procedure of a dialog created from a template: returns TRUE when it handled the
// message and then stores the message result in *result. For WM_INITDIALOG the result is TRUE
// when the dialog manager is to give the focus to the first tab stop.
using DialogMessageProc = BOOL (*)(void* context, HWND hWnd, UINT uMsg, WPARAM wParam,
                                   LPARAM lParam, LRESULT* result);

// Creates a dialog (modeless, or a child dialog when the template has WS_CHILD) and sends it
// WM_INITDIALOG with initParam; null when the template or the parent is unusable.
COMUI_API HWND CreateDialogFromTemplate(const DialogTemplate* dialogTemplate, HWND hWndParent,
                                        DialogMessageProc proc, void* context, LPARAM initParam);
// Runs a dialog modally on the current dialog host and destroys it; returns the EndDialog
// result, or -1 when the dialog cannot be created or the host cannot run it.
COMUI_API INT_PTR DialogBoxFromTemplate(const DialogTemplate* dialogTemplate, HWND hWndParent,
                                        DialogMessageProc proc, void* context, LPARAM initParam);
// Replaces a dialog's procedure; a null proc stops all further calls into the old one.
COMUI_API BOOL SetDialogMessageProc(HWND hDlg, DialogMessageProc proc, void* context);

// Win32 window functions over the windows of libcomui.so.
COMUI_API LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
COMUI_API BOOL IsWindow(HWND hWnd);
COMUI_API BOOL DestroyWindow(HWND hWnd);
COMUI_API BOOL EndDialog(HWND hDlg, INT_PTR nResult);
COMUI_API HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
COMUI_API int GetDlgCtrlID(HWND hWnd);
COMUI_API UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
COMUI_API BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
COMUI_API BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
COMUI_API UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
COMUI_API BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton,
                                int nIDCheckButton);
COMUI_API int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
COMUI_API int GetWindowTextLengthW(HWND hWnd);
COMUI_API BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
COMUI_API int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
COMUI_API LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex);
COMUI_API LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
COMUI_API HWND GetParent(HWND hWnd);
COMUI_API HWND SetFocus(HWND hWnd);
COMUI_API HWND GetFocus();
COMUI_API BOOL ShowWindow(HWND hWnd, int nCmdShow);
COMUI_API BOOL IsWindowVisible(HWND hWnd);
COMUI_API BOOL EnableWindow(HWND hWnd, BOOL bEnable);
COMUI_API BOOL IsWindowEnabled(HWND hWnd);
COMUI_API BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
COMUI_API BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
COMUI_API BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
COMUI_API BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);
COMUI_API int GetSystemMetrics(int nIndex);
// The pixel size of a dialog made from the template, without creating it.
COMUI_API BOOL GetDialogTemplateSize(const DialogTemplate* dialogTemplate, SIZE* size);
