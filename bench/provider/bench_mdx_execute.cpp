// ICommand::Execute of an MDX statement whose answer is a table of 1,000 x 1,000 cells, beside
// its floor: the same POST with the REST library, the gunzip and the JSON parse of the answer on
// the calling thread. The answer comes over loopback from a stand-in service in a child process.
// Each side is measured as the first of a fresh process and as the best of several in this one.
#include <benchmark/benchmark.h>
#include <cpprest/http_client.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/mdx_answer.h"
#include "bench/process_figures.h"
#include "bench/service_process.h"
#include "client/basic_authorization.h"
#include "client/login.h"
#include "client/service_address.h"
#include "client/wide_text.h"
#include "provider/zelmo_data_source.h"
#include "tools/standin/gzip_text.h"

using process_figures::Figures;
using process_figures::Measurement;

namespace {

constexpr int kRows = 1000;
constexpr int kColumns = 1000;
constexpr char kStatement[] = "SELECT [Account].Members ON COLUMNS, [Product].Members ON ROWS";
constexpr char16_t kUser[] = u"ann@example.com";
constexpr char16_t kPassword[] = u"secret";

// The floor: the POST, the body read out of the REST library's buffer, inflated, parsed and
// freed on the calling thread.
Figures MeasureFloor(const APIAuthToken& token) {
    Figures figures;
    const Measurement measurement;
    {
        web::http::client::http_client client{web::uri(ServiceAddress::Get())};
        web::http::http_request request(web::http::methods::POST);
        request.set_request_uri(web::uri("/api/models/mdx"));
        request.headers().add(
            web::http::header_names::authorization,
            Utf16ToUtf8(MakeBasicAuthorization(token.GetApiUser(), token.GetApiKey())));
        request.headers().add(web::http::header_names::accept_encoding, "gzip,deflate");
        web::json::value body = web::json::value::object();
        body["query"] = web::json::value::string(kStatement);
        request.set_body(body);
        web::http::http_response response = client.request(request).get();
        response.content_ready().get();
        concurrency::streams::streambuf<uint8_t> buffer = response.body().streambuf();
        std::vector<unsigned char> gzip(buffer.in_avail());
        buffer.getn(gzip.data(), gzip.size()).get();
        const unsigned char* trailer = gzip.data() + gzip.size() - 4;
        std::string text(trailer[0] | trailer[1] << 8 | trailer[2] << 16 | size_t{trailer[3]} << 24,
                         '\0');
        z_stream stream{};
        inflateInit2(&stream, 31);
        stream.next_in = gzip.data();
        stream.avail_in = static_cast<uInt>(gzip.size());
        stream.next_out = reinterpret_cast<Bytef*>(text.data());
        stream.avail_out = static_cast<uInt>(text.size());
        const bool inflated = inflate(&stream, Z_FINISH) == Z_STREAM_END;
        inflateEnd(&stream);
        std::vector<unsigned char>().swap(gzip);
        const web::json::value tree = web::json::value::parse(text);
        std::string().swap(text);
        figures.good =
            inflated && tree.at("values").at("values").size() == size_t{kRows} * kColumns;
    }
    measurement.Stop(figures);
    measurement.Peaks(figures);
    return figures;
}

// A command on an initialised data source's session, as a consumer holds one.
CComPtr<ICommandText> OpenCommand() {
    CComPolyObject<ZelmoDataSource>* object = nullptr;
    if (FAILED(CComPolyObject<ZelmoDataSource>::CreateInstance(nullptr, &object))) std::abort();
    CComPtr<IUnknown> dataSource;
    object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&dataSource));
    DBPROP properties[2] = {};
    properties[0].dwPropertyID = DBPROP_AUTH_USERID;
    properties[1].dwPropertyID = DBPROP_AUTH_PASSWORD;
    CComVariant user(kUser);
    CComVariant password(kPassword);
    properties[0].vValue = user;
    properties[1].vValue = password;
    DBPROPSET set{properties, 2, DBPROPSET_DBINIT};
    CComPtr<ICommandText> command;
    CComPtr<IDBCreateCommand> session;
    if (CComQIPtr<IDBProperties>(dataSource)->SetProperties(1, &set) != S_OK ||
        CComQIPtr<IDBInitialize>(dataSource)->Initialize() != S_OK ||
        CComQIPtr<IDBCreateSession>(dataSource)
                ->CreateSession(nullptr, IID_IDBCreateCommand,
                                reinterpret_cast<IUnknown**>(&session)) != S_OK ||
        session->CreateCommand(nullptr, IID_ICommandText, reinterpret_cast<IUnknown**>(&command)) !=
            S_OK ||
        command->SetCommandText(MDGUID_MDX, Utf8ToUtf16(kStatement).c_str()) != S_OK)
        std::abort();
    return command;
}

// Execute with the dataset released at once; the command keeps the result, which its next
// Execute frees.
Figures MeasureExecute(ICommandText* command) {
    Figures figures;
    const Measurement measurement;
    CComPtr<IMDDataset> dataset;
    figures.good = command->Execute(nullptr, IID_IMDDataset, nullptr, nullptr,
                                    reinterpret_cast<IUnknown**>(&dataset)) == S_OK;
    dataset = nullptr;
    measurement.Stop(figures);
    measurement.Peaks(figures);
    return figures;
}

// The fresh process's side: one measurement after the login, its figures on standard output.
int RunFresh(const std::string& side) {
    const APIAuthToken token = Login(kUser, kPassword);
    if (side == "floor") {
        MeasureFloor(token).Print();
    } else {
        CComPtr<ICommandText> command = OpenCommand();
        MeasureExecute(command).Print();
    }
    return 0;
}

void BM_MdxExecuteAgainstFloor(benchmark::State& state) {
    const std::vector<std::string> arguments = {"--address=" + ServiceAddress::Get()};
    const Figures firstFloor = process_figures::MeasureInFreshProcess(arguments, "floor");
    const Figures firstExecute = process_figures::MeasureInFreshProcess(arguments, "execute");
    const APIAuthToken token = Login(kUser, kPassword);
    CComPtr<ICommandText> command = OpenCommand();
    Figures floor;
    Figures execute;
    for (auto _ : state) {
        floor.Keep(MeasureFloor(token));
        execute.Keep(MeasureExecute(command));
    }
    if (!(firstFloor.good && firstExecute.good && floor.good && execute.good))
        state.SkipWithError("the answer was not read");
    state.counters["first_floor_ms"] = firstFloor.seconds * 1e3;
    state.counters["first_execute_ms"] = firstExecute.seconds * 1e3;
    state.counters["first_time_x_floor"] = firstExecute.seconds / firstFloor.seconds;
    state.counters["first_rss_x_floor"] = firstExecute.residentPeak / firstFloor.residentPeak;
    state.counters["floor_ms"] = floor.seconds * 1e3;
    state.counters["execute_ms"] = execute.seconds * 1e3;
    state.counters["time_x_floor"] = execute.seconds / floor.seconds;
    state.counters["floor_heap_MB"] = floor.heapPeak / 1e6;
    state.counters["execute_heap_MB"] = execute.heapPeak / 1e6;
}

}  // namespace

BENCHMARK(BM_MdxExecuteAgainstFloor)->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::string fresh;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--fresh=", 0) == 0) fresh = argument.substr(8);
        if (argument.rfind("--address=", 0) == 0) ServiceAddress::Set(argument.substr(10));
    }
    if (!fresh.empty()) return RunFresh(fresh);
    // Before any thread exists, so that the child starts clean.
    // Compressed once, so that the service spends no time of its own on each answer.
    ServiceAddress::Set(
        StartServiceProcess(R"({"acceptAnyUser": true})", [](StandinService& service) {
            service.SetMdxBody(kStatement, GzipText(mdx_answer::MdxAnswerJson(kRows, kColumns)));
        }));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
