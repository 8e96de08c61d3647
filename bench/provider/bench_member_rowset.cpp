// The members rowset over one level of 1,000,000 members, built and read in full through
// GetNextRows and GetData, beside GetMembers alone on the same answer. The answer comes over
// loopback from a stand-in service in a child process, so that its memory and work stay out of
// the figures; memory is counted through the global operator new.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/counting_allocator.h"
#include "client/member_requests.h"
#include "client/service_address.h"
#include "provider/zelmo_session.h"
#include "tools/standin/standin_service.h"

namespace {

constexpr int kMembers = 1000000;
constexpr char kMembersPath[] = "/api/models/7/dimensions/3/levels/2/members";

// Short names, one place each, under a parent of the level above.
std::string MembersAnswer() {
    std::string text = "[";
    text.reserve(size_t{kMembers} * 260);
    for (int i = 0; i < kMembers; ++i) {
        const std::string id = std::to_string(i);
        const std::string parent = std::to_string(i / 100);
        if (i != 0) text += ',';
        text +=
            R"({"id":"m)" + id + R"(","name":"Member )" + id +
            R"(","alias":"","numChildren":0,"numPositions":1,"dimensionNumber":3,)" +
            R"("mdxMemberOrdinal":)" + id +
            R"(,"isAttribute":false,"isExpression":false,"positions":[{"mdxParentMemberId":"p)" +
            parent + R"(","mdxParentMemberName":"[Region <3>].[Parent )" + parent + " <p" + parent +
            R"(>]","level":2,"levelName":"Level 2"}]})";
    }
    return text + "]";
}

// Serves the answer from a child process until this process ends; returns the service address.
std::string StartServiceProcess() {
    int portPipe[2];
    int lifePipe[2];
    if (pipe(portPipe) != 0 || pipe(lifePipe) != 0) std::abort();
    const pid_t child = fork();
    if (child < 0) std::abort();
    if (child == 0) {
        close(portPipe[0]);
        close(lifePipe[1]);
        StandinService service(R"({"acceptAnyUser": true})");
        service.SetFault(kMembersPath,
                         StandinFault{StandinFaultKind::kErrorStatus, 200, MembersAnswer(), {}});
        const uint16_t port = service.GetPort();
        if (write(portPipe[1], &port, sizeof port) != sizeof port) _exit(1);
        char ignored;
        while (read(lifePipe[0], &ignored, 1) > 0) {
        }
        _exit(0);
    }
    close(portPipe[1]);
    close(lifePipe[0]);  // the write end stays open for this process's life
    uint16_t port = 0;
    if (read(portPipe[0], &port, sizeof port) != sizeof port) std::abort();
    return "http://127.0.0.1:" + std::to_string(port);
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A session whose cache holds the model, its dimension and the level, as after browsing.
CComPolyObject<ZelmoSession>* BrowsedSession() {
    CComPolyObject<ZelmoSession>* session = nullptr;
    if (FAILED(CComPolyObject<ZelmoSession>::CreateInstance(nullptr, &session))) std::abort();
    session->AddRef();
    ZelmoSession& self = session->m_contained;
    JSONModel model(u"7", u"Big", u"", u"0", u"0");
    JSONDimension region(3, u"d3", u"Region", JSONMember(), kMembers, 1);
    region.levels.emplace_back(2, kMembers);
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

// Each iteration runs GetMembers alone, then the rowset, so that both see the same machine; times
// are the best of the iterations, peaks the highest.
void BM_MemberRowsetAgainstGetMembers(benchmark::State& state) {
    const APIAuthToken token(u"api", u"key");
    CComPolyObject<ZelmoSession>* session = BrowsedSession();
    CComVariant restrictions[6];
    restrictions[2] = CComVariant(u"Big");
    restrictions[4] = CComVariant(u"[Region <3>]");
    restrictions[5] = CComVariant(u"[Region <3>].[Level <2>]");

    double membersSeconds = 1e9;
    double rowsetSeconds = 1e9;
    double readSeconds = 1e9;
    double membersPeak = 0;
    double rowsetPeak = 0;
    double bytesPerRow = 0;
    bool good = true;
    for (auto _ : state) {
        {
            const long long before = counting_allocator::RestartPeak();
            const auto start = std::chrono::steady_clock::now();
            std::vector<JSONMember> members = GetMembers(token, "7", "3", "2");
            membersSeconds =
                std::min(membersSeconds, Seconds(std::chrono::steady_clock::now() - start));
            membersPeak = std::max(
                membersPeak, static_cast<double>(counting_allocator::peakBytes.load() - before));
            good = good && members.size() == size_t{kMembers};
        }
        {
            const long long before = counting_allocator::RestartPeak();
            const auto start = std::chrono::steady_clock::now();
            CComPolyObject<CMemberRowset>* object = nullptr;
            if (FAILED(CComPolyObject<CMemberRowset>::CreateInstance(nullptr, &object)))
                std::abort();
            CComPtr<IRowset> rowset;
            object->QueryInterface(IID_IRowset, reinterpret_cast<void**>(&rowset));
            CMemberRowset& members = object->m_contained;
            CComPtr<IUnknown> site;
            session->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&site));
            members.SetSite(site);
            DBROWCOUNT count = 0;
            good = good && members.Execute(&count, 6, restrictions) == S_OK;
            const auto read = std::chrono::steady_clock::now();
            const size_t rows = ReadAllRows(rowset);
            readSeconds = std::min(readSeconds, Seconds(std::chrono::steady_clock::now() - read));
            rowsetSeconds =
                std::min(rowsetSeconds, Seconds(std::chrono::steady_clock::now() - start));
            rowsetPeak = std::max(
                rowsetPeak, static_cast<double>(counting_allocator::peakBytes.load() - before));
            bytesPerRow = static_cast<double>(members.m_rgRowData.MemoryUsed()) /
                          static_cast<double>(std::max<size_t>(rows, 1));
            good = good && rows == size_t{kMembers} && count == kMembers;
        }
        session->m_contained.cachedModels[0].dimensions[0].levels[0].members.clear();
    }
    session->Release();
    if (!good) state.SkipWithError("the level was not read whole");
    state.counters["rows"] = kMembers;
    state.counters["getmembers_ms"] = membersSeconds * 1e3;
    state.counters["rowset_ms"] = rowsetSeconds * 1e3;
    state.counters["read_ms"] = readSeconds * 1e3;
    state.counters["bytes_per_row"] = bytesPerRow;
    state.counters["time_x_getmembers"] = rowsetSeconds / membersSeconds;
    state.counters["peak_x_getmembers"] = rowsetPeak / membersPeak;
    state.counters["getmembers_peak_MB"] = membersPeak / 1e6;
    state.counters["rowset_peak_MB"] = rowsetPeak / 1e6;
}

}  // namespace

BENCHMARK(BM_MemberRowsetAgainstGetMembers)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    // Before any thread exists, so that the child starts clean.
    ServiceAddress::Set(StartServiceProcess());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
