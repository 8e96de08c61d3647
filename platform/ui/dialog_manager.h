// The dialog manager of libcomui.so: creates dialogs from templates, delivers messages to dialog
// procedures and controls, and acts on user input as the platform's dialog manager does.
#pragma once

#include "window_object.h"

class DialogManager {
  public:
    static HWND Create(const DialogTemplate* dialogTemplate, HWND parent, DialogMessageProc proc,
                       void* context, LPARAM initParam, bool modal);
    static INT_PTR RunModal(const DialogTemplate* dialogTemplate, HWND parent,
                            DialogMessageProc proc, void* context, LPARAM initParam);
    static LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static bool Destroy(HWND handle);
    static bool SetFocusTo(HWND handle, HWND* previous);

    // User input, as the hosts deliver it.
    static bool Click(HWND control);
    static bool TypeText(HWND edit, const std::u16string& text);
    static bool PressKey(HWND dialog, UINT virtualKey);

    static HWND FindChild(const WindowObject& dialog, int id);
    static HWND NextTabStop(const WindowObject& dialog, HWND from, bool backward);
    static RECT ScreenRect(const WindowObject& window);
    static void TemplateBaseUnits(const DialogTemplate& dialogTemplate, int* x, int* y);

  private:
    static LRESULT DefaultDialogMessage(const WindowPtr& dialog, UINT message, WPARAM wParam,
                                        LPARAM lParam);
    static LRESULT ControlMessage(const WindowPtr& control, UINT message, WPARAM wParam,
                                  LPARAM lParam);
    static void NotifyParent(const WindowObject& control, WORD code);
    static void UncheckRadioGroup(const WindowObject& clicked);
};

// Copies text into a caller's buffer of cchMax characters with its terminator, cutting what does
// not fit; returns the characters copied.
int CopyTextOut(const std::u16string& text, LPWSTR buffer, long long cchMax);
