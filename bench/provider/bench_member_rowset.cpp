// The members rowset over one level of 1,000,000 members (and of 100,000), Execute and the
// read of every row, beside its floor: the same answer received with the REST library, parsed
// on the calling thread and walked into member records. The answer comes over loopback from a
// stand-in service in a child process. Each side is measured as the first Execute of a fresh
// process (this program run again) and as the best of several in this one; memory is counted
// through the global operator new and as the process's resident peak.
#include <benchmark/benchmark.h>
#include <cpprest/http_client.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/process_figures.h"
#include "bench/service_process.h"
#include "client/basic_authorization.h"
#include "client/json_parsers.h"
#include "client/login.h"
#include "client/service_address.h"
#include "client/wide_text.h"
#include "provider/zelmo_session.h"

namespace {

constexpr int kLargeLevel = 1000000;
constexpr int kSmallLevel = 100000;

// The level of each size has its own number, so one service serves both.
int LevelOf(int members) { return members == kLargeLevel ? 2 : 1; }

std::string MembersPath(int members) {
    return "/api/models/7/dimensions/3/levels/" + std::to_string(LevelOf(members)) + "/members";
}

// Short names, one place each, under a parent of the level above.
std::string MembersAnswer(int members) {
    const std::string level = std::to_string(LevelOf(members));
    std::string text = "[";
    text.reserve(size_t(members) * 330);
    for (int i = 0; i < members; ++i) {
        const std::string id = std::to_string(i);
        const std::string parent = std::to_string(i / 100);
        if (i != 0) text += ',';
        text +=
            R"({"id":"m)" + id + R"(","name":"Member )" + id +
            R"(","alias":"","numChildren":0,"numPositions":1,"dimensionNumber":3,)" +
            R"("mdxMemberOrdinal":)" + id +
            R"(,"isAttribute":false,"isExpression":false,"positions":[{"mdxParentMemberId":"p)" +
            parent + R"(","mdxParentMemberName":"[Region <3>].[Parent )" + parent + " <p" + parent +
            R"(>]","level":)" + level + R"(,"levelName":"Level )" + level + R"("}]})";
    }
    return text + "]";
}

using process_figures::Figures;
using process_figures::Measurement;
using process_figures::Seconds;

// The floor: the body read out of the REST library's buffer once, parsed, the tree walked into
// records and freed, all on the calling thread.
Figures MeasureFloor(int members) {
    Figures figures;
    {
        const Measurement measurement;
        std::vector<JSONMember> records;
        {
            web::http::client::http_client client{web::uri(ServiceAddress::Get())};
            web::http::http_request request(web::http::methods::GET);
            request.set_request_uri(web::uri(MembersPath(members)));
            request.headers().add(web::http::header_names::authorization,
                                  Utf16ToUtf8(MakeBasicAuthorization(u"api", u"key")));
            web::http::http_response response = client.request(request).get();
            response.content_ready().get();
            concurrency::streams::streambuf<uint8_t> buffer = response.body().streambuf();
            std::string text(buffer.in_avail(), '\0');
            buffer.getn(reinterpret_cast<uint8_t*>(text.data()), text.size()).get();
            const web::json::value tree = web::json::value::parse(text);
            std::string().swap(text);
            records = ParseMembersResponse(tree);
        }
        measurement.Stop(figures);
        measurement.Peaks(figures);
        figures.good = records.size() == size_t(members);
    }
    return figures;
}

// A session whose cache holds the model, its dimension and both levels, as after browsing.
CComPolyObject<ZelmoSession>* BrowsedSession() {
    CComPolyObject<ZelmoSession>* session = nullptr;
    if (FAILED(CComPolyObject<ZelmoSession>::CreateInstance(nullptr, &session))) std::abort();
    session->AddRef();
    ZelmoSession& self = session->m_contained;
    JSONModel model(u"7", u"Big", u"", u"0", u"0");
    JSONDimension region(3, u"d3", u"Region", JSONMember(), kLargeLevel + kSmallLevel, 1);
    region.levels.emplace_back(1, kSmallLevel);
    region.levels.emplace_back(2, kLargeLevel);
    model.dimensions.push_back(std::move(region));
    self.cachedModels.push_back(std::move(model));
    self.modelIdByName.emplace(u"Big", u"7");
    return session;
}

// Reads every row with every column bound; returns the rows read.
size_t ReadAllRows(IRowset* rowset) {
    DBORDINAL count = 0;
    DBCOLUMNINFO* info = nullptr;
    OLECHAR* names = nullptr;
    CComQIPtr<IColumnsInfo>(rowset)->GetColumnInfo(&count, &info, &names);
    std::vector<DBBINDING> bindings(count);
    DBBYTEOFFSET offset = 0;
    for (DBORDINAL c = 0; c < count; ++c) {
        DBBINDING& binding = bindings[c];
        binding = DBBINDING{};
        binding.iOrdinal = info[c].iOrdinal;
        binding.wType = info[c].wType;
        binding.cbMaxLen = info[c].ulColumnSize;
        binding.dwPart = DBPART_VALUE | DBPART_STATUS;
        binding.dwMemOwner = DBMEMOWNER_CLIENTOWNED;
        binding.obStatus = offset;
        binding.obValue = offset + 8;
        offset += 8 + (info[c].ulColumnSize + 7) / 8 * 8;
    }
    CoTaskMemFree(info);
    CoTaskMemFree(names);
    HACCESSOR accessor = DB_NULL_HACCESSOR;
    CComQIPtr<IAccessor> accessors(rowset);
    if (accessors->CreateAccessor(DBACCESSOR_ROWDATA, count, bindings.data(), offset, &accessor,
                                  nullptr) != S_OK)
        std::abort();
    std::vector<BYTE> buffer(offset);
    size_t rows = 0;
    for (;;) {
        DBCOUNTITEM obtained = 0;
        HROW handles[100];
        HROW* handleArray = handles;
        const HRESULT hr = rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 100, &obtained, &handleArray);
        for (DBCOUNTITEM i = 0; i < obtained; ++i)
            if (rowset->GetData(handles[i], accessor, buffer.data()) == S_OK) ++rows;
        if (obtained != 0) rowset->ReleaseRows(obtained, handles, nullptr, nullptr, nullptr);
        if (hr != S_OK || obtained == 0) break;
    }
    accessors->ReleaseAccessor(accessor, nullptr);
    return rows;
}

// The rowset on a browsed session: Execute timed, then every row read (its seconds are the
// extra figure) before the peaks and what is held are taken; the session's cached members are
// freed afterwards.
Figures MeasureRowset(CComPolyObject<ZelmoSession>* session, int members,
                      double* rowBytes = nullptr) {
    const std::u16string level =
        u"[Region <3>].[Level <" + Utf8ToUtf16(std::to_string(LevelOf(members))) + u">]";
    CComVariant restrictions[6];
    restrictions[2] = CComVariant(u"Big");
    restrictions[4] = CComVariant(u"[Region <3>]");
    restrictions[5] = CComVariant(level.c_str());
    Figures figures;
    {
        const Measurement measurement;
        CComPolyObject<CMemberRowset>* object = nullptr;
        if (FAILED(CComPolyObject<CMemberRowset>::CreateInstance(nullptr, &object))) std::abort();
        CComPtr<IRowset> rowset;
        object->QueryInterface(IID_IRowset, reinterpret_cast<void**>(&rowset));
        CMemberRowset& rows = object->m_contained;
        CComPtr<IUnknown> site;
        session->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&site));
        rows.SetSite(site);
        DBROWCOUNT count = 0;
        const bool executed = rows.Execute(&count, 6, restrictions) == S_OK;
        measurement.Stop(figures);
        const auto read = std::chrono::steady_clock::now();
        const size_t readRows = ReadAllRows(rowset);
        figures.extra = Seconds(std::chrono::steady_clock::now() - read);
        measurement.Peaks(figures);
        if (rowBytes != nullptr) *rowBytes = static_cast<double>(rows.m_rgRowData.MemoryUsed());
        figures.good = executed && count == members && readRows == size_t(members);
    }
    for (JSONLevel& cached : session->m_contained.cachedModels[0].dimensions[0].levels)
        std::vector<JSONMember>().swap(cached.members);
    return figures;
}

// The fresh process's side: one measurement, its figures on standard output.
int RunFresh(const std::string& side, int members) {
    if (side == "floor") {
        MeasureFloor(members).Print();
    } else {
        // Browsing the cubes has logged the session's user in.
        Login(u"", u"");
        CComPolyObject<ZelmoSession>* session = BrowsedSession();
        MeasureRowset(session, members).Print();
        session->Release();
    }
    return 0;
}

// The first Execute of a fresh process for each side, then the floor and the rowset in turn in
// this process: times are the best of the iterations, peaks the highest.
void BM_MemberRowsetAgainstFloor(benchmark::State& state) {
    const int members = static_cast<int>(state.range(0));
    const std::vector<std::string> arguments = {"--members=" + std::to_string(members),
                                                "--address=" + ServiceAddress::Get()};
    const Figures firstFloor = process_figures::MeasureInFreshProcess(arguments, "floor");
    const Figures firstRowset = process_figures::MeasureInFreshProcess(arguments, "rowset");
    Login(u"", u"");
    CComPolyObject<ZelmoSession>* session = BrowsedSession();
    Figures floor;
    Figures rowset;
    double rowBytes = 0;
    for (auto _ : state) {
        floor.Keep(MeasureFloor(members));
        rowset.Keep(MeasureRowset(session, members, &rowBytes));
    }
    session->Release();
    if (!(firstFloor.good && firstRowset.good && floor.good && rowset.good))
        state.SkipWithError("the level was not read whole");
    const double perMember = 1.0 / members;
    state.counters["first_floor_s"] = firstFloor.seconds;
    state.counters["first_rowset_s"] = firstRowset.seconds;
    state.counters["first_time_x_floor"] = firstRowset.seconds / firstFloor.seconds;
    state.counters["first_floor_rss_MB"] = firstFloor.residentPeak / 1e6;
    state.counters["first_rowset_rss_MB"] = firstRowset.residentPeak / 1e6;
    state.counters["first_rss_x_floor"] = firstRowset.residentPeak / firstFloor.residentPeak;
    state.counters["first_heap_x_floor"] = firstRowset.heapPeak / firstFloor.heapPeak;
    state.counters["first_held_per_member"] = firstRowset.heldBytes * perMember;
    state.counters["floor_s"] = floor.seconds;
    state.counters["rowset_s"] = rowset.seconds;
    state.counters["read_s"] = rowset.extra;
    state.counters["time_x_floor"] = rowset.seconds / floor.seconds;
    state.counters["floor_rss_MB"] = floor.residentPeak / 1e6;
    state.counters["rowset_rss_MB"] = rowset.residentPeak / 1e6;
    state.counters["rss_x_floor"] = rowset.residentPeak / floor.residentPeak;
    state.counters["floor_heap_MB"] = floor.heapPeak / 1e6;
    state.counters["rowset_heap_MB"] = rowset.heapPeak / 1e6;
    state.counters["heap_x_floor"] = rowset.heapPeak / floor.heapPeak;
    state.counters["held_per_member"] = rowset.heldBytes * perMember;
    state.counters["row_bytes"] = rowBytes * perMember;
}

}  // namespace

BENCHMARK(BM_MemberRowsetAgainstFloor)->Arg(kLargeLevel)->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_MemberRowsetAgainstFloor)
    ->Arg(kSmallLevel)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::string fresh;
    int members = kLargeLevel;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--fresh=", 0) == 0) fresh = argument.substr(8);
        if (argument.rfind("--members=", 0) == 0) members = std::atoi(argument.c_str() + 10);
        if (argument.rfind("--address=", 0) == 0) ServiceAddress::Set(argument.substr(10));
    }
    if (!fresh.empty()) return RunFresh(fresh, members);
    // Before any thread exists, so that the child starts clean.
    ServiceAddress::Set(
        StartServiceProcess(R"({"acceptAnyUser": true})", [](StandinService& service) {
            for (int members : {kSmallLevel, kLargeLevel})
                service.SetFault(
                    MembersPath(members),
                    StandinFault{StandinFaultKind::kErrorStatus, 200, MembersAnswer(members), {}});
        }));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
