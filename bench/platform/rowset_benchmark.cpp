// Rowset memory and read cost: 200,000 rows of an 18-column schema-style row class with short
// texts, kept compactly and read through GetNextRows and GetData, against plain copies.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "atl_com.h"
#include "rowset_creation.h"
#include "schema_rowset_impl.h"

namespace {

constexpr size_t kRows = 200000;
constexpr DBROWCOUNT kBatch = 100;

// A member row as the schema rowsets declare it: 11 texts of 2048 wide characters, 7 numbers.
struct BenchMemberRow {
    WCHAR catalog[2048];
    WCHAR schema[2048];
    WCHAR cube[2048];
    WCHAR dimension[2048];
    WCHAR hierarchy[2048];
    WCHAR level[2048];
    ULONG levelNumber;
    ULONG ordinal;
    WCHAR name[2048];
    WCHAR uniqueName[2048];
    LONG type;
    GUID levelGuid;
    WCHAR caption[2048];
    ULONG children;
    ULONG parentLevel;
    WCHAR parent[2048];
    ULONG parentCount;
    WCHAR description[2048];

    BEGIN_PROVIDER_COLUMN_MAP(BenchMemberRow)
    PROVIDER_COLUMN_ENTRY("CATALOG_NAME", 1, catalog)
    PROVIDER_COLUMN_ENTRY("SCHEMA_NAME", 2, schema)
    PROVIDER_COLUMN_ENTRY("CUBE_NAME", 3, cube)
    PROVIDER_COLUMN_ENTRY("DIMENSION_UNIQUE_NAME", 4, dimension)
    PROVIDER_COLUMN_ENTRY("HIERARCHY_UNIQUE_NAME", 5, hierarchy)
    PROVIDER_COLUMN_ENTRY("LEVEL_UNIQUE_NAME", 6, level)
    PROVIDER_COLUMN_ENTRY("LEVEL_NUMBER", 7, levelNumber)
    PROVIDER_COLUMN_ENTRY("MEMBER_ORDINAL", 8, ordinal)
    PROVIDER_COLUMN_ENTRY("MEMBER_NAME", 9, name)
    PROVIDER_COLUMN_ENTRY("MEMBER_UNIQUE_NAME", 10, uniqueName)
    PROVIDER_COLUMN_ENTRY("MEMBER_TYPE", 11, type)
    PROVIDER_COLUMN_ENTRY("LEVEL_GUID", 12, levelGuid)
    PROVIDER_COLUMN_ENTRY("MEMBER_CAPTION", 13, caption)
    PROVIDER_COLUMN_ENTRY("CHILDREN_CARDINALITY", 14, children)
    PROVIDER_COLUMN_ENTRY("PARENT_LEVEL", 15, parentLevel)
    PROVIDER_COLUMN_ENTRY("PARENT_UNIQUE_NAME", 16, parent)
    PROVIDER_COLUMN_ENTRY("PARENT_COUNT", 17, parentCount)
    PROVIDER_COLUMN_ENTRY("DESCRIPTION", 18, description)
    END_PROVIDER_COLUMN_MAP()
};

void Put(WCHAR* field, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) field[i] = static_cast<WCHAR>(text[i]);
    field[text.size()] = 0;
}

void FillRow(BenchMemberRow& row, size_t i) {
    std::memset(&row, 0, sizeof(row));
    const std::string id = std::to_string(i);
    Put(row.catalog, "DEFAULT");
    Put(row.cube, "Sales model");
    Put(row.dimension, "Region <3>");
    Put(row.hierarchy, "[Region <3>]");
    Put(row.level, "[Region <3>].[Level <2>]");
    row.levelNumber = 2;
    row.ordinal = static_cast<ULONG>(i);
    Put(row.name, "Member " + id);
    Put(row.uniqueName, "[Region <3>].[Member " + id + " <" + id + ">]");
    row.type = 1;
    Put(row.caption, "Member " + id);
    row.children = 3;
    row.parentLevel = 1;
    Put(row.parent, "[Region <3>].[All <0>]");
    row.parentCount = 1;
}

// The creator only names the threading model; the schema rowset brings its own properties.
struct BenchSession {
    using _ThreadModel = CComSingleThreadModel;  // NOLINT(bugprone-reserved-identifier)
};

class BenchRowset : public CSchemaRowsetImpl<BenchRowset, BenchMemberRow, BenchSession> {
  public:
    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG, const VARIANT*) {
        auto row = std::make_unique<BenchMemberRow>();
        for (size_t i = 0; i < kRows; ++i) {
            FillRow(*row, i);
            m_rgRowData.Add(*row);
        }
        if (pcRowsAffected != nullptr) *pcRowsAffected = static_cast<DBROWCOUNT>(kRows);
        return S_OK;
    }
};

size_t ResidentBytes() {
    long pages = 0, resident = 0;
    FILE* file = std::fopen("/proc/self/statm", "r");
    if (file == nullptr) return 0;
    if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(file);
    return static_cast<size_t>(resident) * 4096;
}

// The consumer's bindings: every column at its declared width, value, length and status.
struct ConsumerLayout {
    std::vector<DBBINDING> bindings;
    size_t rowSize = 0;
};

ConsumerLayout MakeLayout() {
    ConsumerLayout layout;
    DBORDINAL count = 0;
    const ATLCOLUMNINFO* columns = BenchMemberRow::GetColumnInfo(nullptr, &count);
    size_t offset = 0;
    for (DBORDINAL c = 0; c < count; ++c) {
        DBBINDING binding;
        std::memset(&binding, 0, sizeof(binding));
        binding.iOrdinal = columns[c].iOrdinal;
        binding.wType = columns[c].wType;
        binding.cbMaxLen = columns[c].ulColumnSize;
        binding.dwPart = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS;
        binding.obValue = offset;
        offset += (columns[c].ulColumnSize + 7) / 8 * 8;
        binding.obLength = offset;
        binding.obStatus = offset + sizeof(DBLENGTH);
        offset += 16;
        layout.bindings.push_back(binding);
    }
    layout.rowSize = offset;
    return layout;
}

struct Fixture {
    Fixture() {
        const size_t before = ResidentBytes();
        CComPolyObject<BenchRowset>::CreateInstance(nullptr, &object);
        object->AddRef();
        rowset = &object->m_contained;
        rowset->FInit();
        rowset->Execute(nullptr, 0, nullptr);
        residentPerRow = static_cast<double>(ResidentBytes() - before) / kRows;
        storedPerRow = static_cast<double>(rowset->m_rgRowData.MemoryUsed()) / kRows;
        layout = MakeLayout();
        rowset->CreateAccessor(DBACCESSOR_ROWDATA, layout.bindings.size(), layout.bindings.data(),
                               0, &accessor, nullptr);
        consumerRow.assign(layout.rowSize, 0);
    }
    CComPolyObject<BenchRowset>* object = nullptr;
    BenchRowset* rowset = nullptr;
    double residentPerRow = 0;
    double storedPerRow = 0;
    ConsumerLayout layout;
    HACCESSOR accessor = DB_NULL_HACCESSOR;
    std::vector<BYTE> consumerRow;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

// Every row through GetNextRows (batches of 100), GetData, ReleaseRows; the rows read.
size_t ReadAllThroughIRowset(Fixture& f) {
    IRowset* rowset = f.rowset;
    HROW handles[kBatch];
    rowset->RestartPosition(DB_NULL_HCHAPTER);
    size_t read = 0;
    for (;;) {
        DBCOUNTITEM obtained = 0;
        HROW* out = handles;
        rowset->GetNextRows(DB_NULL_HCHAPTER, 0, kBatch, &obtained, &out);
        for (DBCOUNTITEM i = 0; i < obtained; ++i)
            rowset->GetData(handles[i], f.accessor, f.consumerRow.data());
        if (obtained == 0) break;
        rowset->ReleaseRows(obtained, handles, nullptr, nullptr, nullptr);
        read += obtained;
    }
    benchmark::DoNotOptimize(f.consumerRow.data());
    return read;
}

// The same bytes the consumer receives (each value with its terminator, its length and status)
// copied straight from storage into the consumer row, with no interface in between.
void PlainCopyOfTheSameBytes(Fixture& f) {
    const CompactRowStore& store = f.rowset->m_rgRowData.Store();
    const std::vector<DBBINDING>& bindings = f.layout.bindings;
    BYTE* target = f.consumerRow.data();
    for (size_t r = 0; r < kRows; ++r) {
        for (size_t c = 0; c < bindings.size(); ++c) {
            const CompactValue value = store.Read(r, c);
            const bool text = bindings[c].wType == DBTYPE_WSTR;
            std::memcpy(target + bindings[c].obValue, value.data, value.length + (text ? 2 : 0));
            const DBLENGTH length = value.length;
            const DBSTATUS status = DBSTATUS_S_OK;
            std::memcpy(target + bindings[c].obLength, &length, sizeof(length));
            std::memcpy(target + bindings[c].obStatus, &status, sizeof(status));
        }
        benchmark::DoNotOptimize(target);
    }
}

void BM_ReadThroughIRowset(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        if (ReadAllThroughIRowset(f) != kRows) state.SkipWithError("not every row was read");
    }
    state.counters["stored_bytes_per_row"] = f.storedPerRow;
    state.counters["resident_bytes_per_row"] = f.residentPerRow;
    state.counters["declared_bytes_per_row"] = sizeof(BenchMemberRow);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRows));
}

void BM_PlainCopyOfTheSameBytes(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) PlainCopyOfTheSameBytes(f);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRows));
}

// Both reads in turn within each iteration, so that the ratio sees the same machine load; the
// iteration time is the IRowset read.
void BM_ReadToPlainCopyRatio(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    Fixture& f = Shared();
    double rowsetSeconds = 0;
    double plainSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        ReadAllThroughIRowset(f);
        const auto middle = Clock::now();
        PlainCopyOfTheSameBytes(f);
        const auto end = Clock::now();
        const double rowset = std::chrono::duration<double>(middle - start).count();
        rowsetSeconds += rowset;
        plainSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(rowset);
    }
    state.counters["plain_copy_ms"] = plainSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["rowset_to_plain_copy"] = plainSeconds > 0 ? rowsetSeconds / plainSeconds : 0;
}

// A row stored as declared, copied whole (from a small pool: 200,000 of them would need 9 GB).
void BM_PlainCopyOfDeclaredRows(benchmark::State& state) {
    constexpr size_t kPool = 64;
    std::vector<BenchMemberRow> pool(kPool);
    for (size_t i = 0; i < kPool; ++i) FillRow(pool[i], i);
    auto target = std::make_unique<BenchMemberRow>();
    for (auto _ : state) {
        for (size_t r = 0; r < kRows; ++r) {
            std::memcpy(target.get(), &pool[r % kPool], sizeof(BenchMemberRow));
            benchmark::DoNotOptimize(target.get());
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRows));
}

BENCHMARK(BM_ReadThroughIRowset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopyOfTheSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopyOfDeclaredRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadToPlainCopyRatio)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
