// The data source's credentials as its children use them: the narrow user name and password that
// a command's login sends, and the login cache that spares a later data source the prompt.
#include <string>
#include <utility>
#include <vector>

#include "client/rest_data.h"
#include "provider_fixture.h"

namespace {

using provider_test::HostScope;

// Each test logs in users of its own, and sees only its own requests.
class DataSourceCredentialsTest : public provider_test::ProviderTest {
  protected:
    void SetUp() override {
        ProviderTest::SetUp();
        Standin().ClearRequests();
    }

    // Runs one statement on a new session and command of the data source.
    static HRESULT Execute(IUnknown* dataSource) {
        CComPtr<IUnknown> session = OpenSession(dataSource);
        CComPtr<ICommandText> command = CreateCommand(session);
        if (!command) return E_FAIL;
        HRESULT hr = command->SetCommandText(MDGUID_MDX, u"SELECT FROM [Plan]");
        if (FAILED(hr)) return hr;
        return command->Execute(nullptr, IID_NULL, nullptr, nullptr, nullptr);
    }

    // The Basic authorisation of the stand-in's last POST /login, decoded.
    static std::string LastLoginCredentials() {
        std::string header;
        for (const HttpRequest& request : Standin().GetRequests())
            if (request.method == "POST" && request.path == "/login")
                header = request.Header("Authorization");
        const std::string prefix = "Basic ";
        if (header.compare(0, prefix.size(), prefix) != 0) return std::string();
        return DecodeBase64(header.substr(prefix.size()));
    }

    static std::string DecodeBase64(const std::string& text) {
        static const std::string kDigits =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string out;
        unsigned buffer = 0;
        int bits = 0;
        for (char c : text) {
            const size_t value = kDigits.find(c);
            if (value == std::string::npos) break;
            buffer = (buffer << 6) | static_cast<unsigned>(value);
            bits += 6;
            if (bits >= 8) {
                bits -= 8;
                out.push_back(static_cast<char>((buffer >> bits) & 0xFF));
            }
        }
        return out;
    }

    ScriptedDialogHost host;
    HostScope scope{&host};
};

TEST_F(DataSourceCredentialsTest, CommandLogsInWithTheDataSourcesCredentials) {
    const std::u16string user = UniqueUser(u"frank@example.com");
    CComPtr<IDBInitialize> dataSource = InitializedDataSource(user, u"s3cret");
    Execute(dataSource);
    EXPECT_EQ(LastLoginCredentials(), std::string(user.begin(), user.end()) + ":s3cret");
}

TEST_F(DataSourceCredentialsTest, OverlongUserNameAndPasswordAreSentCutTo255Characters) {
    const std::u16string user = UniqueUser(std::u16string(300, u'u'));
    const std::u16string password(400, u'p');
    CComPtr<IDBInitialize> dataSource = InitializedDataSource(user, password);
    Execute(dataSource);
    EXPECT_EQ(LastLoginCredentials(),
              std::string(user.begin(), user.begin() + 255) + ":" + std::string(255, 'p'));
}

TEST_F(DataSourceCredentialsTest, CachedLoginSparesALaterDataSourceThePrompt) {
    const std::u16string user = UniqueUser(u"grace@example.com");
    CComPtr<IDBInitialize> first = InitializedDataSource(user, u"pw");
    Execute(first);
    ASSERT_FALSE(LastLoginCredentials().empty());

    // Same user, no password: no prompt, since the login cache holds the user.
    CComPtr<IDBInitialize> second = CreateDataSource();
    ASSERT_EQ(SetCredentials(second, user, u""), S_OK);
    EXPECT_EQ(second->Initialize(), S_OK);
    EXPECT_EQ(host.OpenCount(), 0);

    // Names compare exactly: another case is another user, and is prompted for.
    std::u16string otherCase = user;
    otherCase[otherCase.find(u'g')] = u'G';
    CComPtr<IDBInitialize> third = CreateDataSource();
    ASSERT_EQ(SetCredentials(third, otherCase, u""), S_OK);
    host.Click(IDCANCEL);
    EXPECT_EQ(third->Initialize(), E_INVALIDARG);
    EXPECT_EQ(host.OpenCount(), 1);
}

TEST_F(DataSourceCredentialsTest, InitializeSendsNothingToTheService) {
    CComPtr<IDBInitialize> dataSource =
        InitializedDataSource(UniqueUser(u"heidi@example.com"), u"pw");
    CComPtr<IUnknown> session = OpenSession(dataSource);
    EXPECT_TRUE(Standin().GetRequests().empty());
}

TEST_F(DataSourceCredentialsTest, DisplayOptionFromDataSourceTextReachesTheQueryResult) {
    Standin().SetMdxAnswer("SELECT FROM [Plan]", R"({"values": [], "axes": []})");
    const std::vector<std::pair<std::u16string, int>> cases = {
        {u"1", 1}, {u"0", 0}, {u"", 2}, {u"names", 2}, {u"7", 7}};
    for (const auto& [text, option] : cases) {
        CComPtr<IDBInitialize> dataSource = CreateDataSource();
        ASSERT_EQ(SetCredentials(dataSource, u"ivan@example.com", u"pw", &text), S_OK);
        ASSERT_EQ(dataSource->Initialize(), S_OK);
        CComPtr<IUnknown> session = OpenSession(dataSource);
        CComPtr<ICommandText> command = CreateCommand(session);
        ASSERT_TRUE(command);
        ASSERT_EQ(command->SetCommandText(MDGUID_MDX, u"SELECT FROM [Plan]"), S_OK);
        command->Execute(nullptr, IID_NULL, nullptr, nullptr, nullptr);
        CComQIPtr<IExtendCommand> extend(command);
        RESTData* result = nullptr;
        ASSERT_EQ(extend->GetRESTData(&result), S_OK);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->GetMemberDisplayOption(), option)
            << std::string(text.begin(), text.end());
    }
}

}  // namespace
