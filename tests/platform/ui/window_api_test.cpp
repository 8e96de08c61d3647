// The window functions of libcomui.so: text limits, check states, focus, child dialogs, sizes,
// and bad input (null buffers, zero lengths, stale handles, huge texts).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_dialogs.h"

namespace {

constexpr DialogTemplate kPageTemplate = {nullptr,
                                          u"MS Shell Dlg",
                                          8,
                                          0,
                                          0,
                                          230,
                                          174,
                                          WS_CHILD | DS_CONTROL,
                                          kLoginControls,
                                          sizeof(kLoginControls) / sizeof(kLoginControls[0])};

struct Messages {
    std::vector<UINT> seen;
    std::vector<WPARAM> commands;
};

BOOL Record(void* context, HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT* result) {
    auto* messages = static_cast<Messages*>(context);
    messages->seen.push_back(uMsg);
    if (uMsg == WM_COMMAND) messages->commands.push_back(wParam);
    *result = 0;
    return FALSE;
}

class WindowApiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog = CreateDialogFromTemplate(&kLoginTemplate, nullptr, &Record, &messages, 0);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override { DestroyWindow(dialog); }

    Messages messages;
    HWND dialog = nullptr;
};

TEST_F(WindowApiTest, GetDlgItemTextCopiesAtMostOneLessThanTheBuffer) {
    ASSERT_TRUE(SetDlgItemTextW(dialog, kUserEdit, u"abcdefgh"));
    WCHAR buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(GetDlgItemTextW(dialog, kUserEdit, buffer, 5), 4u);
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    EXPECT_EQ(buffer[5], u'#');
    EXPECT_EQ(GetDlgItemTextW(dialog, kUserEdit, buffer, 1), 0u);
    EXPECT_EQ(buffer[0], 0);
    buffer[0] = u'#';
    EXPECT_EQ(GetDlgItemTextW(dialog, kUserEdit, buffer, 0), 0u);
    EXPECT_EQ(GetDlgItemTextW(dialog, kUserEdit, buffer, -3), 0u);
    EXPECT_EQ(buffer[0], u'#');
    EXPECT_EQ(GetDlgItemTextW(dialog, kUserEdit, nullptr, 5), 0u);
    EXPECT_EQ(GetDlgItemTextW(dialog, kUserEdit, buffer, 9), 8u);
    EXPECT_EQ(std::u16string(buffer), u"abcdefgh");
    // An unknown control gives an empty text.
    EXPECT_EQ(GetDlgItemTextW(dialog, 4711, buffer, 8), 0u);
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(WindowApiTest, TextsOfAnySizeAndNullTextsAreKept) {
    std::u16string huge(1 << 20, u'h');
    ASSERT_TRUE(SetDlgItemTextW(dialog, kUserEdit, huge.c_str()));
    HWND edit = GetDlgItem(dialog, kUserEdit);
    EXPECT_EQ(GetWindowTextLengthW(edit), 1 << 20);
    WCHAR small[3];
    EXPECT_EQ(GetWindowTextW(edit, small, 3), 2);
    EXPECT_TRUE(SetDlgItemTextW(dialog, kUserEdit, nullptr));
    EXPECT_EQ(GetWindowTextLengthW(edit), 0);
    EXPECT_FALSE(SetDlgItemTextW(dialog, 4711, u"x"));
    WCHAR caption[64];
    EXPECT_EQ(GetWindowTextW(dialog, caption, 64), 17);
    EXPECT_EQ(std::u16string(caption), u"Tavro Cloud Login");
}

TEST_F(WindowApiTest, SettingAnEditTextNotifiesTheDialog) {
    messages.commands.clear();
    SetDlgItemTextW(dialog, kPasswordEdit, u"x");
    SetWindowTextW(GetDlgItem(dialog, IDOK), u"Go");
    ASSERT_EQ(messages.commands.size(), 1u);
    EXPECT_EQ(messages.commands[0], MAKEWPARAM(kPasswordEdit, EN_CHANGE));
}

TEST_F(WindowApiTest, CheckStatesBelongToCheckableButtonsOnly) {
    HWND radios = CreateDialogFromTemplate(&kOptionsTemplate, nullptr, nullptr, nullptr, 0);
    ASSERT_NE(radios, nullptr);
    EXPECT_TRUE(CheckDlgButton(radios, kAliasRadio, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(radios, kAliasRadio), BST_CHECKED);
    // CheckDlgButton does not touch the rest of the group; a click does.
    EXPECT_TRUE(CheckDlgButton(radios, kBothRadio, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(radios, kAliasRadio), BST_CHECKED);
    EXPECT_TRUE(DialogClickControl(GetDlgItem(radios, kNameRadio)));
    EXPECT_EQ(IsDlgButtonChecked(radios, kAliasRadio), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(radios, kBothRadio), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(radios, kNameRadio), BST_CHECKED);
    EXPECT_TRUE(CheckDlgButton(radios, kNameRadio, 7));  // not a check state: ignored
    EXPECT_EQ(IsDlgButtonChecked(radios, kNameRadio), BST_CHECKED);
    EXPECT_TRUE(CheckRadioButton(radios, kAliasRadio, kNameRadio, kBothRadio));
    EXPECT_EQ(IsDlgButtonChecked(radios, kBothRadio), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(radios, kNameRadio), BST_UNCHECKED);
    EXPECT_TRUE(CheckDlgButton(radios, IDOK, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(radios, IDOK), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(radios, 4711), BST_UNCHECKED);
    EXPECT_FALSE(CheckDlgButton(radios, 4711, BST_CHECKED));
    DestroyWindow(radios);
}

TEST_F(WindowApiTest, NextDialogControlTakesOnlyThisDialogsControls) {
    HWND other = CreateDialogFromTemplate(&kOptionsTemplate, nullptr, nullptr, nullptr, 0);
    HWND password = GetDlgItem(dialog, kPasswordEdit);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(password), TRUE);
    EXPECT_EQ(GetFocus(), password);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(other, IDOK)), TRUE);
    EXPECT_EQ(GetFocus(), password);
    SendMessageW(dialog, WM_NEXTDLGCTL, 0x1234, TRUE);
    EXPECT_EQ(GetFocus(), password);
    SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);  // next tab stop wraps to the first
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
    SendMessageW(dialog, WM_NEXTDLGCTL, 1, FALSE);  // and back
    EXPECT_EQ(GetFocus(), password);
    DestroyWindow(other);
}

TEST_F(WindowApiTest, ChildDialogsNeedAParentAndGoWithIt) {
    EXPECT_EQ(CreateDialogFromTemplate(&kPageTemplate, nullptr, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(
        CreateDialogFromTemplate(&kPageTemplate, reinterpret_cast<HWND>(0x99), nullptr, nullptr, 0),
        nullptr);
    ASSERT_TRUE(MoveWindow(dialog, 50, 60, 500, 400, TRUE));
    HWND page = CreateDialogFromTemplate(&kPageTemplate, dialog, nullptr, nullptr, 0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetParent(page), dialog);
    EXPECT_FALSE(IsWindowVisible(page));  // no WS_VISIBLE in the template
    ShowWindow(page, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(page));
    ASSERT_TRUE(MoveWindow(page, 10, 20, 100, 50, TRUE));
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(page, &rect));
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.top, 80);
    EXPECT_EQ(rect.right, 160);
    ASSERT_TRUE(GetClientRect(page, &rect));
    EXPECT_EQ(rect.right, 100);
    EXPECT_EQ(rect.bottom, 50);
    HWND pageEdit = GetDlgItem(page, kUserEdit);
    EXPECT_NE(pageEdit, GetDlgItem(dialog, kUserEdit));
    DestroyWindow(dialog);
    EXPECT_FALSE(IsWindow(page));
    EXPECT_FALSE(IsWindow(pageEdit));
}

TEST_F(WindowApiTest, DestructionSendsDestroyMessagesOnce) {
    HWND edit = GetDlgItem(dialog, kUserEdit);
    messages.seen.clear();
    EXPECT_TRUE(DestroyWindow(dialog));
    EXPECT_FALSE(DestroyWindow(dialog));
    std::vector<UINT> expected = {WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(messages.seen, expected);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetDlgCtrlID(edit), 0);
}

TEST_F(WindowApiTest, StaleAndNullHandlesFailQuietly) {
    HWND stale = GetDlgItem(dialog, IDOK);
    DestroyWindow(dialog);
    WCHAR buffer[4] = {u'x', 0, 0, 0};
    for (HWND handle : {stale, static_cast<HWND>(nullptr), reinterpret_cast<HWND>(0x12345)}) {
        EXPECT_FALSE(IsWindow(handle));
        EXPECT_EQ(SendMessageW(handle, WM_GETTEXTLENGTH, 0, 0), 0);
        EXPECT_EQ(GetWindowTextW(handle, buffer, 4), 0);
        EXPECT_EQ(buffer[0], 0);
        EXPECT_FALSE(SetWindowTextW(handle, u"x"));
        EXPECT_EQ(GetDlgItem(handle, IDOK), nullptr);
        EXPECT_FALSE(EndDialog(handle, 1));
        EXPECT_FALSE(ShowWindow(handle, SW_SHOW));
        EXPECT_FALSE(MoveWindow(handle, 0, 0, 1, 1, FALSE));
        EXPECT_FALSE(GetWindowRect(handle, nullptr));
        EXPECT_EQ(GetParent(handle), nullptr);
        EXPECT_FALSE(DialogClickControl(handle));
        EXPECT_FALSE(DialogTypeText(handle, u"x"));
        EXPECT_FALSE(DialogPressKey(handle, VK_RETURN));
        EXPECT_TRUE(IsDialogEnded(handle));
    }
    EXPECT_EQ(CreateDialogFromTemplate(nullptr, nullptr, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(DialogBoxFromTemplate(nullptr, nullptr, nullptr, nullptr, 0), -1);
    DialogTemplate broken = kLoginTemplate;
    broken.controls = nullptr;
    EXPECT_EQ(CreateDialogFromTemplate(&broken, nullptr, nullptr, nullptr, 0), nullptr);
}

TEST_F(WindowApiTest, DialogUnitsFollowTheFont) {
    SIZE size{};
    ASSERT_TRUE(GetDialogTemplateSize(&kLoginTemplate, &size));
    EXPECT_EQ(size.cx, 306);
    EXPECT_EQ(size.cy, 146);
    RECT rect{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &rect));
    EXPECT_EQ(rect.right, 6);
    EXPECT_EQ(rect.bottom, 13);
    EXPECT_FALSE(MapDialogRect(GetDlgItem(dialog, IDOK), &rect));
    EXPECT_FALSE(GetDialogTemplateSize(nullptr, &size));
    WCHAR name[16];
    EXPECT_EQ(GetClassNameW(GetDlgItem(dialog, kUserEdit), name, 16), 4);
    EXPECT_EQ(std::u16string(name), u"Edit");
    EXPECT_EQ(GetClassNameW(dialog, name, 4), 3);
    EXPECT_EQ(std::u16string(name), u"#32");
}

TEST_F(WindowApiTest, ReadOnlyAndDisabledEditsRefuseTyping) {
    HWND edit = GetDlgItem(dialog, kUserEdit);
    EnableWindow(edit, FALSE);
    EXPECT_FALSE(DialogTypeText(edit, u"x"));
    EnableWindow(edit, TRUE);
    SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) | ES_READONLY);
    EXPECT_FALSE(DialogTypeText(edit, u"x"));
    EXPECT_FALSE(DialogTypeText(GetDlgItem(dialog, IDOK), u"x"));
    EXPECT_EQ(GetWindowTextLengthW(edit), 0);
}

}  // namespace

namespace {

TEST_F(WindowApiTest, TextLimitHoldsTypingOnly) {
    HWND edit = GetDlgItem(dialog, kUserEdit);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_TRUE(DialogTypeText(edit, u"abcdef"));
    EXPECT_EQ(GetWindowTextLengthW(edit), 3);
    EXPECT_TRUE(SetWindowTextW(edit, u"abcdef"));
    EXPECT_EQ(GetWindowTextLengthW(edit), 6);
}

}  // namespace
