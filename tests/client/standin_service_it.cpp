// The stand-in service itself: its data file, routes, and a clean stop with connections open.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "client/dimension_requests.h"
#include "client/login.h"
#include "client/mdx_query.h"
#include "client/member_requests.h"
#include "client/model_requests.h"
#include "tests/client/sample_model.h"
#include "tests/client/service_fixture.h"

namespace {

class StandinServiceTest : public ServiceTest {};

TEST_F(StandinServiceTest, ServesTheDataFileFormat) {
    std::string path = ::testing::TempDir() + "standin-data.json";
    std::string data = std::string(kSampleModel);
    // One canned MDX answer next to the model, keyed by its statement text.
    data.insert(data.rfind('}'), R"(, "mdx": [{"query": "SELECT 1",
        "answer": {"values": {"numRows": 1, "numColumns": 1, "values": ["42"]}}}])");
    std::ofstream(path) << data;
    StartService(StandinService::ReadFile(path));
    std::remove(path.c_str());

    APIAuthToken token = Login(u"ann@example.com", u"secret");
    ASSERT_EQ(token.IsLoggedIn(), 1);
    EXPECT_EQ(GetModels(token).size(), 2u);
    EXPECT_EQ(GetDimension(token, "7", "d-product").GetName(), u"Product");
    EXPECT_EQ(GetMembers(token, "7", "3", "1").size(), 2u);
    std::unique_ptr<RESTData> result = ExecuteMdxQuery(token, "SELECT 1");
    ASSERT_EQ(result->GetStatus(), 1);
    EXPECT_EQ(result->GetCellTable().GetValues().at(0), u"42");
    EXPECT_EQ(ExecuteMdxQuery(token, "SELECT 2")->GetStatus(), 0);
    EXPECT_THROW(StandinService("[1]"), std::exception);
}

TEST_F(StandinServiceTest, ExampleDataServesAModelAndItsCannedAnswers) {
    StartService(StandinService::ReadFile(ZELMO_STANDIN_EXAMPLE));
    APIAuthToken token = Login(u"ann@example.com", u"secret");
    ASSERT_EQ(token.IsLoggedIn(), 1);
    std::vector<JSONModel> models = GetModels(token);
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(GetDimensions(token, "7").size(), 3u);
    EXPECT_EQ(GetMembers(token, "7", "1", "1").at(1).GetAlias(), u"GDG");
    EXPECT_EQ(GetMdxMember(token, "7", "201").GetName(), u"2024");
    std::unique_ptr<RESTData> grid = ExecuteMdxQuery(
        token, "SELECT [Year].Members ON COLUMNS, [Product].Members ON ROWS FROM [Sales Plan]");
    ASSERT_EQ(grid->GetStatus(), 1);
    EXPECT_EQ(grid->GetAxis(0).GetTuples().size(), 1u);
    EXPECT_EQ(grid->GetAxis(1).GetTuples().size(), 2u);
    std::unique_ptr<RESTData> rows = ExecuteMdxQuery(
        token, "DRILLTHROUGH SELECT FROM [Sales Plan] WHERE ([Product].[Widget], [Year].[2024])");
    ASSERT_EQ(rows->GetStatus(), 1);
    EXPECT_EQ(rows->IsDrillThrough(), 1);
    EXPECT_EQ(rows->GetDrillThroughTable().GetValues().size(), 6u);
}

TEST_F(StandinServiceTest, StopsCleanlyWithUnansweredConnections) {
    StartService(R"({"acceptAnyUser": true})");
    service->SetFault("", {StandinFaultKind::kNoAnswer, 200, "", {}});
    RequestTimeout::Set(std::chrono::seconds(30));
    std::thread client([] { Login(u"never-answered", u"secret"); });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (service->GetRequests().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(service->GetRequests().size(), 1u);
    auto start = std::chrono::steady_clock::now();
    service.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    client.join();
    EXPECT_EQ(HasCachedToken(u"never-answered"), 0);
}

}  // namespace
