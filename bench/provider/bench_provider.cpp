// The dataset's GetCellData over every cell of a 1,000,000-cell answer (the client benchmark's
// figures, 10,000 rows x 100 columns) beside the text-to-double conversion of the same texts,
// and reading a 100,000-tuple axis rowset through GetNextRows and GetData. The objects are
// driven in-process: a command holds a result built in memory and creates its dataset through
// the framework as Execute does, so no network time is measured.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "client/rest_data.h"
#include "provider/zelmo_command.h"
#include "provider/zelmo_rowset.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 100;
constexpr int kAxisTuples = 100000;
constexpr DBORDINAL kCellsPerCall = 10000;

// The client benchmark's cell texts: a planning model's figures, two decimals.
std::vector<std::u16string> CellTexts() {
    std::vector<std::u16string> values;
    values.reserve(size_t{kRows} * kColumns);
    unsigned int seed = 12345;
    char cell[32];
    for (int i = 0; i < kRows * kColumns; ++i) {
        seed = seed * 1103515245u + 12345u;
        const unsigned int cents = (seed >> 8) % 10000000u;
        const int n = std::snprintf(cell, sizeof cell, "%u.%02u", cents / 100, cents % 100);
        values.emplace_back(cell, cell + n);
    }
    return values;
}

std::u16string Wide(const std::string& text) { return {text.begin(), text.end()}; }

// One dimension of count members with all three optional columns, its tuples listed.
RESTAxis MemberAxis(const char16_t* type, const std::string& dimension, int number, int count,
                    char prefix) {
    RESTAxis axis(type);
    RESTAxisDimension dim(number, Wide(dimension), 1, 1, 1);
    for (int i = 0; i < count; ++i) {
        const std::string id = prefix + std::to_string(i);
        const std::string parent = prefix + std::to_string(i / 10);
        JSONMember member(Wide(id), Wide(dimension + " member " + std::to_string(i)), u"", 0, 1,
                          number, i, 0, 0);
        member.AddPosition(
            MemberPosition(Wide(parent), Wide("[D].[" + parent + "]"), 2, u"Level 2"));
        dim.GetMembers().push_back(member);
        axis.GetTuples().push_back(RESTTuple({member}));
    }
    axis.GetDimensions().push_back(std::move(dim));
    return axis;
}

std::shared_ptr<RESTData> CellAnswer() {
    auto result = std::make_shared<RESTData>();
    RESTCellTable cells(kRows, kColumns);
    cells.GetValues() = CellTexts();
    result->SetCellTable(std::move(cells));
    result->GetAxes().push_back(MemberAxis(u"COLUMNS", "Account", 1, kColumns, 'a'));
    result->GetAxes().push_back(MemberAxis(u"ROWS", "Product", 2, kRows, 'p'));
    return result;
}

std::shared_ptr<RESTData> AxisAnswer() {
    auto result = std::make_shared<RESTData>();
    RESTCellTable cells(1, 1);
    cells.GetValues().emplace_back(u"1");
    result->SetCellTable(std::move(cells));
    result->GetAxes().push_back(MemberAxis(u"COLUMNS", "Product", 2, kAxisTuples, 'p'));
    return result;
}

// A command that holds the result and the dataset it made, as after Execute.
struct Executed {
    CComPtr<ICommandText> command;
    CComPtr<IMDDataset> dataset;

    explicit Executed(std::shared_ptr<RESTData> result) {
        CComPolyObject<ZelmoCommand>* object = nullptr;
        if (FAILED(CComPolyObject<ZelmoCommand>::CreateInstance(nullptr, &object))) std::abort();
        object->QueryInterface(IID_ICommandText, reinterpret_cast<void**>(&command));
        command->SetCommandText(MDGUID_MDX, u"SELECT");
        if (object->m_contained.AcceptResult(std::move(result), nullptr, IID_IMDDataset, nullptr,
                                             nullptr,
                                             reinterpret_cast<IUnknown**>(&dataset)) != S_OK)
            std::abort();
    }
};

HACCESSOR MakeAccessor(IUnknown* object, const std::vector<DBBINDING>& bindings, DBLENGTH rowSize) {
    CComQIPtr<IAccessor> accessor(object);
    HACCESSOR handle = DB_NULL_HACCESSOR;
    if (accessor->CreateAccessor(DBACCESSOR_ROWDATA, bindings.size(), bindings.data(), rowSize,
                                 &handle, nullptr) != S_OK)
        std::abort();
    return handle;
}

DBBINDING Bind(DBORDINAL ordinal, DBTYPE type, DBBYTEOFFSET value, DBBYTEOFFSET status,
               DBLENGTH maxLength = 0) {
    DBBINDING binding{};
    binding.iOrdinal = ordinal;
    binding.wType = type;
    binding.obValue = value;
    binding.obStatus = status;
    binding.cbMaxLen = maxLength;
    binding.dwPart = DBPART_VALUE | DBPART_STATUS;
    binding.dwMemOwner = DBMEMOWNER_CLIENTOWNED;
    return binding;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The C runtime's conversion of every text, each checked for full consumption as the dataset
// checks it; the texts are made wchar_t beforehand.
double WcstodSeconds(const std::vector<std::wstring>& texts) {
    const auto start = std::chrono::steady_clock::now();
    double sum = 0;
    for (const std::wstring& text : texts) {
        wchar_t* end = nullptr;
        const double value = std::wcstod(text.c_str(), &end);
        if (*end == L'\0') sum += value;
    }
    benchmark::DoNotOptimize(sum);
    return Seconds(std::chrono::steady_clock::now() - start);
}

// The fastest standard conversion, std::from_chars, on the result's own texts (each narrowed
// into a local buffer first, as UTF-16 texts must be).
double FromCharsSeconds(const std::vector<std::u16string>& texts) {
    const auto start = std::chrono::steady_clock::now();
    double sum = 0;
    char narrow[64];
    for (const std::u16string& text : texts) {
        const size_t n = std::min(text.size(), sizeof narrow);
        for (size_t i = 0; i < n; ++i) narrow[i] = static_cast<char>(text[i]);
        double value = 0;
        const auto result = std::from_chars(narrow, narrow + n, value);
        if (result.ptr == narrow + n) sum += value;
    }
    benchmark::DoNotOptimize(sum);
    return Seconds(std::chrono::steady_clock::now() - start);
}

void BM_GetCellDataAllCells(benchmark::State& state) {
    auto result = CellAnswer();
    std::vector<std::wstring> wideTexts;
    for (const std::u16string& text : result->GetCellTable().GetValues())
        wideTexts.emplace_back(text.begin(), text.end());
    const std::vector<std::u16string>& texts = result->GetCellTable().GetValues();
    Executed executed(result);
    constexpr DBLENGTH kRowSize = sizeof(VARIANT) + 8;
    const HACCESSOR accessor =
        MakeAccessor(executed.dataset, {Bind(1, DBTYPE_VARIANT, 0, sizeof(VARIANT))}, kRowSize);
    std::vector<BYTE> buffer(kCellsPerCall * kRowSize);
    constexpr DBORDINAL kCells = DBORDINAL{kRows} * kColumns;

    double wcstodSeconds = 1e9;
    double fromCharsSeconds = 1e9;
    double cellSeconds = 1e9;
    bool good = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (DBORDINAL first = 0; first < kCells; first += kCellsPerCall) {
            const HRESULT hr = executed.dataset->GetCellData(
                accessor, first, first + kCellsPerCall - 1, buffer.data());
            good = good && hr == S_OK;
        }
        cellSeconds = std::min(cellSeconds, Seconds(std::chrono::steady_clock::now() - start));
        state.PauseTiming();
        wcstodSeconds = std::min(wcstodSeconds, WcstodSeconds(wideTexts));
        fromCharsSeconds = std::min(fromCharsSeconds, FromCharsSeconds(texts));
        VARIANT last;
        std::memcpy(&last, buffer.data() + (kCellsPerCall - 1) * kRowSize, sizeof(last));
        good = good && last.vt == VT_R8;
        state.ResumeTiming();
    }
    if (!good) state.SkipWithError("GetCellData did not read the cells");
    state.counters["cells"] = static_cast<double>(kCells);
    state.counters["getcelldata_ms"] = cellSeconds * 1e3;
    state.counters["wcstod_ms"] = wcstodSeconds * 1e3;
    state.counters["from_chars_ms"] = fromCharsSeconds * 1e3;
    state.counters["x_wcstod"] = cellSeconds / wcstodSeconds;
    state.counters["x_from_chars"] = cellSeconds / fromCharsSeconds;
    state.counters["ns_per_cell"] = cellSeconds * 1e9 / static_cast<double>(kCells);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kCells));
}

void BM_AxisRowsetRead(benchmark::State& state) {
    Executed executed(AxisAnswer());
    CComPtr<IRowset> rowset;
    if (executed.dataset->GetAxisRowset(nullptr, MDAXIS_COLUMNS, IID_IRowset, 0, nullptr,
                                        reinterpret_cast<IUnknown**>(&rowset)) != S_OK)
        std::abort();
    // Every column of the axis: TUPLE_ORDINAL, the dimension's five and its three optional ones;
    // the values one after the other, the statuses after them.
    constexpr DBLENGTH kText = 2048;
    const DBTYPE types[] = {DBTYPE_UI4, DBTYPE_WSTR, DBTYPE_WSTR, DBTYPE_WSTR, DBTYPE_I4,
                            DBTYPE_UI4, DBTYPE_WSTR, DBTYPE_WSTR, DBTYPE_I4};
    std::vector<DBBINDING> bindings;
    DBBYTEOFFSET offset = 0;
    for (DBORDINAL c = 0; c < 9; ++c) {
        const DBLENGTH size = types[c] == DBTYPE_WSTR ? kText : 4;
        bindings.push_back(Bind(c + 1, types[c], offset, 0, size));
        offset += size;
    }
    for (DBBINDING& binding : bindings) {
        binding.obStatus = offset;
        offset += sizeof(DBSTATUS);
    }
    const DBLENGTH kRowSize = offset;
    const HACCESSOR accessor = MakeAccessor(rowset, bindings, kRowSize);
    std::vector<BYTE> row(kRowSize);
    size_t rows = 0;
    bool good = true;
    for (auto _ : state) {
        rowset->RestartPosition(DB_NULL_HCHAPTER);
        for (;;) {
            DBCOUNTITEM obtained = 0;
            HROW handles[100];
            HROW* handleArray = handles;
            const HRESULT hr =
                rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 100, &obtained, &handleArray);
            for (DBCOUNTITEM i = 0; i < obtained; ++i)
                good = good && rowset->GetData(handles[i], accessor, row.data()) == S_OK;
            if (obtained != 0) rowset->ReleaseRows(obtained, handles, nullptr, nullptr, nullptr);
            rows += obtained;
            if (hr != S_OK || obtained == 0) break;
        }
    }
    if (!good || rows != static_cast<size_t>(state.iterations()) * kAxisTuples)
        state.SkipWithError("the axis rowset did not read every row");
    state.SetItemsProcessed(state.iterations() * kAxisTuples);
    state.counters["time_per_row"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kAxisTuples),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_GetCellDataAllCells)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AxisRowsetRead)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
