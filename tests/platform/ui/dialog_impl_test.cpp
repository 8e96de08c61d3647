// CDialogImpl and message maps driven by the scripted host: the login and options dialogs.
#include "dialog_impl.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "scripted_dialog_host.h"
#include "test_dialogs.h"

namespace {

std::u16string Repeat(char16_t c, size_t n) { return std::u16string(n, c); }

class DialogImplTest : public ::testing::Test {
  protected:
    ScriptedDialogHost host;
    HostScope scope{&host};
    WCHAR user[256] = {};
    WCHAR password[256] = {};
};

TEST_F(DialogImplTest, OpensWithHeldValuesAndFocusInUserName) {
    std::u16string(u"alice").copy(user, 5);
    LoginDialog dialog(user, password);
    std::u16string seenUser;
    int seenFocus = 0;
    host.OnOpen([&](HWND hDlg) {
        seenUser = ScriptedDialogHost::ControlText(hDlg, kUserEdit);
        seenFocus = ScriptedDialogHost::FocusedId(hDlg);
    });
    host.Type(kPasswordEdit, u"s3cret").Click(IDOK);

    EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate, nullptr, 77), IDOK);
    EXPECT_EQ(seenUser, u"alice");
    EXPECT_EQ(seenFocus, kUserEdit);
    EXPECT_EQ(dialog.initParam, 77);
    EXPECT_EQ(std::u16string(user), u"alice");
    EXPECT_EQ(std::u16string(password), u"s3cret");
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(host.OpenCount(), 1);
}

TEST_F(DialogImplTest, InitDialogNamesTheFirstTabStopAndWindowsGoAfterwards) {
    LoginDialog dialog(user, password);
    HWND seenDialog = nullptr;
    HWND seenOk = nullptr;
    host.OnOpen([&](HWND hDlg) {
        seenDialog = hDlg;
        seenOk = GetDlgItem(hDlg, IDOK);
    });
    host.PressEscape();
    EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDCANCEL);
    EXPECT_EQ(dialog.firstTabStop, seenOk);
    EXPECT_FALSE(IsWindow(seenDialog));
    EXPECT_FALSE(IsWindow(seenOk));
}

TEST_F(DialogImplTest, EditsReportEveryChangeToTheDialog) {
    LoginDialog dialog(user, password);
    HWND userEdit = nullptr;
    host.OnOpen([&](HWND hDlg) { userEdit = GetDlgItem(hDlg, kUserEdit); });
    host.Type(kUserEdit, u"bob").Type(kPasswordEdit, u"pw").Click(IDOK);
    ASSERT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDOK);
    // Two from the texts set at initialisation, two typed.
    std::vector<int> expected = {kUserEdit, kPasswordEdit, kUserEdit, kPasswordEdit};
    EXPECT_EQ(dialog.changes, expected);
    ASSERT_EQ(dialog.changeSenders.size(), 4u);
    EXPECT_EQ(dialog.changeSenders[2], userEdit);
}

TEST_F(DialogImplTest, CancelEscapeAndCloseLeaveTheBuffersAlone) {
    std::u16string(u"keep").copy(user, 4);
    for (int way = 0; way < 3; ++way) {
        LoginDialog dialog(user, password);
        host.Type(kUserEdit, u"changed");
        if (way == 0) host.Click(IDCANCEL);
        if (way == 1) host.PressEscape();
        if (way == 2) host.Close();
        EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDCANCEL) << way;
        EXPECT_EQ(std::u16string(user), u"keep") << way;
    }
}

TEST_F(DialogImplTest, EnterPressesTheDefaultButtonOrTheFocusedOne) {
    {
        LoginDialog dialog(user, password);
        host.Type(kUserEdit, u"x").PressEnter();
        EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDOK);
        EXPECT_EQ(std::u16string(user), u"x");
    }
    {
        // Tab order is template order: user, password, OK, Cancel.
        LoginDialog dialog(user, password);
        int focused = 0;
        host.PressTab().PressTab().PressTab().Inspect(
            [&](HWND hDlg) { focused = ScriptedDialogHost::FocusedId(hDlg); });
        host.PressEnter();
        EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDCANCEL);
        EXPECT_EQ(focused, IDCANCEL);
    }
}

TEST_F(DialogImplTest, LongTextIsCutTo254CharactersOnOk) {
    LoginDialog dialog(user, password);
    host.Type(kUserEdit, Repeat(u'u', 300)).Type(kPasswordEdit, Repeat(u'p', 255)).Click(IDOK);
    ASSERT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDOK);
    EXPECT_EQ(std::u16string(user), Repeat(u'u', 254));
    EXPECT_EQ(std::u16string(password), Repeat(u'p', 254));
}

TEST_F(DialogImplTest, ScriptThatEndsEarlyOrNamesNoControlFailsTheLoop) {
    std::u16string(u"keep").copy(user, 4);
    {
        LoginDialog dialog(user, password);
        host.Type(kUserEdit, u"partial");
        EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), -1);
    }
    {
        LoginDialog dialog(user, password);
        host.Click(999).Click(IDOK);
        EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), -1);
        host.PressEscape();  // queued behind the OK that the failed loop left
        EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDOK);
    }
    EXPECT_EQ(host.PendingActions(), 1u);
}

TEST_F(DialogImplTest, ConsecutiveDialogsTakeTheirActionsInOrder) {
    LoginDialog first(user, password);
    LoginDialog second(user, password);
    host.Type(kUserEdit, u"one").Click(IDOK).Type(kPasswordEdit, u"two").Click(IDOK);
    EXPECT_EQ(first.DoModalIndirect(&kLoginTemplate), IDOK);
    EXPECT_EQ(std::u16string(password), u"");
    EXPECT_EQ(second.DoModalIndirect(&kLoginTemplate), IDOK);
    EXPECT_EQ(std::u16string(user), u"one");
    EXPECT_EQ(std::u16string(password), u"two");
    EXPECT_EQ(host.OpenCount(), 2);
}

TEST_F(DialogImplTest, AutoRadioButtonsKeepOneOfTheirGroupChecked) {
    OptionsDialog dialog;
    UINT states[3] = {};
    std::u16string version;
    host.OnOpen(
        [&](HWND hDlg) { version = ScriptedDialogHost::ControlText(hDlg, kVersionStatic); });
    host.Click(kAliasRadio).Inspect([&](HWND hDlg) {
        states[0] = IsDlgButtonChecked(hDlg, kNameRadio);
        states[1] = IsDlgButtonChecked(hDlg, kAliasRadio);
        states[2] = IsDlgButtonChecked(hDlg, kBothRadio);
    });
    host.Click(IDOK);
    EXPECT_EQ(dialog.DoModalIndirect(&kOptionsTemplate), IDOK);
    EXPECT_EQ(version, u"1.0.1.1");
    EXPECT_EQ(dialog.option, 1);
    EXPECT_EQ(states[0], BST_UNCHECKED);
    EXPECT_EQ(states[1], BST_CHECKED);
    EXPECT_EQ(states[2], BST_UNCHECKED);  // checked by WM_INITDIALOG, unchecked by the click
}

TEST_F(DialogImplTest, DisabledButtonsIgnoreClicks) {
    OptionsDialog dialog;
    host.Inspect([](HWND hDlg) { EnableWindow(GetDlgItem(hDlg, kNameRadio), FALSE); });
    host.Click(kNameRadio);
    EXPECT_EQ(dialog.DoModalIndirect(&kOptionsTemplate), -1);
    EXPECT_EQ(dialog.clicks, 0);
}

TEST_F(DialogImplTest, CentresOverItsOwner) {
    HWND owner = CreateDialogFromTemplate(&kOptionsTemplate, nullptr, nullptr, nullptr, 0);
    ASSERT_NE(owner, nullptr);
    ASSERT_TRUE(MoveWindow(owner, 100, 200, 600, 400, FALSE));
    LoginDialog dialog(user, password);
    RECT rect{};
    BOOL ownerEnabled = TRUE;
    host.OnOpen([&](HWND hDlg) {
        GetWindowRect(hDlg, &rect);
        ownerEnabled = IsWindowEnabled(owner);
    });
    host.PressEscape();
    EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate, owner), IDCANCEL);
    // 204 x 90 dialog units are 306 x 146 pixels.
    EXPECT_EQ(rect.right - rect.left, 306);
    EXPECT_EQ(rect.bottom - rect.top, 146);
    EXPECT_EQ((rect.left + rect.right) / 2, 400);
    EXPECT_EQ((rect.top + rect.bottom) / 2, 400);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(DestroyWindow(owner));
}

// The module holds dialog 207; this program holds no resources at all.
class DialogModuleTest : public DialogImplTest {
  protected:
    void SetUp() override {
        module = dlopen(COMUI_TEST_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        runLogin = reinterpret_cast<RunDialog>(dlsym(module, "RunModuleLogin"));
        runMissing = reinterpret_cast<RunDialog>(dlsym(module, "RunModuleMissingDialog"));
        ASSERT_NE(runLogin, nullptr);
        ASSERT_NE(runMissing, nullptr);
    }
    void TearDown() override {
        if (module != nullptr) dlclose(module);
    }

    using RunDialog = INT_PTR (*)(WCHAR*, WCHAR*);
    void* module = nullptr;
    RunDialog runLogin = nullptr;
    RunDialog runMissing = nullptr;
};

TEST_F(DialogModuleTest, DoModalFindsTheTemplateInItsModuleAndRunsOnTheProgramsHost) {
    std::u16string caption;
    host.OnOpen([&](HWND hDlg) {
        WCHAR text[64];
        GetWindowTextW(hDlg, text, 64);
        caption = text;
    });
    host.Type(kUserEdit, u"from module").Click(IDOK);
    EXPECT_EQ(runLogin(user, password), IDOK);
    EXPECT_EQ(caption, u"Module Login");
    EXPECT_EQ(std::u16string(user), u"from module");
    EXPECT_EQ(LoginDialog::GetDialogTemplate(), nullptr);  // not in this program
}

TEST_F(DialogModuleTest, DialogMissingFromTheResourcesFails) {
    EXPECT_EQ(runMissing(user, password), -1);
    EXPECT_EQ(host.OpenCount(), 0);
}

class ThrowingDialog : public CDialogImpl<ThrowingDialog> {
  public:
    enum { IDD = 1 };
    BEGIN_MSG_MAP(ThrowingDialog)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    LRESULT OnOk(WORD, WORD, HWND, BOOL&) { throw std::runtime_error("handler failed"); }
    LRESULT OnCancel(WORD, WORD wID, HWND, BOOL& bHandled) {
        // Declining lets the message through unhandled; the dialog stays open.
        bHandled = passes ? FALSE : TRUE;
        if (!passes) EndDialog(wID);
        passes = false;
        return 0;
    }
    bool passes = true;
};

TEST_F(DialogImplTest, HandlersThatThrowOrDeclineLeaveTheDialogOpen) {
    ThrowingDialog dialog;
    host.Click(IDOK).PressEscape().PressEscape();
    EXPECT_EQ(dialog.DoModalIndirect(&kLoginTemplate), IDCANCEL);
    EXPECT_EQ(host.PendingActions(), 0u);
}

TEST_F(DialogImplTest, ObjectDestroyedWithItsWindowOpenTakesTheWindowAlong) {
    HWND handle = nullptr;
    {
        OptionsDialog dialog;
        handle = dialog.CreateIndirect(&kOptionsTemplate, nullptr);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(dialog.m_hWnd, handle);
        EXPECT_EQ(dialog.CreateIndirect(&kOptionsTemplate, nullptr), nullptr);
    }
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(SendMessageW(handle, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0), 0);
}

}  // namespace
