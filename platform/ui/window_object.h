// The state of one window of libcomui.so: a dialog or one of its controls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "win_ui.h"

enum class WindowKind { Dialog, Button, Edit, Static };

struct WindowObject {
    HWND handle = nullptr;
    HWND parent = nullptr;  // the owner of a top-level dialog, the parent of a child window
    WindowKind kind = WindowKind::Dialog;
    int id = 0;
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};  // in the parent's client coordinates, or the screen's for a top-level window
    UINT check = BST_UNCHECKED;
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    LONG_PTR userData = 0;
    UINT textLimit = 0;

    // Dialogs only.
    std::vector<HWND> children;  // controls in template (tab) order, then child dialogs
    HWND focus = nullptr;        // the control that had the focus last
    DialogMessageProc proc = nullptr;
    void* context = nullptr;
    int baseUnitX = 6;
    int baseUnitY = 13;
    int defaultId = IDOK;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    LONG_PTR msgResult = 0;
    LONG_PTR dialogUser = 0;

    bool IsDialog() const { return kind == WindowKind::Dialog; }
    DWORD ButtonType() const { return style & BS_TYPEMASK; }
    bool IsPushButton() const {
        return kind == WindowKind::Button &&
               (ButtonType() == BS_PUSHBUTTON || ButtonType() == BS_DEFPUSHBUTTON);
    }
    bool IsRadioButton() const {
        return kind == WindowKind::Button &&
               (ButtonType() == BS_RADIOBUTTON || ButtonType() == BS_AUTORADIOBUTTON);
    }
    bool IsCheckable() const {
        DWORD type = ButtonType();
        return kind == WindowKind::Button && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON &&
               type != BS_GROUPBOX && type != BS_USERBUTTON;
    }
    bool IsTabStop() const { return (style & WS_TABSTOP) != 0 && visible && enabled; }
};

using WindowPtr = std::shared_ptr<WindowObject>;
