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
#include "bench/mdx_answer.h"
#include "tools/standin/gzip_text.h"

using counting_allocator::liveBytes;
using counting_allocator::peakBytes;

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 100;

struct Answer {
    std::string text;
    std::vector<unsigned char> body;
};

const Answer& TheAnswer() {
    static const Answer* answer = [] {
        auto* made = new Answer;
        made->text = mdx_answer::MdxAnswerJson(kRows, kColumns);
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
