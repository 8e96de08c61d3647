// The credentials prompt as Initialize shows it: its caption, controls, tab order, password edit,
// default button and the buffers it writes.
#include <string>

#include "provider_fixture.h"

namespace {

using provider_test::HostScope;
using provider_test::TextOf;

constexpr int kUserEdit = 209;
constexpr int kPasswordEdit = 210;

class PromptTest : public provider_test::ProviderTest {
  protected:
    // A data source whose Initialize will prompt (no credentials given).
    void SetUp() override {
        ProviderTest::SetUp();
        dataSource = CreateDataSource();
        ASSERT_TRUE(dataSource);
    }

    std::u16string InitText(DBPROPID id) {
        return TextOf(provider_test::GetProperty(dataSource, DBPROPSET_DBINIT, id));
    }

    ScriptedDialogHost host;
    HostScope scope{&host};
    CComPtr<IDBInitialize> dataSource;
};

TEST_F(PromptTest, ShowsTheLoginTemplateWithAHiddenPasswordField) {
    std::u16string caption;
    LONG_PTR userStyle = 0;
    LONG_PTR passwordStyle = 0;
    host.OnOpen([&](HWND dialog) {
        char16_t text[64] = {};
        GetWindowTextW(dialog, text, 64);
        caption = text;
        userStyle = GetWindowLongPtrW(GetDlgItem(dialog, kUserEdit), GWL_STYLE);
        passwordStyle = GetWindowLongPtrW(GetDlgItem(dialog, kPasswordEdit), GWL_STYLE);
    });
    host.Click(IDCANCEL);
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    EXPECT_EQ(caption, u"Tavro Cloud Login");
    EXPECT_EQ(userStyle & ES_PASSWORD, 0);
    EXPECT_NE(passwordStyle & ES_PASSWORD, 0);
    EXPECT_NE(userStyle & ES_AUTOHSCROLL, 0);
    EXPECT_NE(passwordStyle & WS_TABSTOP, 0);
}

TEST_F(PromptTest, TabGoesFromUserNameToPasswordToTheButtons) {
    int afterOne = 0;
    int afterTwo = 0;
    host.PressTab()
        .Inspect([&](HWND dialog) { afterOne = ScriptedDialogHost::FocusedId(dialog); })
        .PressTab()
        .Inspect([&](HWND dialog) { afterTwo = ScriptedDialogHost::FocusedId(dialog); })
        .Click(IDCANCEL);
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    EXPECT_EQ(afterOne, kPasswordEdit);
    EXPECT_EQ(afterTwo, IDOK);
}

TEST_F(PromptTest, EnterPressesOkAndTheTypedValuesAreKept) {
    host.Type(kUserEdit, u"judy@example.com").Type(kPasswordEdit, u"pw").PressEnter();
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_EQ(host.OpenCount(), 1);
    EXPECT_EQ(InitText(DBPROP_AUTH_USERID), u"judy@example.com");
    EXPECT_EQ(InitText(DBPROP_AUTH_PASSWORD), u"pw");
}

TEST_F(PromptTest, OkWithBothFieldsEmptyOpensThePromptAgain) {
    host.Click(IDOK).Click(IDOK).Type(kUserEdit, u"k").Type(kPasswordEdit, u"p").Click(IDOK);
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_EQ(host.OpenCount(), 3);
}

TEST_F(PromptTest, AScriptThatRunsOutFailsTheLoopLikeACancel) {
    host.Type(kUserEdit, u"partial");
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    EXPECT_EQ(InitText(DBPROP_AUTH_USERID), u"");
}

}  // namespace
