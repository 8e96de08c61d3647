// The terminal modal host.
#include "terminal_dialog_host.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "dialog_manager.h"
#include "terminal_layout.h"
#include "terminal_session.h"
#include "utf_text.h"
#include "window_table.h"

namespace {

constexpr size_t kMaxLineBytes = 65536;
constexpr int kMaxRounds = 1000;

std::string Text(const std::u16string& text) { return comrt::Utf16ToUtf8(text); }

// Removes the last code point of UTF-8 text; false when it was empty.
bool PopUtf8CodePoint(std::string& text) {
    if (text.empty()) return false;
    size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.erase(end);
    return true;
}

std::u16string ControlText(HWND control) {
    WindowPtr window = WindowTable::Instance().Find(control);
    return window == nullptr ? std::u16string() : window->text;
}

std::string ButtonName(const WindowObject& dialog, int id, const char* fallback) {
    HWND button = DialogManager::FindChild(dialog, id);
    std::u16string text = TerminalLayout::DisplayText(ControlText(button));
    return text.empty() ? std::string(fallback) : Text(text);
}

}  // namespace

TerminalDialogHost::TerminalDialogHost(std::string devicePath)
    : devicePath_(std::move(devicePath)) {}

TerminalDialogHost::LineEnd TerminalDialogHost::ReadLine(TerminalSession& session,
                                                         std::string& text, bool hidden) {
    for (;;) {
        char byte = 0;
        switch (session.ReadKey(&byte)) {
            case TerminalSession::Key::Enter:
                session.Write("\n");
                return LineEnd::Accepted;
            case TerminalSession::Key::Escape:
                session.Write("\n");
                return LineEnd::Cancelled;
            case TerminalSession::Key::EndOfInput:
                session.Write("\n");
                return LineEnd::EndOfInput;
            case TerminalSession::Key::Erase:
                if (PopUtf8CodePoint(text) && !hidden) session.Write("\b \b");
                break;
            case TerminalSession::Key::Kill:
                while (PopUtf8CodePoint(text)) {
                    if (!hidden) session.Write("\b \b");
                }
                break;
            case TerminalSession::Key::Byte:
                if (static_cast<unsigned char>(byte) < 0x20 || text.size() >= kMaxLineBytes) break;
                text += byte;
                if (!hidden) session.Write(std::string(1, byte));
                break;
        }
    }
}

bool TerminalDialogHost::RunRound(TerminalSession& session, HWND dialog, bool* endOfInput) {
    WindowPtr window = WindowTable::Instance().Find(dialog);
    if (window == nullptr) return false;
    std::string okName = ButtonName(*window, window->defaultId, "OK");
    std::string cancelName = ButtonName(*window, IDCANCEL, "Cancel");
    session.Write("\n== " + Text(TerminalLayout::DisplayText(window->text)) +
                  " ==\n(Enter: " + okName + ", Esc: " + cancelName + ")\n");
    std::vector<TerminalItem> items = TerminalLayout::Build(*window);
    std::vector<HWND> extraButtons;
    auto cancel = [&](LineEnd end) {
        if (end == LineEnd::EndOfInput) *endOfInput = true;
        DialogManager::PressKey(dialog, VK_ESCAPE);
        return false;
    };
    for (const TerminalItem& item : items) {
        if (IsDialogEnded(dialog)) return true;
        switch (item.kind) {
            case TerminalItem::Kind::Text:
                session.Write(Text(item.text) + "\n");
                break;
            case TerminalItem::Kind::Edit: {
                HWND edit = item.controls.front();
                DialogManager::SetFocusTo(edit, nullptr);
                std::u16string before = ControlText(edit);
                std::string line = item.hidden ? std::string() : Text(before);
                session.Write(Text(item.text.empty() ? u"Text:" : item.text) + " " + line);
                LineEnd end = ReadLine(session, line, item.hidden);
                if (end != LineEnd::Accepted) return cancel(end);
                // An untouched password keeps its text: it was never shown, so never edited.
                if (item.hidden && line.empty()) break;
                std::u16string typed = comrt::Utf8ToUtf16(line);
                if (typed != before) DialogManager::TypeText(edit, typed);
                break;
            }
            case TerminalItem::Kind::RadioGroup: {
                size_t current = 0;
                for (size_t i = 0; i < item.controls.size(); ++i) {
                    WindowPtr radio = WindowTable::Instance().Find(item.controls[i]);
                    bool checked = radio != nullptr && radio->check == BST_CHECKED;
                    if (checked) current = i + 1;
                    session.Write(
                        "  " + std::to_string(i + 1) + ") (" + (checked ? "*" : " ") + ") " +
                        Text(TerminalLayout::DisplayText(ControlText(item.controls[i]))) + "\n");
                }
                for (;;) {
                    session.Write("Choice" +
                                  (current != 0 ? " [" + std::to_string(current) + "]" : "") +
                                  ": ");
                    std::string line;
                    LineEnd end = ReadLine(session, line, false);
                    if (end != LineEnd::Accepted) return cancel(end);
                    if (line.empty()) break;
                    size_t choice =
                        line.size() < 6 && line.find_first_not_of("0123456789") == std::string::npos
                            ? std::stoul(line)
                            : 0;
                    if (choice >= 1 && choice <= item.controls.size()) {
                        DialogManager::Click(item.controls[choice - 1]);
                        break;
                    }
                }
                break;
            }
            case TerminalItem::Kind::CheckBox: {
                WindowPtr box = WindowTable::Instance().Find(item.controls.front());
                bool checked = box != nullptr && box->check == BST_CHECKED;
                session.Write("[" + std::string(checked ? "x" : " ") + "] " + Text(item.text) +
                              " (y/n) [" + (checked ? "y" : "n") + "]: ");
                std::string line;
                LineEnd end = ReadLine(session, line, false);
                if (end != LineEnd::Accepted) return cancel(end);
                bool wanted = line.empty() ? checked : (line[0] == 'y' || line[0] == 'Y');
                if (wanted != checked) DialogManager::Click(item.controls.front());
                break;
            }
            case TerminalItem::Kind::Button: {
                int id = GetDlgCtrlID(item.controls.front());
                if (id != window->defaultId && id != IDCANCEL) {
                    extraButtons.push_back(item.controls.front());
                }
                break;
            }
        }
    }
    if (IsDialogEnded(dialog)) return true;
    bool hasFields = std::any_of(items.begin(), items.end(), [](const TerminalItem& i) {
        return i.kind != TerminalItem::Kind::Text && i.kind != TerminalItem::Kind::Button;
    });
    if (!extraButtons.empty() || !hasFields) {
        std::string menu = "Enter: " + okName + ", Esc: " + cancelName;
        for (size_t i = 0; i < extraButtons.size(); ++i) {
            menu += ", " + std::to_string(i + 1) + ": " +
                    Text(TerminalLayout::DisplayText(ControlText(extraButtons[i])));
        }
        session.Write(menu + " ");
        std::string line;
        LineEnd end = ReadLine(session, line, false);
        if (end != LineEnd::Accepted) return cancel(end);
        if (!line.empty()) {
            size_t choice =
                line.size() < 6 && line.find_first_not_of("0123456789") == std::string::npos
                    ? std::stoul(line)
                    : 0;
            if (choice >= 1 && choice <= extraButtons.size()) {
                DialogManager::Click(extraButtons[choice - 1]);
            }
            return true;
        }
    }
    DialogManager::PressKey(dialog, VK_RETURN);
    return true;
}

bool TerminalDialogHost::RunModal(HWND dialog) {
    // Lets a script or a test run keep dialogs off a terminal it happens to have.
    const char* disabled = std::getenv("COMUI_NO_TERMINAL");
    if (disabled != nullptr && *disabled != 0) return false;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::unique_ptr<TerminalSession> own;
    TerminalSession* session = session_;
    if (session == nullptr) {
        own = std::make_unique<TerminalSession>(devicePath_);
        if (!own->IsOpen()) return false;
        session = own.get();
        session_ = session;
    }
    struct SessionReset {
        TerminalSession*& current;
        bool owned;
        ~SessionReset() {
            if (owned) current = nullptr;
        }
    } reset{session_, own != nullptr};
    for (int round = 0; round < kMaxRounds && !IsDialogEnded(dialog); ++round) {
        bool endOfInput = false;
        RunRound(*session, dialog, &endOfInput);
        if (IsDialogEnded(dialog)) break;
        // The dialog refused to close: go round again, unless there is no more input.
        if (endOfInput) return false;
        session->Write("(the dialog stays open)\n");
    }
    return IsDialogEnded(dialog) != FALSE;
}
