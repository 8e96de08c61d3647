// A terminal in the mode the terminal host needs: no echo, byte at a time. The saved settings
// come back when the session ends, and also when a signal ends the process meanwhile.
#pragma once

#include <string>

class TerminalSession {
  public:
    enum class Key { Byte, Enter, Escape, Erase, Kill, EndOfInput };

    explicit TerminalSession(const std::string& devicePath);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // False when there is no terminal to open or it is not a terminal.
    bool IsOpen() const { return fd_ >= 0; }
    void Write(const std::string& text);
    // Reads one key; a Byte key leaves its byte in *byte. Escape sequences of cursor keys and
    // the like are read whole and skipped.
    Key ReadKey(char* byte);

  private:
    int fd_ = -1;
    bool restore_ = false;
};
