// ParseMdxResult on a generated answer of 1,000,000 cells, beside its floor: zlib inflate alone
// plus the REST library's JSON parse alone on the same text. Memory is counted through the
// global operator new, which the REST library's allocations go through as well.
#include <benchmark/benchmark.h>
#include <cpprest/json.h>
#include <malloc.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "client/mdx_query.h"
#include "bench/counting_allocator.h"
#include "tools/standin/gzip_text.h"

using counting_allocator::liveBytes;
using counting_allocator::peakBytes;

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 100;

std::string MemberJson(const std::string& id, const std::string& name, int level,
                       const std::string& parent) {
    return R"({"id":")" + id + R"(","name":")" + name + R"(","alias":"","numChildren":0,)" +
           R"("numPositions":1,"dimensionNumber":1,"mdxMemberOrdinal":)" + id.substr(1) +
           R"(,"isAttribute":false,"isExpression":false,"positions":[{"mdxParentMemberId":")" +
           parent + R"(","mdxParentMemberName":"[D].[)" + parent + R"(]","level":)" +
           std::to_string(level) + R"(,"levelName":"Level )" + std::to_string(level) + R"("}]})";
}

std::string AxisJson(const char* type, const char* dimension, int number, int count, char prefix) {
    std::vector<std::string> members;
    members.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::string id = prefix + std::to_string(i);
        members.push_back(MemberJson(id, std::string(dimension) + " member " + std::to_string(i), 2,
                                     std::string(1, prefix) + std::to_string(i / 10)));
    }
    std::string text = std::string(R"({"type":")") + type + R"(","dimensions":[{)" +
                       R"("dimensionNumber":)" + std::to_string(number) + R"(,"dimensionName":")" +
                       dimension +
                       R"(","memberParentUniqueName":true,"memberName":true,"memberType":true,)" +
                       R"("members":[)";
    for (int i = 0; i < count; ++i) {
        text += (i ? "," : "") + members[i];
    }
    text += R"(],"parentMemberPositions":[]}],"crossProductTuples":[)";
    for (int i = 0; i < count; ++i) {
        text += std::string(i ? "," : "") + R"({"members":[)" + members[i] +
                R"(],"parentMemberPositions":[0]})";
    }
    return text + "]}";
}

// A planning model's figures: two decimals, four to eight characters.
std::string AnswerJson() {
    std::string text = R"({"values":{"numRows":)" + std::to_string(kRows) + R"(,"numColumns":)" +
                       std::to_string(kColumns) + R"(,"values":[)";
    unsigned int seed = 12345;
    char cell[32];
    for (int i = 0; i < kRows * kColumns; ++i) {
        seed = seed * 1103515245u + 12345u;
        unsigned int cents = (seed >> 8) % 10000000u;
        std::snprintf(cell, sizeof cell, "%s\"%u.%02u\"", i ? "," : "", cents / 100, cents % 100);
        text += cell;
    }
    text += "]},\"axes\":[" + AxisJson("COLUMNS", "Account", 1, kColumns, 'a') + "," +
            AxisJson("ROWS", "Product", 2, kRows, 'p') + "]}";
    return text;
}

struct Answer {
    std::string text;
    std::vector<unsigned char> body;
};

const Answer& TheAnswer() {
    static const Answer* answer = [] {
        auto* made = new Answer;
        made->text = AnswerJson();
        std::string body = GzipText(made->text);
        made->body.assign(body.begin(), body.end());
        return made;
    }();
    return *answer;
}

std::string Inflate(const std::vector<unsigned char>& body, size_t size) {
    std::string text(size, '\0');
    z_stream stream{};
    inflateInit2(&stream, 31);
    stream.next_in = const_cast<unsigned char*>(body.data());
    stream.avail_in = static_cast<uInt>(body.size());
    stream.next_out = reinterpret_cast<Bytef*>(text.data());
    stream.avail_out = static_cast<uInt>(text.size());
    inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return text;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_Inflate(benchmark::State& state) {
    const Answer& answer = TheAnswer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Inflate(answer.body, answer.text.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(answer.text.size()));
}

void BM_JsonParse(benchmark::State& state) {
    const Answer& answer = TheAnswer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(web::json::value::parse(answer.text));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(answer.text.size()));
}

// Inflate plus parse, as one step: what any decoder of this answer must at least spend.
void BM_Floor(benchmark::State& state) {
    const Answer& answer = TheAnswer();
    for (auto _ : state) {
        std::string text = Inflate(answer.body, answer.text.size());
        benchmark::DoNotOptimize(web::json::value::parse(text));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(answer.text.size()));
}

void BM_ParseMdxResult(benchmark::State& state) {
    const Answer& answer = TheAnswer();
    double textBytes = static_cast<double>(answer.text.size());

    // The floor, timed here as well so that the ratio comes from one run.
    double floorSeconds = 1e9;
    for (int i = 0; i < 3; ++i) {
        auto start = std::chrono::steady_clock::now();
        {
            std::string text = Inflate(answer.body, answer.text.size());
            benchmark::DoNotOptimize(web::json::value::parse(text));
        }
        floorSeconds = std::min(floorSeconds, Seconds(std::chrono::steady_clock::now() - start));
    }

    double parseSeconds = 1e9;
    double resultBytes = 0;
    double peakDuringParse = 0;
    bool good = true;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<unsigned char> body = answer.body;
        long long before = liveBytes.load();
        peakBytes.store(before);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        std::unique_ptr<RESTData> result = ParseMdxResult(std::move(body));
        auto end = std::chrono::steady_clock::now();
        state.PauseTiming();
        parseSeconds = std::min(parseSeconds, Seconds(end - start));
        // The body given to the parser counts towards neither figure.
        resultBytes = static_cast<double>(liveBytes.load() - before) +
                      static_cast<double>(answer.body.capacity());
        peakDuringParse = static_cast<double>(peakBytes.load() - before) +
                          static_cast<double>(answer.body.capacity());
        good = good && result->GetStatus() == 1 &&
               result->GetCellTable().GetValues().size() == size_t{kRows} * kColumns &&
               result->GetAxis(1).GetTuples().size() == size_t{kRows};
        result.reset();
        state.ResumeTiming();
    }
    if (!good) {
        state.SkipWithError("the answer did not parse");
    }
    state.counters["text_MB"] = textBytes / 1e6;
    state.counters["gzip_MB"] = static_cast<double>(answer.body.size()) / 1e6;
    state.counters["floor_ms"] = floorSeconds * 1e3;
    state.counters["parse_ms"] = parseSeconds * 1e3;
    state.counters["time_x_floor"] = parseSeconds / floorSeconds;
    state.counters["result_x_text"] = resultBytes / textBytes;
    state.counters["peak_x_text"] = peakDuringParse / textBytes;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(answer.text.size()));
}

// The REST library's parse tree alone, as a share of the text: the floor of the peak.
void BM_JsonTreeMemory(benchmark::State& state) {
    const Answer& answer = TheAnswer();
    double treeBytes = 0;
    for (auto _ : state) {
        long long before = liveBytes.load();
        web::json::value tree = web::json::value::parse(answer.text);
        treeBytes = static_cast<double>(liveBytes.load() - before);
        benchmark::DoNotOptimize(tree);
    }
    state.counters["tree_x_text"] = treeBytes / static_cast<double>(answer.text.size());
}

}  // namespace

BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMdxResult)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_JsonTreeMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
