// Failures of the request frame over HTTP: each gives its operation's empty result.
#include <dirent.h>

#include <chrono>
#include <string>

#include "client/dimension_requests.h"
#include "client/login.h"
#include "client/member_requests.h"
#include "client/model_requests.h"
#include "tests/client/sample_model.h"
#include "tests/client/service_fixture.h"

namespace {

class RequestFrameTest : public ServiceTest {
  protected:
    void SetUp() override {
        StartService(kSampleModel);
        token = APIAuthToken(u"ann-api", u"ann-key");
    }

    // Every operation under the fault gives its empty result.
    void ExpectEmptyResults(const StandinFault& fault, const char* why) {
        service->SetFault("", fault);
        EXPECT_TRUE(GetModels(token).empty()) << why;
        EXPECT_TRUE(GetDimensions(token, "7").empty()) << why;
        EXPECT_EQ(GetDimension(token, "7", "3").GetName(), u"") << why;
        EXPECT_TRUE(GetLevels(token, "7", "3").empty()) << why;
        EXPECT_TRUE(GetMembers(token, "7", "3", "1").empty()) << why;
        EXPECT_TRUE(GetMdxMember(token, "7", "41").GetPositions().empty()) << why;
        EXPECT_TRUE(GetModelDimensionNames(token, u"7").empty()) << why;
        EXPECT_EQ(Login(u"ann@example.com", u"secret").IsLoggedIn(), 0) << why;
        service->ClearFaults();
    }

    APIAuthToken token;
};

TEST_F(RequestFrameTest, ErrorStatusIsAFailedRequestWhateverItsBody) {
    // Bodies that would read as good answers under status 200: an empty object, a list, a login.
    const struct {
        int status;
        const char* body;
    } cases[] = {
        {400, R"({"error": "unknown statement"})"},
        {401, R"({"apiUser": "u", "apiKey": "k"})"},
        {404, "{}"},
        {500, R"([{"id": "1", "name": "Listed anyway"}])"},
        {503, R"({"error": "unavailable"})"},
        {300, "[]"},
    };
    for (const auto& c : cases) {
        const std::string why = std::to_string(c.status) + " " + c.body;
        ExpectEmptyResults({StandinFaultKind::kErrorStatus, c.status, c.body, {}}, why.c_str());
        service->SetFault("", {StandinFaultKind::kErrorStatus, c.status, "Product,Value\n", {}});
        EXPECT_EQ(GetModelValuesCsv(token, u"7"), u"") << why;
        service->ClearFaults();
    }
}

TEST_F(RequestFrameTest, EverySuccessStatusIsReadAsAnAnswer) {
    for (int status : {200, 201, 203, 299}) {
        service->SetFault(
            "/api/models",
            {StandinFaultKind::kErrorStatus, status, R"([{"id": "1", "name": "Listed"}])", {}});
        std::vector<JSONModel> models = GetModels(token);
        ASSERT_EQ(models.size(), 1u) << status;
        EXPECT_EQ(models[0].GetName(), u"Listed") << status;
    }
    // An empty object is a good answer with nothing in it: the measures dimension alone.
    service->SetFault("", {StandinFaultKind::kErrorStatus, 200, "{}", {}});
    EXPECT_EQ(GetDimensions(token, "7").size(), 1u);
}

TEST_F(RequestFrameTest, BodyThatIsNotJson) {
    ExpectEmptyResults({StandinFaultKind::kNotJson, 200, "", {}}, "not JSON");
    EXPECT_EQ(GetModelValuesCsv(token, u"7"), u"Product,Value\nWidget,12.5\n");
}

TEST_F(RequestFrameTest, GzipBodiesAreNotJsonToTheMetadataRequests) {
    ExpectEmptyResults({StandinFaultKind::kDamagedGzip, 200, "", {}}, "gzip");
}

TEST_F(RequestFrameTest, DeeplyNestedBodyFailsWithoutCrashing) {
    StandinFault fault;
    fault.status = 200;
    fault.body = std::string(100000, '[') + std::string(100000, ']');
    ExpectEmptyResults(fault, "100000 arrays deep");
    fault.body.clear();
    for (int i = 0; i < 100000; ++i) {
        fault.body += "{\"a\":";
    }
    fault.body += "1" + std::string(100000, '}');
    ExpectEmptyResults(fault, "100000 objects deep");
}

TEST_F(RequestFrameTest, WrongTypeAtEachKeyEmptiesTheWholeAnswer) {
    const char* modelCases[] = {
        R"([{"id": 7, "name": "A"}])",
        R"([{"id": "7", "name": 1}])",
        R"([{"id": "7", "desc": []}])",
        R"([{"id": "7", "createdEpochSeconds": 1700000000}])",
        R"([{"id": "7", "updatedEpochSeconds": true}])",
        R"([{"id": "7"}, 5])",
        R"([{"id": "7"}, "text"])",
        R"([{"id": "7"}, [1]])",
    };
    for (const char* body : modelCases) {
        service->SetFault("/api/models", {StandinFaultKind::kErrorStatus, 200, body, {}});
        EXPECT_TRUE(GetModels(token).empty()) << body;
    }
    const char* dimensionCases[] = {
        R"([{"number": "3"}])",
        R"([{"id": 3}])",
        R"([{"name": false}])",
        R"([{"memberCardinality": "3"}])",
        R"([{"dimensionOrdinal": 1.5e40}])",
        R"([{"allMember": {"id": 1}}])",
        R"([{"allMember": {"isAttribute": 1}}])",
        R"([{"allMember": {"numChildren": "2"}}])",
        R"([{"allMember": 5}])",
        R"([[]])",
        R"([{"number": 3}, "x"])",
    };
    for (const char* body : dimensionCases) {
        service->SetFault("/api/models/7/dimensions",
                          {StandinFaultKind::kErrorStatus, 200, body, {}});
        EXPECT_TRUE(GetDimensions(token, "7").empty()) << body;
    }
    const char* memberCases[] = {
        R"([{"id": 41}])",
        R"([{"alias": 1}])",
        R"([{"numPositions": "2"}])",
        R"([{"dimensionNumber": {}}])",
        R"([{"mdxMemberOrdinal": 3000000000}])",
        R"([{"isExpression": "yes"}])",
        R"([{"positions": [{"level": "1"}]}])",
        R"([{"positions": [{"levelName": 1}]}])",
        R"([{"positions": [{"mdxParentMemberId": 0}]}])",
        R"([{"positions": [{"mdxParentMemberName": []}]}])",
        R"([{"positions": [7]}])",
    };
    for (const char* body : memberCases) {
        service->SetFault("/api/models/7/dimensions/3/levels/1/members",
                          {StandinFaultKind::kErrorStatus, 200, body, {}});
        EXPECT_TRUE(GetMembers(token, "7", "3", "1").empty()) << body;
    }
    const char* levelCases[] = {
        R"([{"number": 0, "memberCardinality": 1}, {"number": 1}])",
        R"([{"number": null, "memberCardinality": 1}])",
        R"([{"number": "0", "memberCardinality": 1}])",
        R"([{"number": 0, "memberCardinality": 1}, 3])",
    };
    for (const char* body : levelCases) {
        service->SetFault("/api/models/7/dimensions/3/levels",
                          {StandinFaultKind::kErrorStatus, 200, body, {}});
        EXPECT_TRUE(GetLevels(token, "7", "3").empty()) << body;
    }
}

TEST_F(RequestFrameTest, SlowBodyWithinTheTimeOutSucceeds) {
    RequestTimeout::Set(std::chrono::seconds(5));
    service->SetFault("", {StandinFaultKind::kSlowBody, 200, "", std::chrono::milliseconds(50)});
    EXPECT_EQ(GetModels(token).size(), 2u);
    EXPECT_EQ(GetModelValuesCsv(token, u"7"), u"Product,Value\nWidget,12.5\n");
}

TEST_F(RequestFrameTest, NoAnswerAndSlowBodyEndAtTheTimeOut) {
    RequestTimeout::Set(std::chrono::milliseconds(300));
    auto start = std::chrono::steady_clock::now();
    service->SetFault("", {StandinFaultKind::kNoAnswer, 200, "", {}});
    EXPECT_TRUE(GetModels(token).empty());
    EXPECT_EQ(GetModelValuesCsv(token, u"7"), u"");
    EXPECT_EQ(Login(u"ann@example.com", u"secret").IsLoggedIn(), 0);
    service->SetFault("", {StandinFaultKind::kSlowBody, 200, "", std::chrono::seconds(5)});
    EXPECT_TRUE(GetLevels(token, "7", "3").empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
}

TEST_F(RequestFrameTest, InvalidOrUnreachableAddress) {
    const std::string addresses[] = {
        "\xEF\xBB\xBF" + service->GetAddress(),  // a BOM from a config file
        "",
        "not a uri",
        "http://127.0.0.1:1",
    };
    for (const std::string& address : addresses) {
        ServiceAddress::Set(address);
        EXPECT_TRUE(GetModels(token).empty()) << address;
        EXPECT_EQ(Login(u"ann@example.com", u"secret").IsLoggedIn(), 0) << address;
        EXPECT_EQ(GetModelValuesCsv(token, u"7"), u"") << address;
    }
    EXPECT_TRUE(service->GetRequests().empty());
}

TEST_F(RequestFrameTest, RestLibraryRunsASmallThreadPool) {
    ASSERT_EQ(GetModels(token).size(), 2u);
    size_t threads = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(tasks)) {
            threads += entry->d_name[0] != '.';
        }
        closedir(tasks);
    }
    // The library's own default is 40 workers.
    EXPECT_GT(threads, 0u);
    EXPECT_LT(threads, 20u);
}

}  // namespace
