// IDBInitialize::Initialize of the data source: when the credentials prompt appears, what it
// shows and writes back, cancel and a missing terminal, and what the consumer sees afterwards.
#include <string>

#include "provider_fixture.h"
#include "terminal_dialog_host.h"

namespace {

using provider_test::GetProperty;
using provider_test::HostScope;
using provider_test::PropertySet;
using provider_test::TextOf;

constexpr int kUserEdit = 209;
constexpr int kPasswordEdit = 210;

class DataSourceInitializeTest : public provider_test::ProviderTest {
  protected:
    static bool CanCreateSession(IUnknown* dataSource) {
        CComQIPtr<IDBCreateSession> create(dataSource);
        CComPtr<IUnknown> session;
        return create->CreateSession(nullptr, IID_IUnknown, &session) == S_OK;
    }
    static std::u16string InitText(IUnknown* dataSource, DBPROPID id) {
        return TextOf(GetProperty(dataSource, DBPROPSET_DBINIT, id));
    }

    ScriptedDialogHost host;
    HostScope scope{&host};
};

TEST_F(DataSourceInitializeTest, BothCredentialsGivenNeedNoPrompt) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    ASSERT_EQ(SetCredentials(dataSource, u"ann", u"pw"), S_OK);
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_EQ(host.OpenCount(), 0);
    EXPECT_TRUE(CanCreateSession(dataSource));
    EXPECT_EQ(dataSource->Initialize(), DB_E_ALREADYINITIALIZED);
}

TEST_F(DataSourceInitializeTest, EmptyUserNamePromptsEvenWithAPassword) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    ASSERT_EQ(SetCredentials(dataSource, u"", u"pw"), S_OK);
    std::u16string shownPassword;
    int focused = 0;
    host.OnOpen([&](HWND dialog) {
        shownPassword = ScriptedDialogHost::ControlText(dialog, kPasswordEdit);
        focused = ScriptedDialogHost::FocusedId(dialog);
    });
    host.Type(kUserEdit, u"typed@example.com").Click(IDOK);
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_EQ(host.OpenCount(), 1);
    EXPECT_EQ(shownPassword, u"pw");
    EXPECT_EQ(focused, kUserEdit);
    // The typed values reach the consumer's initialisation properties.
    EXPECT_EQ(InitText(dataSource, DBPROP_AUTH_USERID), u"typed@example.com");
    EXPECT_EQ(InitText(dataSource, DBPROP_AUTH_PASSWORD), u"pw");
}

TEST_F(DataSourceInitializeTest, PromptOpensWithTheHeldUserNameAndReturnsUntilBothAreGiven) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    ASSERT_EQ(SetCredentials(dataSource, u"ann", u""), S_OK);
    std::u16string shownUser;
    host.OnOpen([&](HWND dialog) {
        if (shownUser.empty()) shownUser = ScriptedDialogHost::ControlText(dialog, kUserEdit);
    });
    // OK with the password still empty: the prompt comes back.
    host.Click(IDOK).Type(kPasswordEdit, u"second").Click(IDOK);
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_EQ(host.OpenCount(), 2);
    EXPECT_EQ(shownUser, u"ann");
    EXPECT_EQ(InitText(dataSource, DBPROP_AUTH_PASSWORD), u"second");
}

TEST_F(DataSourceInitializeTest, NoPromptPropertyDoesNotKeepThePromptAway) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    PropertySet init(DBPROPSET_DBINIT);
    init.Add(DBPROP_INIT_PROMPT, CComVariant(DBPROMPT_NOPROMPT))
        .Add(DBPROP_AUTH_USERID, CComVariant(u"ann"));
    DBPROPSET set = init.Set();
    CComQIPtr<IDBProperties> properties(dataSource);
    ASSERT_EQ(properties->SetProperties(1, &set), S_OK);
    host.Type(kPasswordEdit, u"pw").Click(IDOK);
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_EQ(host.OpenCount(), 1);
}

TEST_F(DataSourceInitializeTest, CancelFailsWithInvalidArgAndKeepsEarlierTypedValues) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    host.Type(kUserEdit, u"kept").Click(IDOK).Type(kPasswordEdit, u"dropped").Click(IDCANCEL);
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    EXPECT_EQ(host.OpenCount(), 2);
    EXPECT_FALSE(CanCreateSession(dataSource));
    EXPECT_EQ(InitText(dataSource, DBPROP_AUTH_USERID), u"kept");
    EXPECT_EQ(InitText(dataSource, DBPROP_AUTH_PASSWORD), u"");

    // Escape and closing the dialog are a cancel too; a later Initialize may succeed.
    host.PressEscape();
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    host.Close();
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    host.Type(kPasswordEdit, u"pw").Click(IDOK);
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_TRUE(CanCreateSession(dataSource));
}

TEST_F(DataSourceInitializeTest, WithoutATerminalThePromptIsACancel) {
    TerminalDialogHost terminal("/nonexistent/tty");
    HostScope noTerminal(&terminal);
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    ASSERT_EQ(SetCredentials(dataSource, u"ann", u""), S_OK);
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    EXPECT_FALSE(CanCreateSession(dataSource));
}

TEST_F(DataSourceInitializeTest, TypedTextIsCutTo254Characters) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    host.Type(kUserEdit, std::u16string(300, u'u')).Type(kPasswordEdit, std::u16string(255, u'p'));
    host.Click(IDOK);
    EXPECT_EQ(dataSource->Initialize(), S_OK);
    EXPECT_EQ(InitText(dataSource, DBPROP_AUTH_USERID), std::u16string(254, u'u'));
    EXPECT_EQ(InitText(dataSource, DBPROP_AUTH_PASSWORD), std::u16string(254, u'p'));
}

TEST_F(DataSourceInitializeTest, OverlongUserNamePropertyIsHeldAs255Characters) {
    CComPtr<IDBInitialize> dataSource = CreateDataSource();
    const std::u16string user(400, u'n');
    ASSERT_EQ(SetCredentials(dataSource, user, u""), S_OK);
    std::u16string shownUser;
    host.OnOpen(
        [&](HWND dialog) { shownUser = ScriptedDialogHost::ControlText(dialog, kUserEdit); });
    host.Click(IDCANCEL);
    EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG);
    EXPECT_EQ(shownUser, user.substr(0, 255));
}

TEST_F(DataSourceInitializeTest, UninitializeWithAnOpenSessionIsRefused) {
    CComPtr<IDBInitialize> dataSource = InitializedDataSource();
    {
        CComPtr<IUnknown> session = OpenSession(dataSource);
        EXPECT_EQ(dataSource->Uninitialize(), DB_E_OBJECTOPEN);
    }
    EXPECT_EQ(dataSource->Uninitialize(), S_OK);
    EXPECT_FALSE(CanCreateSession(dataSource));
}

}  // namespace
