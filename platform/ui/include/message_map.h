// Message maps: BEGIN_MSG_MAP ... END_MSG_MAP define ProcessWindowMessage, which hands a
// message to the first entry that matches it and reports whether one handled it.
//   LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
//   LRESULT OnCommand(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
// A handler that clears bHandled lets the search go on to the next entries.
#pragma once

#include "win_ui.h"

#define BEGIN_MSG_MAP(theClass)                                                   \
  public:                                                                         \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, \
                              LRESULT& lResult, DWORD dwMsgMapID = 0) {           \
        BOOL bHandled = TRUE;                                                     \
        static_cast<void>(hWnd);                                                  \
        static_cast<void>(uMsg);                                                  \
        static_cast<void>(wParam);                                                \
        static_cast<void>(lParam);                                                \
        static_cast<void>(lResult);                                               \
        static_cast<void>(bHandled);                                              \
        switch (dwMsgMapID) {                                                     \
            case 0:

#define ALT_MSG_MAP(msgMapID) \
    break;                    \
    case msgMapID:

#define MESSAGE_HANDLER(msg, func)                      \
    if (uMsg == static_cast<UINT>(msg)) {               \
        bHandled = TRUE;                                \
        lResult = func(uMsg, wParam, lParam, bHandled); \
        if (bHandled) return TRUE;                      \
    }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)                               \
    if (uMsg >= static_cast<UINT>(msgFirst) && uMsg <= static_cast<UINT>(msgLast)) { \
        bHandled = TRUE;                                                             \
        lResult = func(uMsg, wParam, lParam, bHandled);                              \
        if (bHandled) return TRUE;                                                   \
    }

#define ZELMO_COMMAND_MATCHES(idTest, codeTest) (uMsg == WM_COMMAND && (idTest) && (codeTest))

#define ZELMO_CALL_COMMAND_HANDLER(func)                                                          \
    {                                                                                             \
        bHandled = TRUE;                                                                          \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE;                                                                \
    }

#define COMMAND_HANDLER(id, code, func)                                   \
    if (ZELMO_COMMAND_MATCHES(LOWORD(wParam) == static_cast<WORD>(id),    \
                              HIWORD(wParam) == static_cast<WORD>(code))) \
    ZELMO_CALL_COMMAND_HANDLER(func)

#define COMMAND_ID_HANDLER(id, func)                                          \
    if (ZELMO_COMMAND_MATCHES(LOWORD(wParam) == static_cast<WORD>(id), true)) \
    ZELMO_CALL_COMMAND_HANDLER(func)

#define COMMAND_CODE_HANDLER(code, func)                                        \
    if (ZELMO_COMMAND_MATCHES(true, HIWORD(wParam) == static_cast<WORD>(code))) \
    ZELMO_CALL_COMMAND_HANDLER(func)

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                           \
    if (ZELMO_COMMAND_MATCHES(LOWORD(wParam) >= static_cast<WORD>(idFirst) &&  \
                                  LOWORD(wParam) <= static_cast<WORD>(idLast), \
                              true))                                           \
    ZELMO_CALL_COMMAND_HANDLER(func)

#define CHAIN_MSG_MAP(theChainClass)                                                \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) { \
        return TRUE;                                                                \
    }

#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                          \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) { \
        return TRUE;                                                                  \
    }

#define END_MSG_MAP() \
    break;            \
    default:          \
        break;        \
        }             \
        return FALSE; \
        }

#define DECLARE_EMPTY_MSG_MAP() \
  public:                       \
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD = 0) { return FALSE; }
