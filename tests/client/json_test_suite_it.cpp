// Every file of the JSONTestSuite parsing corpus over HTTP: gzipped as an MDX answer, and as the
// answer to a metadata request.
#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include "client/mdx_query.h"
#include "client/member_requests.h"
#include "tests/client/service_fixture.h"

namespace {

std::string CorpusFolder() {
    return std::string(ZELMO_TESTDATA_DIR) + "/jsontestsuite/test_parsing";
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    DIR* folder = opendir(CorpusFolder().c_str());
    if (folder == nullptr) {
        return names;
    }
    while (dirent* entry = readdir(folder)) {
        std::string name = entry->d_name;
        if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0) {
            names.push_back(name);
        }
    }
    closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

bool StartsWithObject(const std::string& text) {
    size_t at = text.find_first_not_of(" \t\r\n");
    return at != std::string::npos && text[at] == '{';
}

// A lone null reads like an object without keys.
bool IsLoneNull(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    return first != std::string::npos && text.compare(first, last - first + 1, "null") == 0;
}

class JsonTestSuiteTest : public ServiceTest {};

TEST_F(JsonTestSuiteTest, EveryFileGivesAResultOrTheFailureResult) {
    std::vector<std::string> files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no JSONTestSuite corpus under " << CorpusFolder();
    }
    StartService(R"({"acceptAnyUser": true})");
    APIAuthToken token(u"api", u"key");
    int accepted = 0;
    for (const std::string& name : files) {
        std::string text = StandinService::ReadFile(CorpusFolder() + "/" + name);
        service->SetMdxAnswer(name, text);
        std::unique_ptr<RESTData> result = ExecuteMdxQuery(token, name.c_str());
        ASSERT_NE(result, nullptr) << name;
        ASSERT_TRUE(result->GetStatus() == 0 || result->GetStatus() == 1) << name;
        if (result->GetStatus() == 0) {
            EXPECT_EQ(result->GetAxisCount(), 0u) << name;
            EXPECT_EQ(result->IsDrillThrough(), 0) << name;
            EXPECT_TRUE(result->GetCellTable().GetValues().empty()) << name;
        } else {
            ++accepted;
            EXPECT_TRUE(StartsWithObject(text) || IsLoneNull(text)) << name;
        }
        // Every well-formed object the corpus holds is a (keyless) answer.
        if (name[0] == 'y' && StartsWithObject(text)) {
            EXPECT_EQ(result->GetStatus(), 1) << name;
        }
    }
    EXPECT_GT(accepted, 0);
}

TEST_F(JsonTestSuiteTest, EveryFileAsAMembersAnswerGivesMembersOrNone) {
    std::vector<std::string> files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no JSONTestSuite corpus under " << CorpusFolder();
    }
    StartService(R"({"acceptAnyUser": true})");
    APIAuthToken token(u"api", u"key");
    for (const std::string& name : files) {
        std::string text = StandinService::ReadFile(CorpusFolder() + "/" + name);
        service->SetFault("", {StandinFaultKind::kErrorStatus, 200, text, {}});
        const std::vector<JSONMember> members = GetMembers(token, "7", "3", "1");
        // Only a list of objects (or nulls) gives members.
        if (!members.empty()) {
            EXPECT_EQ(name[0] == 'n', false) << name;
            EXPECT_EQ(text.find_first_not_of(" \t\r\n"), text.find('[')) << name;
        }
    }
}

}  // namespace
