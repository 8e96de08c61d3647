// The terminal session of the terminal host.
#include "terminal_session.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int kEscapeWaitMs = 40;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// What a signal handler needs to restore the terminal; set before the handlers go in.
int savedFd = -1;
struct termios savedSettings;
struct termios rawSettings;
struct sigaction previousActions[sizeof(kSignals) / sizeof(kSignals[0])];
struct sigaction previousStop;

void RestoreOnSignal(int signal) {
    if (savedFd >= 0) tcsetattr(savedFd, TCSANOW, &savedSettings);
    for (size_t i = 0; i < sizeof(kSignals) / sizeof(kSignals[0]); ++i) {
        if (kSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
    }
    raise(signal);
}

// Ctrl-Z: the shell gets its terminal back as it was, and the dialog its mode on SIGCONT.
void SuspendOnSignal(int) {
    int savedErrno = errno;
    if (savedFd >= 0) tcsetattr(savedFd, TCSANOW, &savedSettings);
    struct sigaction stop = {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTSTP, &stop, nullptr);
    sigset_t pending;
    sigemptyset(&pending);
    sigaddset(&pending, SIGTSTP);
    raise(SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &pending, nullptr);  // stops here until continued
    sigprocmask(SIG_BLOCK, &pending, nullptr);
    stop.sa_handler = SuspendOnSignal;
    sigaction(SIGTSTP, &stop, nullptr);
    if (savedFd >= 0) tcsetattr(savedFd, TCSANOW, &rawSettings);
    errno = savedErrno;
}

// Catches signal unless the process ignores it.
void Install(int signal, void (*handler)(int), struct sigaction* previous) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, previous);
    if (previous->sa_handler == SIG_IGN) sigaction(signal, previous, nullptr);
}

bool ReadByte(int fd, unsigned char* byte, int timeoutMs) {
    for (;;) {
        if (timeoutMs >= 0) {
            struct pollfd p = {fd, POLLIN, 0};
            int ready = poll(&p, 1, timeoutMs);
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return false;
        }
        ssize_t n = read(fd, byte, 1);
        if (n == 1) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

}  // namespace

TerminalSession::TerminalSession(const std::string& devicePath) {
    fd_ = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return;
    struct termios settings;
    if (tcgetattr(fd_, &settings) != 0) {
        close(fd_);
        fd_ = -1;
        return;
    }
    // Signals stay on, so that Ctrl-C still interrupts; the handlers put the settings back.
    struct termios raw = settings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (savedFd < 0) {
        savedSettings = settings;
        rawSettings = raw;
        savedFd = fd_;
        for (size_t i = 0; i < sizeof(kSignals) / sizeof(kSignals[0]); ++i) {
            Install(kSignals[i], RestoreOnSignal, &previousActions[i]);
        }
        Install(SIGTSTP, SuspendOnSignal, &previousStop);
        restore_ = true;
    }
    tcsetattr(fd_, TCSAFLUSH, &raw);
}

TerminalSession::~TerminalSession() {
    if (fd_ < 0) return;
    if (restore_) {
        tcsetattr(fd_, TCSAFLUSH, &savedSettings);
        for (size_t i = 0; i < sizeof(kSignals) / sizeof(kSignals[0]); ++i) {
            sigaction(kSignals[i], &previousActions[i], nullptr);
        }
        sigaction(SIGTSTP, &previousStop, nullptr);
        savedFd = -1;
    }
    close(fd_);
}

void TerminalSession::Write(const std::string& text) {
    size_t done = 0;
    while (fd_ >= 0 && done < text.size()) {
        ssize_t n = write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

TerminalSession::Key TerminalSession::ReadKey(char* byte) {
    unsigned char c = 0;
    if (fd_ < 0 || !ReadByte(fd_, &c, -1)) return Key::EndOfInput;
    switch (c) {
        case '\r':
        case '\n':
            return Key::Enter;
        case 0x04:
            return Key::EndOfInput;
        case 0x08:
        case 0x7F:
            return Key::Erase;
        case 0x15:
            return Key::Kill;
        case 0x1B: {
            unsigned char next = 0;
            if (!ReadByte(fd_, &next, kEscapeWaitMs)) return Key::Escape;
            if (next == '[' || next == 'O') {
                // A control sequence: parameters, then one final byte from 0x40 to 0x7E.
                unsigned char part = 0;
                while (ReadByte(fd_, &part, kEscapeWaitMs) && (part < 0x40 || part > 0x7E)) {
                }
                *byte = 0;
                return Key::Byte;
            }
            return Key::Escape;
        }
        default:
            *byte = static_cast<char>(c);
            return Key::Byte;
    }
}
