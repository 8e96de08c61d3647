// Compact row storage: records round-trip, texts take their length, limits are cut, not overrun.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "compact_row_store.h"

namespace {

struct Record {
    WCHAR name[16];
    int32_t number;
    char code[8];
    double value;
    WCHAR caption[2048];
};

std::vector<CompactColumn> RecordColumns() {
    return {{offsetof(Record, name), sizeof(Record::name), CompactColumnKind::WideText},
            {offsetof(Record, number), sizeof(int32_t), CompactColumnKind::Fixed},
            {offsetof(Record, code), sizeof(Record::code), CompactColumnKind::NarrowText},
            {offsetof(Record, value), sizeof(double), CompactColumnKind::Fixed},
            {offsetof(Record, caption), sizeof(Record::caption), CompactColumnKind::WideText}};
}

Record MakeRecord(const std::u16string& name, int32_t number, const std::string& code, double value,
                  const std::u16string& caption) {
    Record record;
    std::memset(&record, 0, sizeof(record));
    std::memcpy(record.name, name.data(), name.size() * sizeof(WCHAR));
    record.number = number;
    std::memcpy(record.code, code.data(), code.size());
    record.value = value;
    std::memcpy(record.caption, caption.data(), caption.size() * sizeof(WCHAR));
    return record;
}

std::u16string WideOf(const CompactValue& value) {
    return {reinterpret_cast<const char16_t*>(value.data), value.length / 2};
}

TEST(CompactRowStore, RecordsRoundTripAndReadByColumn) {
    CompactRowStore store(RecordColumns(), sizeof(Record));
    const Record first = MakeRecord(u"alpha", -7, "AB", 2.5, u"first caption");
    const Record second = MakeRecord(u"", 42, "", -1.0, u"");
    EXPECT_EQ(store.Append(&first), 0u);
    EXPECT_EQ(store.Append(&second), 1u);
    ASSERT_EQ(store.GetCount(), 2u);

    EXPECT_EQ(WideOf(store.Read(0, 0)), u"alpha");
    int32_t number = 0;
    std::memcpy(&number, store.Read(0, 1).data, sizeof(number));
    EXPECT_EQ(number, -7);
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(store.Read(0, 2).data), store.Read(0, 2).length),
        "AB");
    EXPECT_EQ(WideOf(store.Read(0, 4)), u"first caption");
    // The stored text keeps its terminator just after its length.
    const CompactValue caption = store.Read(0, 4);
    EXPECT_EQ(caption.data[caption.length], 0);
    EXPECT_EQ(caption.data[caption.length + 1], 0);
    EXPECT_EQ(store.Read(1, 0).length, 0u);

    Record back;
    store.Materialize(0, &back);
    // Padding is zero on both sides: both records began as zeros.
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    EXPECT_EQ(std::memcmp(&back, &first, sizeof(Record)), 0);
    store.Materialize(1, &back);
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    EXPECT_EQ(std::memcmp(&back, &second, sizeof(Record)), 0);
}

TEST(CompactRowStore, FixedColumnsAreAlignedForTypedReads) {
    CompactRowStore store(RecordColumns(), sizeof(Record));
    const Record record = MakeRecord(u"x", 1, "c", 3.25, u"y");
    store.Append(&record);
    store.Append(&record);
    for (size_t row = 0; row < 2; ++row) {
        const CompactValue value = store.Read(row, 3);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(value.data) % alignof(double), 0u);
        EXPECT_EQ(*reinterpret_cast<const double*>(value.data), 3.25);
    }
}

TEST(CompactRowStore, TextWithoutTerminatorIsCutToFitItsWidth) {
    CompactRowStore store(RecordColumns(), sizeof(Record));
    Record record = MakeRecord(u"", 0, "", 0, u"");
    for (WCHAR& c : record.name) c = u'n';
    std::memset(record.code, 'c', sizeof(record.code));
    store.Append(&record);
    EXPECT_EQ(store.Read(0, 0).length, (16 - 1) * sizeof(WCHAR));
    EXPECT_EQ(store.Read(0, 2).length, 8u - 1);
    Record back;
    store.Materialize(0, &back);
    EXPECT_EQ(back.name[14], u'n');
    EXPECT_EQ(back.name[15], 0);
}

TEST(CompactRowStore, ColumnsPastTheRecordAreCutToIt) {
    struct Small {
        WCHAR text[4];
    };
    CompactRowStore store(
        {{0, 64, CompactColumnKind::WideText}, {100, 4, CompactColumnKind::Fixed}}, sizeof(Small));
    Small small{{u'a', u'b', u'c', u'd'}};
    store.Append(&small);
    EXPECT_EQ(store.Read(0, 0).length, 3 * sizeof(WCHAR));
    EXPECT_EQ(store.Read(0, 1).length, 0u);
}

TEST(CompactRowStore, ShortTextsTakeTheirLengthNotTheirWidth) {
    CompactRowStore store(RecordColumns(), sizeof(Record));
    const Record record = MakeRecord(u"member", 3, "m", 1.0, u"Member caption");
    constexpr size_t kRows = 20000;
    for (size_t i = 0; i < kRows; ++i) store.Append(&record);
    EXPECT_LT(store.MemoryUsed() / kRows, 128u);
    EXPECT_GT(sizeof(Record), 4096u);
    store.Clear();
    EXPECT_EQ(store.GetCount(), 0u);
    EXPECT_EQ(store.MemoryUsed(), 0u);
}

}  // namespace
