// Tests of WriteBoundValue and CanConvertType: every source and target kind, the parts a binding
// asks for, and the statuses of the published conversion rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data_conversion.h"

namespace {

// A consumer row: value at 0 (128 bytes), length at 128, status at 136.
struct ConsumerRow {
    BYTE bytes[144];
    ConsumerRow() { std::memset(bytes, 0xCC, sizeof bytes); }
    template <class V>
    V Value() const {
        V value;
        std::memcpy(&value, bytes, sizeof(V));
        return value;
    }
    DBLENGTH Length() const {
        DBLENGTH length;
        std::memcpy(&length, bytes + 128, sizeof length);
        return length;
    }
    DBSTATUS Status() const {
        DBSTATUS status;
        std::memcpy(&status, bytes + 136, sizeof status);
        return status;
    }
    std::u16string Wide() const { return std::u16string(reinterpret_cast<const char16_t*>(bytes)); }
    std::string Narrow() const { return std::string(reinterpret_cast<const char*>(bytes)); }
};

DBBINDING Binding(DBTYPE type, DBLENGTH maxLength = 64,
                  DBPART parts = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS) {
    DBBINDING binding{};
    binding.iOrdinal = 1;
    binding.obValue = 0;
    binding.obLength = 128;
    binding.obStatus = 136;
    binding.dwPart = parts;
    binding.cbMaxLen = maxLength;
    binding.wType = type;
    return binding;
}

template <class V>
DBSTATUS Write(const V& source, DBTYPE sourceType, const DBBINDING& binding, ConsumerRow& row) {
    return WriteBoundValue(binding, sourceType, &source, sizeof(V), DBSTATUS_S_OK, row.bytes);
}

DBSTATUS WriteWide(const std::u16string& text, const DBBINDING& binding, ConsumerRow& row) {
    return WriteBoundValue(binding, DBTYPE_WSTR, text.c_str(), text.size() * sizeof(char16_t),
                           DBSTATUS_S_OK, row.bytes);
}

}  // namespace

TEST(OledbDataConversion, TableFollowsTypeClasses) {
    const DBTYPE numbers[] = {DBTYPE_I1, DBTYPE_UI1, DBTYPE_I2, DBTYPE_UI2, DBTYPE_I4,  DBTYPE_UI4,
                              DBTYPE_I8, DBTYPE_UI8, DBTYPE_R4, DBTYPE_R8,  DBTYPE_BOOL};
    const DBTYPE texts[] = {DBTYPE_WSTR, DBTYPE_STR, DBTYPE_BSTR};
    for (DBTYPE from : numbers) {
        for (DBTYPE to : numbers) EXPECT_TRUE(CanConvertType(from, to)) << from << "->" << to;
        for (DBTYPE to : texts) EXPECT_TRUE(CanConvertType(from, to));
        EXPECT_TRUE(CanConvertType(from, DBTYPE_VARIANT));
        EXPECT_FALSE(CanConvertType(from, DBTYPE_GUID));
        EXPECT_FALSE(CanConvertType(from, DBTYPE_DBTIMESTAMP));
        EXPECT_FALSE(CanConvertType(DBTYPE_GUID, from));
        EXPECT_FALSE(CanConvertType(DBTYPE_DBTIMESTAMP, from));
    }
    for (DBTYPE from : texts) {
        EXPECT_TRUE(CanConvertType(from, DBTYPE_GUID));
        EXPECT_TRUE(CanConvertType(from, DBTYPE_DBTIMESTAMP));
        EXPECT_TRUE(CanConvertType(DBTYPE_GUID, from));
        EXPECT_TRUE(CanConvertType(DBTYPE_DBTIMESTAMP, from));
    }
    // Automation dates, currency and decimals are read, never written.
    EXPECT_TRUE(CanConvertType(DBTYPE_DATE, DBTYPE_DBTIMESTAMP));
    EXPECT_TRUE(CanConvertType(DBTYPE_DATE, DBTYPE_WSTR));
    EXPECT_FALSE(CanConvertType(DBTYPE_DATE, DBTYPE_R8));
    EXPECT_TRUE(CanConvertType(DBTYPE_CY, DBTYPE_I4));
    EXPECT_TRUE(CanConvertType(DBTYPE_DECIMAL, DBTYPE_BSTR));
    EXPECT_FALSE(CanConvertType(DBTYPE_WSTR, DBTYPE_DATE));
    EXPECT_FALSE(CanConvertType(DBTYPE_R8, DBTYPE_CY));
    EXPECT_FALSE(CanConvertType(DBTYPE_DECIMAL, DBTYPE_DECIMAL));
    EXPECT_TRUE(CanConvertType(DBTYPE_VARIANT, DBTYPE_GUID));
    EXPECT_TRUE(CanConvertType(DBTYPE_GUID, DBTYPE_GUID));
    EXPECT_FALSE(CanConvertType(DBTYPE_GUID, DBTYPE_DBTIMESTAMP));
    // Type modifiers, unknown codes and the provider's undefined 0x800.
    EXPECT_FALSE(CanConvertType(DBTYPE_WSTR, DBTYPE_WSTR | DBTYPE_BYREF));
    EXPECT_FALSE(CanConvertType(DBTYPE_I4 | DBTYPE_ARRAY, DBTYPE_I4));
    EXPECT_FALSE(CanConvertType(DBTYPE_I4, DBTYPE_I4 | DBTYPE_VECTOR));
    EXPECT_FALSE(CanConvertType(0x800, DBTYPE_WSTR));
    EXPECT_FALSE(CanConvertType(DBTYPE_WSTR, DBTYPE_EMPTY));
    EXPECT_FALSE(CanConvertType(DBTYPE_NULL, DBTYPE_WSTR));
}

TEST(OledbDataConversion, WideTextFitsOrIsCutWithItsFullLength) {
    ConsumerRow row;
    EXPECT_EQ(WriteWide(u"Region", Binding(DBTYPE_WSTR), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Wide(), u"Region");
    EXPECT_EQ(row.Length(), 12u);
    EXPECT_EQ(row.Status(), DBSTATUS_S_OK);

    // 14 bytes hold six characters and the terminator exactly.
    ConsumerRow exact;
    EXPECT_EQ(WriteWide(u"Region", Binding(DBTYPE_WSTR, 14), exact), DBSTATUS_S_OK);
    EXPECT_EQ(exact.Wide(), u"Region");

    ConsumerRow cut;
    EXPECT_EQ(WriteWide(u"Region", Binding(DBTYPE_WSTR, 9), cut), DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(cut.Wide(), u"Reg");
    EXPECT_EQ(cut.Length(), 12u);
    EXPECT_EQ(cut.bytes[8], 0xCC) << "nothing written past cbMaxLen";

    ConsumerRow none;
    EXPECT_EQ(WriteWide(u"Region", Binding(DBTYPE_WSTR, 1), none), DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(none.bytes[0], 0xCC);

    // A surrogate pair is never split.
    ConsumerRow pair;
    EXPECT_EQ(WriteWide(u"a\U0001F600b", Binding(DBTYPE_WSTR, 6), pair), DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(pair.Wide(), u"a");

    // A NUL inside the source length ends the text.
    ConsumerRow embedded;
    const char16_t field[8] = u"ab";
    EXPECT_EQ(WriteBoundValue(Binding(DBTYPE_WSTR), DBTYPE_WSTR, field, sizeof field, DBSTATUS_S_OK,
                              embedded.bytes),
              DBSTATUS_S_OK);
    EXPECT_EQ(embedded.Length(), 4u);
}

TEST(OledbDataConversion, NarrowTextIsUtf8AndCutOnCharacterBoundaries) {
    ConsumerRow row;
    EXPECT_EQ(WriteWide(u"Gr\u00fcn", Binding(DBTYPE_STR), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Narrow(), "Gr\xc3\xbcn");
    EXPECT_EQ(row.Length(), 5u);

    ConsumerRow cut;
    EXPECT_EQ(WriteWide(u"Gr\u00fcn", Binding(DBTYPE_STR, 4), cut), DBSTATUS_S_TRUNCATED);
    EXPECT_EQ(cut.Narrow(), "Gr");
    EXPECT_EQ(cut.Length(), 5u);

    ConsumerRow fromNarrow;
    const char source[] = "abc";
    EXPECT_EQ(WriteBoundValue(Binding(DBTYPE_WSTR), DBTYPE_STR, source, 3, DBSTATUS_S_OK,
                              fromNarrow.bytes),
              DBSTATUS_S_OK);
    EXPECT_EQ(fromNarrow.Wide(), u"abc");
}

TEST(OledbDataConversion, NumbersAsTextMustFitWhole) {
    ConsumerRow row;
    EXPECT_EQ(Write<LONG>(-1234, DBTYPE_I4, Binding(DBTYPE_WSTR), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Wide(), u"-1234");
    EXPECT_EQ(row.Length(), 10u);

    ConsumerRow tooSmall;
    EXPECT_EQ(Write<LONG>(-1234, DBTYPE_I4, Binding(DBTYPE_WSTR, 6), tooSmall),
              DBSTATUS_E_DATAOVERFLOW);
    EXPECT_EQ(tooSmall.Status(), DBSTATUS_E_DATAOVERFLOW);

    ConsumerRow real;
    EXPECT_EQ(Write<double>(2.5, DBTYPE_R8, Binding(DBTYPE_STR), real), DBSTATUS_S_OK);
    EXPECT_EQ(real.Narrow(), "2.5");

    ConsumerRow flag;
    EXPECT_EQ(Write<VARIANT_BOOL>(VARIANT_TRUE, DBTYPE_BOOL, Binding(DBTYPE_WSTR), flag),
              DBSTATUS_S_OK);
    EXPECT_EQ(flag.Wide(), u"True");

    ConsumerRow unsignedText;
    EXPECT_EQ(Write<ULONG>(4000000000u, DBTYPE_UI4, Binding(DBTYPE_STR), unsignedText),
              DBSTATUS_S_OK);
    EXPECT_EQ(unsignedText.Narrow(), "4000000000");
}

TEST(OledbDataConversion, IntegerRangesGiveOverflowAndSignMismatch) {
    ConsumerRow row;
    EXPECT_EQ(Write<LONG>(70000, DBTYPE_I4, Binding(DBTYPE_I2), row), DBSTATUS_E_DATAOVERFLOW);
    EXPECT_EQ(Write<LONG>(-32768, DBTYPE_I4, Binding(DBTYPE_I2), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<SHORT>(), -32768);
    EXPECT_EQ(row.Length(), sizeof(SHORT));
    EXPECT_EQ(Write<LONG>(-1, DBTYPE_I4, Binding(DBTYPE_UI4), row), DBSTATUS_E_SIGNMISMATCH);
    EXPECT_EQ(Write<SHORT>(-1, DBTYPE_I2, Binding(DBTYPE_UI1), row), DBSTATUS_E_SIGNMISMATCH);
    EXPECT_EQ(Write<ULONG>(0xFFFFFFFFu, DBTYPE_UI4, Binding(DBTYPE_I4), row),
              DBSTATUS_E_DATAOVERFLOW);
    EXPECT_EQ(Write<ULONG>(0xFFFFFFFFu, DBTYPE_UI4, Binding(DBTYPE_I8), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<LONGLONG>(), 0xFFFFFFFFll);
    EXPECT_EQ(Write<USHORT>(255, DBTYPE_UI2, Binding(DBTYPE_I1), row), DBSTATUS_E_DATAOVERFLOW);
    EXPECT_EQ(Write<USHORT>(255, DBTYPE_UI2, Binding(DBTYPE_UI1), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<BYTE>(), 255);
    EXPECT_EQ(Write<LONGLONG>(-5, DBTYPE_I8, Binding(DBTYPE_UI8), row), DBSTATUS_E_SIGNMISMATCH);
}

TEST(OledbDataConversion, RealsLoseTheirFractionTowardZero) {
    ConsumerRow row;
    EXPECT_EQ(Write<double>(123.4567, DBTYPE_R8, Binding(DBTYPE_I4), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<LONG>(), 123);
    EXPECT_EQ(Write<double>(-2.9, DBTYPE_R8, Binding(DBTYPE_I2), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<SHORT>(), -2);
    EXPECT_EQ(Write<double>(-0.5, DBTYPE_R8, Binding(DBTYPE_UI4), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<ULONG>(), 0u);
    EXPECT_EQ(Write<double>(-1.5, DBTYPE_R8, Binding(DBTYPE_UI4), row), DBSTATUS_E_SIGNMISMATCH);
    EXPECT_EQ(Write<double>(2147483648.0, DBTYPE_R8, Binding(DBTYPE_I4), row),
              DBSTATUS_E_DATAOVERFLOW);
    EXPECT_EQ(Write<double>(1e300, DBTYPE_R8, Binding(DBTYPE_R4), row), DBSTATUS_E_DATAOVERFLOW);
    EXPECT_EQ(Write<double>(0.25, DBTYPE_R8, Binding(DBTYPE_R4), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<FLOAT>(), 0.25f);
    EXPECT_EQ(Write<LONG>(7, DBTYPE_I4, Binding(DBTYPE_R8), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<double>(), 7.0);
}

TEST(OledbDataConversion, BooleansAndText) {
    ConsumerRow row;
    EXPECT_EQ(Write<VARIANT_BOOL>(5, DBTYPE_BOOL, Binding(DBTYPE_BOOL), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<VARIANT_BOOL>(), VARIANT_TRUE);
    EXPECT_EQ(Write<LONG>(5, DBTYPE_I4, Binding(DBTYPE_BOOL), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<VARIANT_BOOL>(), VARIANT_TRUE);
    EXPECT_EQ(row.Length(), sizeof(VARIANT_BOOL));
    EXPECT_EQ(Write<VARIANT_BOOL>(VARIANT_TRUE, DBTYPE_BOOL, Binding(DBTYPE_I4), row),
              DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<LONG>(), -1);
    EXPECT_EQ(WriteWide(u" false ", Binding(DBTYPE_BOOL), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<VARIANT_BOOL>(), VARIANT_FALSE);
    EXPECT_EQ(WriteWide(u"42", Binding(DBTYPE_I4), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<LONG>(), 42);
    EXPECT_EQ(WriteWide(u"-3", Binding(DBTYPE_UI2), row), DBSTATUS_E_SIGNMISMATCH);
    EXPECT_EQ(WriteWide(u"2.75", Binding(DBTYPE_R8), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<double>(), 2.75);
    EXPECT_EQ(WriteWide(u"12abc", Binding(DBTYPE_I4), row), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(row.Status(), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(WriteWide(u"", Binding(DBTYPE_I4), row), DBSTATUS_E_CANTCONVERTVALUE);
}

TEST(OledbDataConversion, GuidsAndTimestamps) {
    const GUID guid = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    ConsumerRow row;
    EXPECT_EQ(Write(guid, DBTYPE_GUID, Binding(DBTYPE_GUID), row), DBSTATUS_S_OK);
    EXPECT_TRUE(row.Value<GUID>() == guid);
    EXPECT_EQ(row.Length(), sizeof(GUID));

    ConsumerRow text;
    EXPECT_EQ(Write(guid, DBTYPE_GUID, Binding(DBTYPE_WSTR, 80), text), DBSTATUS_S_OK);
    ConsumerRow back;
    EXPECT_EQ(WriteWide(text.Wide(), Binding(DBTYPE_GUID), back), DBSTATUS_S_OK);
    EXPECT_TRUE(back.Value<GUID>() == guid);
    EXPECT_EQ(WriteWide(u"{not a guid}", Binding(DBTYPE_GUID), back), DBSTATUS_E_CANTCONVERTVALUE);

    const DBTIMESTAMP stamp = {2024, 2, 29, 13, 5, 9, 500000000};
    ConsumerRow stampText;
    EXPECT_EQ(Write(stamp, DBTYPE_DBTIMESTAMP, Binding(DBTYPE_WSTR), stampText), DBSTATUS_S_OK);
    EXPECT_EQ(stampText.Wide(), u"2024-02-29 13:05:09.5");
    ConsumerRow parsed;
    EXPECT_EQ(WriteWide(u"2024-02-29 13:05:09.5", Binding(DBTYPE_DBTIMESTAMP), parsed),
              DBSTATUS_S_OK);
    EXPECT_EQ(std::memcmp(&stamp, parsed.bytes, sizeof stamp), 0);
    EXPECT_EQ(WriteWide(u"2024-13-01", Binding(DBTYPE_DBTIMESTAMP), parsed),
              DBSTATUS_E_CANTCONVERTVALUE);
}

TEST(OledbDataConversion, NullWritesStatusAndNoValue) {
    ConsumerRow row;
    LONG value = 9;
    EXPECT_EQ(
        WriteBoundValue(Binding(DBTYPE_WSTR), DBTYPE_I4, &value, 4, DBSTATUS_S_ISNULL, row.bytes),
        DBSTATUS_S_ISNULL);
    EXPECT_EQ(row.Status(), DBSTATUS_S_ISNULL);
    EXPECT_EQ(row.Length(), 0u);
    EXPECT_EQ(row.bytes[0], 0xCC);

    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    ConsumerRow fromVariant;
    EXPECT_EQ(Write(null, DBTYPE_VARIANT, Binding(DBTYPE_I4), fromVariant), DBSTATUS_S_ISNULL);
}

TEST(OledbDataConversion, OnlyTheAskedPartsAreWritten) {
    ConsumerRow valueOnly;
    EXPECT_EQ(Write<LONG>(5, DBTYPE_I4, Binding(DBTYPE_I4, 0, DBPART_VALUE), valueOnly),
              DBSTATUS_S_OK);
    EXPECT_EQ(valueOnly.Value<LONG>(), 5);
    EXPECT_EQ(valueOnly.bytes[128], 0xCC);
    EXPECT_EQ(valueOnly.bytes[136], 0xCC);

    ConsumerRow lengthOnly;
    EXPECT_EQ(WriteWide(u"abc", Binding(DBTYPE_WSTR, 64, DBPART_LENGTH), lengthOnly),
              DBSTATUS_S_OK);
    EXPECT_EQ(lengthOnly.Length(), 6u);
    EXPECT_EQ(lengthOnly.bytes[0], 0xCC);

    ConsumerRow statusOnly;
    EXPECT_EQ(Write<LONG>(-1, DBTYPE_I4, Binding(DBTYPE_UI4, 0, DBPART_STATUS), statusOnly),
              DBSTATUS_E_SIGNMISMATCH);
    EXPECT_EQ(statusOnly.Status(), DBSTATUS_E_SIGNMISMATCH);
    EXPECT_EQ(statusOnly.bytes[0], 0xCC);
}

TEST(OledbDataConversion, BstrTargetBelongsToTheConsumer) {
    ConsumerRow row;
    EXPECT_EQ(WriteWide(u"cell", Binding(DBTYPE_BSTR), row), DBSTATUS_S_OK);
    const BSTR bstr = row.Value<BSTR>();
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(std::u16string(bstr, SysStringLen(bstr)), u"cell");
    EXPECT_EQ(row.Length(), sizeof(BSTR));
    SysFreeString(bstr);  // the leak checker fails the test if the consumer could not own it

    ConsumerRow number;
    EXPECT_EQ(Write<double>(1.5, DBTYPE_R8, Binding(DBTYPE_BSTR), number), DBSTATUS_S_OK);
    EXPECT_EQ(std::u16string(number.Value<BSTR>()), u"1.5");
    SysFreeString(number.Value<BSTR>());
}

TEST(OledbDataConversion, VariantTargetsAndSources) {
    ConsumerRow row;
    EXPECT_EQ(Write<LONG>(12, DBTYPE_I4, Binding(DBTYPE_VARIANT), row), DBSTATUS_S_OK);
    VARIANT out = row.Value<VARIANT>();
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 12);
    EXPECT_EQ(row.Length(), sizeof(VARIANT));

    EXPECT_EQ(Write<ULONG>(7, DBTYPE_UI4, Binding(DBTYPE_VARIANT), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<VARIANT>().vt, VT_UI4);

    EXPECT_EQ(WriteWide(u"name", Binding(DBTYPE_VARIANT), row), DBSTATUS_S_OK);
    out = row.Value<VARIANT>();
    ASSERT_EQ(out.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(out.bstrVal), u"name");
    VariantClear(&out);

    const DBTIMESTAMP noon = {1899, 12, 31, 12, 0, 0, 0};
    EXPECT_EQ(Write(noon, DBTYPE_DBTIMESTAMP, Binding(DBTYPE_VARIANT), row), DBSTATUS_S_OK);
    out = row.Value<VARIANT>();
    EXPECT_EQ(out.vt, VT_DATE);
    EXPECT_DOUBLE_EQ(out.date, 1.5);

    // A VARIANT source is copied into a VARIANT target; the copy belongs to the consumer.
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(u"3.5");
    EXPECT_EQ(Write(source, DBTYPE_VARIANT, Binding(DBTYPE_VARIANT), row), DBSTATUS_S_OK);
    out = row.Value<VARIANT>();
    ASSERT_EQ(out.vt, VT_BSTR);
    EXPECT_NE(out.bstrVal, source.bstrVal);
    VariantClear(&out);

    // A VARIANT source converts like the value it holds.
    EXPECT_EQ(Write(source, DBTYPE_VARIANT, Binding(DBTYPE_R8), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<double>(), 3.5);
    EXPECT_EQ(Write(source, DBTYPE_VARIANT, Binding(DBTYPE_I2), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<SHORT>(), 3);
    VariantClear(&source);

    // Columns of the automation date type.
    const DATE noonDate = 1.5;
    EXPECT_EQ(Write(noonDate, DBTYPE_DATE, Binding(DBTYPE_DBTIMESTAMP), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<DBTIMESTAMP>().hour, 12);

    // Dates, currency and decimals held in a VARIANT.
    VARIANT date;
    VariantInit(&date);
    date.vt = VT_DATE;
    date.date = 45351.25;
    EXPECT_EQ(Write(date, DBTYPE_VARIANT, Binding(DBTYPE_WSTR), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Wide(), u"2024-02-29 06:00:00");
    date.date = -1.25;
    EXPECT_EQ(Write(date, DBTYPE_VARIANT, Binding(DBTYPE_DBTIMESTAMP), row), DBSTATUS_S_OK);
    const DBTIMESTAMP before = row.Value<DBTIMESTAMP>();
    EXPECT_EQ(before.year, 1899);
    EXPECT_EQ(before.month, 12);
    EXPECT_EQ(before.day, 29);
    EXPECT_EQ(before.hour, 6);
    date.date = 1e9;
    EXPECT_EQ(Write(date, DBTYPE_VARIANT, Binding(DBTYPE_DBTIMESTAMP), row),
              DBSTATUS_E_CANTCONVERTVALUE);
    VARIANT currency;
    VariantInit(&currency);
    currency.vt = VT_CY;
    currency.cyVal.int64 = 123456;  // 12.3456
    EXPECT_EQ(Write(currency, DBTYPE_VARIANT, Binding(DBTYPE_I4), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<LONG>(), 12);
    VARIANT decimal;
    VariantInit(&decimal);
    decimal.decVal.u.s.scale = 1;
    decimal.decVal.u.s.sign = DECIMAL_NEG;
    decimal.decVal.Hi32 = 0;      // VariantInit sets the type only
    decimal.decVal.v.Lo64 = 125;  // -12.5
    decimal.vt = VT_DECIMAL;
    EXPECT_EQ(Write(decimal, DBTYPE_VARIANT, Binding(DBTYPE_R8), row), DBSTATUS_S_OK);
    EXPECT_EQ(row.Value<double>(), -12.5);

    VARIANT big;
    VariantInit(&big);
    big.vt = VT_I4;
    big.lVal = 100000;
    EXPECT_EQ(Write(big, DBTYPE_VARIANT, Binding(DBTYPE_I2), row), DBSTATUS_E_DATAOVERFLOW);
    big.vt = VT_ERROR;
    EXPECT_EQ(Write(big, DBTYPE_VARIANT, Binding(DBTYPE_I4), row), DBSTATUS_E_CANTCONVERTVALUE);
}

TEST(OledbDataConversion, UnsupportedPairsAreRefusedWithoutWriting) {
    ConsumerRow row;
    LONG value = 1;
    EXPECT_EQ(Write(value, DBTYPE_I4, Binding(DBTYPE_GUID), row), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(row.Status(), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(row.bytes[0], 0xCC);
    EXPECT_EQ(Write(value, 0x800, Binding(DBTYPE_WSTR), row), DBSTATUS_E_CANTCONVERTVALUE);
    EXPECT_EQ(Write(value, DBTYPE_I4, Binding(DBTYPE_I4 | DBTYPE_BYREF), row),
              DBSTATUS_E_CANTCONVERTVALUE);
    // A null consumer row writes nothing and still reports the status.
    EXPECT_EQ(WriteBoundValue(Binding(DBTYPE_I4), DBTYPE_I4, &value, 4, DBSTATUS_S_OK, nullptr),
              DBSTATUS_S_OK);
}
