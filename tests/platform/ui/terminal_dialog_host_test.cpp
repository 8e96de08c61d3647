// The terminal host under a pseudo-terminal: a child process runs the dialog on its controlling
// terminal while the test types into the terminal's other end and reads what it shows.
#include "terminal_dialog_host.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <string>

#include "test_dialogs.h"

namespace {

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += static_cast<char>(c < 0x80 ? c : '?');
    return out;
}

// What the child reports through a pipe: the modal result, then the texts it cares about.
using DialogRun = std::function<std::string()>;

class TerminalChild {
  public:
    // Starts run in a child whose controlling terminal is a new pseudo-terminal.
    explicit TerminalChild(const DialogRun& run) {
        int report[2];
        if (pipe(report) != 0) return;
        pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            close(report[0]);
            std::string result = run();
            ssize_t written = write(report[1], result.data(), result.size());
            _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 3);
        }
        close(report[1]);
        report_ = report[0];
    }
    ~TerminalChild() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
        if (report_ >= 0) close(report_);
    }

    bool Started() const { return pid_ > 0 && master_ >= 0; }

    // Reads the terminal until its output holds text; false after a few seconds without it.
    bool WaitFor(const std::string& text) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (screen.find(text, scanned_) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            ReadSome(100);
        }
        scanned_ = screen.find(text, scanned_) + text.size();
        return true;
    }
    void Type(const std::string& keys) {
        ssize_t written = write(master_, keys.data(), keys.size());
        EXPECT_EQ(written, static_cast<ssize_t>(keys.size()));
    }
    // Waits for the child to end; returns its report and keeps the rest of its output.
    std::string Finish(int* status) {
        std::string result;
        char buffer[4096];
        for (;;) {
            ssize_t n = read(report_, buffer, sizeof(buffer));
            if (n <= 0) break;
            result.append(buffer, static_cast<size_t>(n));
        }
        while (ReadSome(50)) {
        }
        waitpid(pid_, status, 0);
        pid_ = -1;
        return result;
    }
    bool Echoing() const {
        struct termios settings;
        return tcgetattr(master_, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    }
    pid_t Pid() const { return pid_; }

    std::string screen;

  private:
    bool ReadSome(int timeoutMs) {
        struct pollfd p = {master_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return false;
        char buffer[4096];
        ssize_t n = read(master_, buffer, sizeof(buffer));
        if (n <= 0) return false;
        screen.append(buffer, static_cast<size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int master_ = -1;
    int report_ = -1;
    size_t scanned_ = 0;
};

std::string RunLogin(const std::u16string& user, const std::u16string& password) {
    TerminalDialogHost host;
    HostScope scope(&host);
    WCHAR userBuffer[256] = {};
    WCHAR passwordBuffer[256] = {};
    user.copy(userBuffer, 255);
    password.copy(passwordBuffer, 255);
    LoginDialog dialog(userBuffer, passwordBuffer);
    INT_PTR result = dialog.DoModalIndirect(&kLoginTemplate);
    struct termios settings;
    bool echo = tcgetattr(STDIN_FILENO, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    return std::to_string(result) + "|" + Narrow(userBuffer) + "|" + Narrow(passwordBuffer) + "|" +
           (echo ? "echo" : "noecho");
}

TEST(TerminalDialogHostTest, TypedUserAndHiddenPasswordEndWithOk) {
    TerminalChild child([] { return RunLogin(u"", u""); });
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitFor("Tavro Cloud Login")) << child.screen;
    ASSERT_TRUE(child.WaitFor("Credentials:")) << child.screen;
    ASSERT_TRUE(child.WaitFor("User name:")) << child.screen;
    EXPECT_FALSE(child.Echoing());
    child.Type("bob\r");
    ASSERT_TRUE(child.WaitFor("Password:")) << child.screen;
    child.Type("s3cr\x7f");
    child.Type("cret\r");
    int status = 0;
    EXPECT_EQ(child.Finish(&status), "1|bob|s3ccret|echo");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(child.screen.find("bob"), std::string::npos);
    EXPECT_EQ(child.screen.find("s3c"), std::string::npos) << child.screen;
    EXPECT_EQ(child.screen.find("cret"), std::string::npos) << child.screen;
}

TEST(TerminalDialogHostTest, HeldUserNameIsShownAndEditable) {
    TerminalChild child([] { return RunLogin(u"alice", u"old"); });
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitFor("User name: alice")) << child.screen;
    child.Type(std::string(5, '\x7f') + "carol\r");
    ASSERT_TRUE(child.WaitFor("Password:")) << child.screen;
    child.Type("\r");  // an untouched password keeps its text
    int status = 0;
    EXPECT_EQ(child.Finish(&status), "1|carol|old|echo");
    EXPECT_EQ(child.screen.find("old"), std::string::npos);
}

TEST(TerminalDialogHostTest, TypedTextIsUtf8AndErasedByCharacter) {
    TerminalChild child([] { return RunLogin(u"", u""); });
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitFor("User name:")) << child.screen;
    child.Type("zo\xc3\xab\x7f\x7f\xc3\xa9\r");  // "zoë", two erasures, "é"
    ASSERT_TRUE(child.WaitFor("Password:")) << child.screen;
    child.Type("\r");
    int status = 0;
    EXPECT_EQ(child.Finish(&status), "1|z?||echo");
}

// Ends with the id of whichever button is clicked.
class ButtonsDialog : public CDialogImpl<ButtonsDialog> {
  public:
    enum { IDD = 1 };
    BEGIN_MSG_MAP(ButtonsDialog)
    COMMAND_CODE_HANDLER(BN_CLICKED, OnClicked)
    END_MSG_MAP()
    LRESULT OnClicked(WORD, WORD wID, HWND, BOOL&) {
        EndDialog(wID);
        return 0;
    }
};

constexpr DialogControlTemplate kButtonsControls[] = {
    {IDC_STATIC, DialogControlClass::Static, u"Nothing to fill in.", 5, 5, 100, 8, SS_LEFT},
    {IDOK, DialogControlClass::Button, u"OK", 5, 20, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, DialogControlClass::Button, u"Cancel", 60, 20, 50, 14, WS_TABSTOP},
    {IDHELP, DialogControlClass::Button, u"&Help", 115, 20, 50, 14, WS_TABSTOP},
};
constexpr DialogTemplate kButtonsTemplate = {
    u"Buttons",
    u"MS Shell Dlg",
    8,
    0,
    0,
    170,
    40,
    WS_POPUP | WS_CAPTION,
    kButtonsControls,
    sizeof(kButtonsControls) / sizeof(kButtonsControls[0])};

TEST(TerminalDialogHostTest, OtherButtonsAreOfferedByNumber) {
    for (const char* keys : {"1\r", "\r"}) {
        TerminalChild child([] {
            TerminalDialogHost host;
            HostScope scope(&host);
            ButtonsDialog dialog;
            return std::to_string(dialog.DoModalIndirect(&kButtonsTemplate));
        });
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(child.WaitFor("Nothing to fill in.")) << child.screen;
        ASSERT_TRUE(child.WaitFor("Enter: OK, Esc: Cancel, 1: Help")) << child.screen;
        child.Type(keys);
        int status = 0;
        EXPECT_EQ(child.Finish(&status), keys[0] == '1' ? "9" : "1");
    }
}

TEST(TerminalDialogHostTest, EscapeAndEndOfInputCancel) {
    for (const char* key : {"\x1b", "\x04"}) {
        TerminalChild child([] { return RunLogin(u"keep", u""); });
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(child.WaitFor("User name:")) << child.screen;
        child.Type(std::string("xyz") + key);
        int status = 0;
        EXPECT_EQ(child.Finish(&status), "2|keep||echo") << int(key[0]);
    }
}

TEST(TerminalDialogHostTest, RadioGroupIsANumberedChoice) {
    TerminalChild child([] {
        TerminalDialogHost host;
        HostScope scope(&host);
        OptionsDialog dialog;
        INT_PTR result = dialog.DoModalIndirect(&kOptionsTemplate);
        return std::to_string(result) + "|" + std::to_string(dialog.option);
    });
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitFor("Member display options")) << child.screen;
    ASSERT_TRUE(child.WaitFor("1) ( ) Use member name")) << child.screen;
    ASSERT_TRUE(child.WaitFor("3) (*) Use both member name and alias")) << child.screen;
    ASSERT_TRUE(child.WaitFor("Choice [3]:")) << child.screen;
    child.Type("9\r");  // out of range: asked again
    ASSERT_TRUE(child.WaitFor("Choice [3]:")) << child.screen;
    child.Type("2\r");
    int status = 0;
    EXPECT_EQ(child.Finish(&status), "1|1");
    // Statics on one row make one line; the mnemonic mark is not shown.
    EXPECT_NE(child.screen.find("Version: 1.0.1.1"), std::string::npos) << child.screen;
    EXPECT_NE(child.screen.find("Enter: OK"), std::string::npos) << child.screen;
}

TEST(TerminalDialogHostTest, SignalRestoresTheTerminal) {
    TerminalChild child([] { return RunLogin(u"", u""); });
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitFor("User name:")) << child.screen;
    EXPECT_FALSE(child.Echoing());
    kill(child.Pid(), SIGTERM);
    int status = 0;
    child.Finish(&status);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(child.Echoing());
}

TEST(TerminalDialogHostTest, NoTerminalFailsTheModalLoop) {
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setsid();  // a new session has no controlling terminal
        std::string result = RunLogin(u"keep", u"");
        ssize_t written = write(report[1], result.data(), result.size());
        _exit(written > 0 ? 0 : 3);
    }
    close(report[1]);
    char buffer[256];
    ssize_t n = read(report[0], buffer, sizeof(buffer));
    close(report[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_GT(n, 0);
    std::string result(buffer, static_cast<size_t>(n));
    EXPECT_EQ(result.substr(0, 8), "-1|keep|");
}

TEST(TerminalDialogHostTest, EnvironmentCanKeepDialogsOffTheTerminal) {
    TerminalChild child([] {
        setenv("COMUI_NO_TERMINAL", "1", 1);
        return RunLogin(u"keep", u"");
    });
    ASSERT_TRUE(child.Started());
    int status = 0;
    EXPECT_EQ(child.Finish(&status), "-1|keep||echo");
    EXPECT_EQ(child.screen.find("Tavro"), std::string::npos);
}

TEST(TerminalDialogHostTest, DeviceThatIsNotATerminalFails) {
    TerminalDialogHost host("/dev/null");
    HostScope scope(&host);
    WCHAR user[256] = {};
    WCHAR password[256] = {};
    LoginDialog dialog(user, password);
    EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), -1);
    TerminalDialogHost missing("/nonexistent/tty");
    SetDialogHost(&missing);
    EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), -1);
}

}  // namespace
