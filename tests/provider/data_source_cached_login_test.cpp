// Initialize's prompt decision against the real login cache: a cached user name needs no
// password, an uncached one with a missing password brings up the prompt.
#include <gtest/gtest.h>

#include "client/login.h"
#include "client/service_address.h"
#include "provider/zelmo_data_source.h"
#include "tools/standin/standin_service.h"

namespace {

class CachedLoginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ServiceAddress::Set(standin.GetAddress());
        ASSERT_EQ(CComObject<ZelmoDataSource>::CreateInstance(&dataSource), S_OK);
        dataSource->AddRef();
    }
    void TearDown() override { dataSource->Release(); }

    HRESULT InitializeAs(const char16_t* user) {
        DBPROP prop{};
        prop.dwPropertyID = DBPROP_AUTH_USERID;
        prop.colid = DB_NULLID;
        CComVariant value(user);
        prop.vValue = value;
        DBPROPSET set{&prop, 1, DBPROPSET_DBINIT};
        const HRESULT hr = dataSource->SetProperties(1, &set);
        return FAILED(hr) ? hr : dataSource->Initialize();
    }

    StandinService standin{R"({"acceptAnyUser": true})"};
    CComObject<ZelmoDataSource>* dataSource = nullptr;
};

TEST_F(CachedLoginTest, CachedUserNeedsNoPassword) {
    ASSERT_EQ(Login(u"carol@example.com", u"pw").IsLoggedIn(), 1);
    EXPECT_EQ(InitializeAs(u"carol@example.com"), S_OK);
    char user[512];
    char password[4096];
    EXPECT_EQ(dataSource->GetCredentials(user, password), 0);
    EXPECT_EQ(std::string(user), "carol@example.com");
    EXPECT_EQ(std::string(password), "");
    int option = -1;
    EXPECT_EQ(dataSource->GetMemberDisplayOption(&option), S_OK);
    EXPECT_EQ(option, 2);
}

TEST_F(CachedLoginTest, UncachedUserWithoutPasswordIsPrompted) {
    // This program has no dialog template 207 of its own, so the prompt cannot open: a cancel.
    EXPECT_EQ(InitializeAs(u"dave@example.com"), E_INVALIDARG);
    EXPECT_TRUE(standin.GetRequests().empty());  // Initialize sends nothing
}

}  // namespace
