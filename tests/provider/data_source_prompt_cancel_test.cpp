// Initialize's credentials prompt, closed in any way but OK: the data source's user name and
// password stay as they were before that prompt opened, whatever was typed into it.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "provider/zelmo_data_source.h"
#include "scripted_dialog_host.h"

namespace {

constexpr int kUserEdit = 209;
constexpr int kPasswordEdit = 210;

TEST(DataSourcePromptCancelTest, CancelLeavesUserNameAndPasswordAsTheyWere) {
    struct Case {
        const char* name;
        void (*script)(ScriptedDialogHost&);
        const char* user;  // what GetCredentials gives after the failed Initialize
    };
    const std::array<Case, 2> cases = {{
        {"cancel",
         [](ScriptedDialogHost& host) {
             host.Type(kUserEdit, u"typed").Type(kPasswordEdit, u"typed").Click(IDCANCEL);
         },
         "ann"},
        // OK with the password still empty opens the prompt again; its cancel keeps the first OK.
        {"ok then cancel",
         [](ScriptedDialogHost& host) {
             host.Type(kUserEdit, u"kept").Click(IDOK);
             host.Type(kUserEdit, u"typed").Type(kPasswordEdit, u"typed").Click(IDCANCEL);
         },
         "kept"},
    }};
    for (const Case& c : cases) {
        CComObject<ZelmoDataSource>* dataSource = nullptr;
        ASSERT_EQ(CComObject<ZelmoDataSource>::CreateInstance(&dataSource), S_OK);
        dataSource->AddRef();
        DBPROP prop{};
        prop.dwPropertyID = DBPROP_AUTH_USERID;
        prop.colid = DB_NULLID;
        CComVariant user(u"ann");
        prop.vValue = user;
        DBPROPSET set{&prop, 1, DBPROPSET_DBINIT};
        ASSERT_EQ(dataSource->SetProperties(1, &set), S_OK);

        ScriptedDialogHost host;
        c.script(host);
        DialogHost* previous = SetDialogHost(&host);
        EXPECT_EQ(dataSource->Initialize(), E_INVALIDARG) << c.name;
        SetDialogHost(previous);
        std::array<char, kNarrowUserNameBytes> userName{};
        std::array<char, kNarrowPasswordBytes> password{};
        dataSource->GetCredentials(userName.data(), password.data());
        EXPECT_EQ(std::string(userName.data()), c.user) << c.name;
        EXPECT_EQ(std::string(password.data()), "") << c.name;
        dataSource->Release();
    }
}

}  // namespace
