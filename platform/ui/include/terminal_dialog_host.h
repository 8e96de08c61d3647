// The modal host that shows a dialog on the controlling terminal: the caption and labels as
// text, then one field at a time (hidden input for ES_PASSWORD edits, a numbered choice for
// radio buttons). Enter in the last field presses the default button; Escape or the end of
// input (Ctrl-D, a closed terminal) cancels. Without a terminal, or with COMUI_NO_TERMINAL set
// to a non-empty value in the environment, it cannot run the dialog.
#pragma once

#include <mutex>
#include <string>

#include "dialog_host.h"

class TerminalSession;

class COMUI_CLASS TerminalDialogHost : public DialogHost {
  public:
    explicit TerminalDialogHost(std::string devicePath = "/dev/tty");
    bool RunModal(HWND dialog) override;

  private:
    enum class LineEnd { Accepted, Cancelled, EndOfInput };
    LineEnd ReadLine(TerminalSession& session, std::string& text, bool hidden);
    bool RunRound(TerminalSession& session, HWND dialog, bool* endOfInput);

    std::string devicePath_;
    std::recursive_mutex mutex_;
    TerminalSession* session_ = nullptr;  // the open session while a dialog runs
};
