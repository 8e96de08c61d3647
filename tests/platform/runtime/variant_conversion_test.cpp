// Tests of VariantChangeType(Ex): every supported pair of types, range limits, rounding, text
// in both directions, DECIMAL and DATE, by-reference sources, in-place conversion and errors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "com_runtime.h"
#include "counting_unknown.h"

namespace {

// Owns a VARIANT for the length of a test.
class Var {
  public:
    Var() { VariantInit(&v); }
    ~Var() { VariantClear(&v); }
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;

    static Var I4(LONG value) {
        Var r;
        r.v.vt = VT_I4;
        r.v.lVal = value;
        return r;
    }
    static Var I8(LONGLONG value) {
        Var r;
        r.v.vt = VT_I8;
        r.v.llVal = value;
        return r;
    }
    static Var UI8(ULONGLONG value) {
        Var r;
        r.v.vt = VT_UI8;
        r.v.ullVal = value;
        return r;
    }
    static Var R8(double value) {
        Var r;
        r.v.vt = VT_R8;
        r.v.dblVal = value;
        return r;
    }
    static Var R4(float value) {
        Var r;
        r.v.vt = VT_R4;
        r.v.fltVal = value;
        return r;
    }
    static Var Date(double value) {
        Var r;
        r.v.vt = VT_DATE;
        r.v.date = value;
        return r;
    }
    static Var Bool(bool value) {
        Var r;
        r.v.vt = VT_BOOL;
        r.v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return r;
    }
    static Var Text(const std::u16string& text) {
        Var r;
        r.v.vt = VT_BSTR;
        r.v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return r;
    }
    Var(Var&& other) noexcept : v(other.v) { other.v.vt = VT_EMPTY; }

    VARIANT v;
};

HRESULT Change(VARIANT& out, const Var& in, VARTYPE vt, USHORT flags = 0) {
    return VariantChangeType(&out, &in.v, flags, vt);
}

std::u16string TextOf(const VARIANT& v) {
    return v.vt == VT_BSTR ? std::u16string(v.bstrVal, SysStringLen(v.bstrVal)) : u"<not text>";
}

std::u16string AsText(const Var& in, USHORT flags = 0) {
    Var out;
    const HRESULT hr = Change(out.v, in, VT_BSTR, flags);
    return hr == S_OK ? TextOf(out.v) : u"<failed>";
}

TEST(VariantConversionTest, SignedTargetsAtTheirLimits) {
    Var out;
    struct Case {
        VARTYPE vt;
        LONGLONG fits;
        LONGLONG overflows;
    };
    const Case cases[] = {
        {VT_I1, 127, 128},
        {VT_I1, -128, -129},
        {VT_I2, 32767, 32768},
        {VT_I2, -32768, -32769},
        {VT_I4, 2147483647LL, 2147483648LL},
        {VT_I4, -2147483648LL, -2147483649LL},
        {VT_INT, 2147483647LL, 2147483648LL},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Change(out.v, Var::I8(c.fits), c.vt), S_OK) << c.vt << " " << c.fits;
        EXPECT_EQ(out.v.vt, c.vt);
        Var back;
        ASSERT_EQ(VariantChangeType(&back.v, &out.v, 0, VT_I8), S_OK);
        EXPECT_EQ(back.v.llVal, c.fits);
        EXPECT_EQ(Change(out.v, Var::I8(c.overflows), c.vt), DISP_E_OVERFLOW)
            << c.vt << " " << c.overflows;
    }
    ASSERT_EQ(Change(out.v, Var::UI8(0x7FFFFFFFFFFFFFFFULL), VT_I8), S_OK);
    EXPECT_EQ(out.v.llVal, std::numeric_limits<LONGLONG>::max());
    EXPECT_EQ(Change(out.v, Var::UI8(0x8000000000000000ULL), VT_I8), DISP_E_OVERFLOW);
}

TEST(VariantConversionTest, UnsignedTargetsAtTheirLimitsAndNegatives) {
    Var out;
    ASSERT_EQ(Change(out.v, Var::I4(255), VT_UI1), S_OK);
    EXPECT_EQ(out.v.bVal, 255);
    EXPECT_EQ(Change(out.v, Var::I4(256), VT_UI1), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::I4(-1), VT_UI1), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Var::I4(65535), VT_UI2), S_OK);
    EXPECT_EQ(Change(out.v, Var::I4(65536), VT_UI2), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Var::I8(4294967295LL), VT_UI4), S_OK);
    EXPECT_EQ(out.v.ulVal, 4294967295u);
    EXPECT_EQ(Change(out.v, Var::I8(4294967296LL), VT_UINT), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::I8(-1), VT_UI8), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Var::Text(u"18446744073709551615"), VT_UI8), S_OK);
    EXPECT_EQ(out.v.ullVal, std::numeric_limits<ULONGLONG>::max());
    EXPECT_EQ(Change(out.v, Var::Text(u"18446744073709551616"), VT_UI8), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::Text(u"-1"), VT_UI4), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Var::Text(u"-0"), VT_UI4), S_OK);
    EXPECT_EQ(out.v.ulVal, 0u);
}

TEST(VariantConversionTest, FloatToIntegerRoundsHalfToEven) {
    Var out;
    const std::pair<double, LONG> cases[] = {{0.5, 0},   {1.5, 2},  {2.5, 2},  {3.5, 4}, {-2.5, -2},
                                             {-3.5, -4}, {2.49, 2}, {-0.5, 0}, {2.51, 3}};
    for (const auto& [input, expected] : cases) {
        ASSERT_EQ(Change(out.v, Var::R8(input), VT_I4), S_OK) << input;
        EXPECT_EQ(out.v.lVal, expected) << input;
    }
    EXPECT_EQ(Change(out.v, Var::R8(127.5), VT_I1), DISP_E_OVERFLOW);  // rounds to 128
    ASSERT_EQ(Change(out.v, Var::R8(-128.5), VT_I1), S_OK);            // rounds to -128
    EXPECT_EQ(out.v.cVal, -128);
    ASSERT_EQ(Change(out.v, Var::R8(-0.4), VT_UI1), S_OK);
    EXPECT_EQ(Change(out.v, Var::R8(-0.6), VT_UI1), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::R8(std::nan("")), VT_I4), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::R8(9.3e18), VT_I8), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::R8(INFINITY), VT_UI8), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Var::R4(2.5f), VT_I2), S_OK);
    EXPECT_EQ(out.v.iVal, 2);
    ASSERT_EQ(Change(out.v, Var::Date(1.5), VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, 2);
}

TEST(VariantConversionTest, TextToNumbers) {
    Var out;
    ASSERT_EQ(Change(out.v, Var::Text(u"  1,234.5 "), VT_R8), S_OK);
    EXPECT_EQ(out.v.dblVal, 1234.5);
    ASSERT_EQ(Change(out.v, Var::Text(u"1e3"), VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, 1000);
    ASSERT_EQ(Change(out.v, Var::Text(u"2.5"), VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, 2);
    ASSERT_EQ(Change(out.v, Var::Text(u"2.5000000000000000000000000001"), VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, 3);  // the tie is broken by the last digit
    ASSERT_EQ(Change(out.v, Var::Text(u"-.5e1"), VT_R8), S_OK);
    EXPECT_EQ(out.v.dblVal, -5.0);
    ASSERT_EQ(Change(out.v, Var::Text(u"-9223372036854775808"), VT_I8), S_OK);
    EXPECT_EQ(out.v.llVal, std::numeric_limits<LONGLONG>::min());
    EXPECT_EQ(Change(out.v, Var::Text(u"99999999999"), VT_I4), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::Text(u"1e400"), VT_R8), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::Text(u"1e39"), VT_R4), DISP_E_OVERFLOW);
    const char16_t* bad[] = {u"",      u"  ", u"abc", u"1,,2", u"1,",  u",1",
                             u"1.2.3", u"1e", u"--1", u"+",    u"1 2", u"0x10"};
    for (const char16_t* text : bad) {
        EXPECT_EQ(Change(out.v, Var::Text(text), VT_I4), DISP_E_TYPEMISMATCH)
            << std::string(text, text + std::char_traits<char16_t>::length(text));
        EXPECT_EQ(Change(out.v, Var::Text(text), VT_R8), DISP_E_TYPEMISMATCH);
    }
    EXPECT_EQ(Change(out.v,
                     Var::Text(std::u16string(u"12\0"
                                              u"3",
                                              4)),
                     VT_I4),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(out.v.vt, VT_I8);  // failures leave the destination alone
    EXPECT_EQ(out.v.llVal, std::numeric_limits<LONGLONG>::min());
}

TEST(VariantConversionTest, NumbersToText) {
    EXPECT_EQ(AsText(Var::I4(-42)), u"-42");
    EXPECT_EQ(AsText(Var::UI8(std::numeric_limits<ULONGLONG>::max())), u"18446744073709551615");
    EXPECT_EQ(AsText(Var::R8(1.5)), u"1.5");
    EXPECT_EQ(AsText(Var::R8(0.1)), u"0.1");
    EXPECT_EQ(AsText(Var::R8(-0.0)), u"0");
    EXPECT_EQ(AsText(Var::R8(1e20)), u"1E+20");
    EXPECT_EQ(AsText(Var::R8(1.23e-5)), u"1.23E-05");
    EXPECT_EQ(AsText(Var::R8(123456789012345.0)), u"123456789012345");
    EXPECT_EQ(AsText(Var::R4(0.1f)), u"0.1");
}

TEST(VariantConversionTest, BooleansBothWays) {
    EXPECT_EQ(AsText(Var::Bool(true)), u"-1");
    EXPECT_EQ(AsText(Var::Bool(false)), u"0");
    EXPECT_EQ(AsText(Var::Bool(true), VARIANT_ALPHABOOL), u"True");
    EXPECT_EQ(AsText(Var::Bool(false), VARIANT_LOCALBOOL), u"False");
    Var out;
    const std::pair<const char16_t*, VARIANT_BOOL> texts[] = {{u"true", VARIANT_TRUE},
                                                              {u" FALSE ", VARIANT_FALSE},
                                                              {u"0", VARIANT_FALSE},
                                                              {u"-1", VARIANT_TRUE},
                                                              {u"0.25", VARIANT_TRUE}};
    for (const auto& [text, expected] : texts) {
        ASSERT_EQ(Change(out.v, Var::Text(text), VT_BOOL), S_OK);
        EXPECT_EQ(out.v.boolVal, expected);
    }
    EXPECT_EQ(Change(out.v, Var::Text(u"yes"), VT_BOOL), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(Change(out.v, Var::I4(5), VT_BOOL), S_OK);
    EXPECT_EQ(out.v.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Change(out.v, Var::R8(0.0), VT_BOOL), S_OK);
    EXPECT_EQ(out.v.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Change(out.v, Var::Bool(true), VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, -1);
    ASSERT_EQ(Change(out.v, Var::Bool(true), VT_UI1), S_OK);
    EXPECT_EQ(out.v.bVal, 255);
    ASSERT_EQ(Change(out.v, Var::Bool(true), VT_R8), S_OK);
    EXPECT_EQ(out.v.dblVal, -1.0);
}

TEST(VariantConversionTest, EmptyAndNull) {
    Var empty;
    Var out;
    ASSERT_EQ(Change(out.v, empty, VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, 0);
    ASSERT_EQ(Change(out.v, empty, VT_BSTR), S_OK);
    ASSERT_NE(out.v.bstrVal, nullptr);
    EXPECT_EQ(SysStringLen(out.v.bstrVal), 0u);
    ASSERT_EQ(Change(out.v, empty, VT_DATE), S_OK);
    EXPECT_EQ(out.v.date, 0.0);
    Var null;
    null.v.vt = VT_NULL;
    EXPECT_EQ(Change(out.v, null, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(out.v, null, VT_BSTR), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(Change(out.v, null, VT_NULL), S_OK);
    EXPECT_EQ(out.v.vt, VT_NULL);
    ASSERT_EQ(Change(out.v, Var::I4(3), VT_EMPTY), S_OK);
    EXPECT_EQ(out.v.vt, VT_EMPTY);
}

DECIMAL MakeDecimal(ULONG hi, ULONGLONG lo, BYTE scale, bool negative) {
    DECIMAL d{};
    d.Hi32 = hi;
    d.v.Lo64 = lo;
    d.u.s.scale = scale;
    d.u.s.sign = negative ? DECIMAL_NEG : 0;
    return d;
}

Var Dec(const DECIMAL& d) {
    Var r;
    r.v.decVal = d;
    r.v.vt = VT_DECIMAL;
    return r;
}

TEST(VariantConversionTest, DecimalIsExact) {
    Var out;
    ASSERT_EQ(Change(out.v, Var::Text(u"79228162514264337593543950335"), VT_DECIMAL), S_OK);
    EXPECT_EQ(out.v.decVal.Hi32, 0xFFFFFFFFu);
    EXPECT_EQ(out.v.decVal.v.Lo64, 0xFFFFFFFFFFFFFFFFULL);
    EXPECT_EQ(out.v.decVal.u.s.scale, 0);
    EXPECT_EQ(Change(out.v, Var::Text(u"79228162514264337593543950336"), VT_DECIMAL),
              DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Var::Text(u"1e29"), VT_DECIMAL), DISP_E_OVERFLOW);
    // More fraction than fits is rounded away, half to even.
    ASSERT_EQ(Change(out.v, Var::Text(u"0.12345678901234567890123456785"), VT_DECIMAL), S_OK);
    EXPECT_EQ(out.v.decVal.u.s.scale, 28);
    Var text;
    ASSERT_EQ(VariantChangeType(&text.v, &out.v, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(text.v), u"0.1234567890123456789012345678");
    ASSERT_EQ(Change(out.v, Var::Text(u"7.9228162514264337593543950335"), VT_DECIMAL), S_OK);
    EXPECT_EQ(out.v.decVal.u.s.scale, 28);
    // At the last place: ties go to even, and a carry past 96 bits gives up one place.
    const std::pair<const char16_t*, const char16_t*> rounding[] = {
        {u"1e-28", u"0.0000000000000000000000000001"},
        {u"5e-29", u"0"},
        {u"1.5e-28", u"0.0000000000000000000000000002"},
        {u"7.92281625142643375935439503355", u"7.922816251426433759354395034"},
        {u"123,456.789e-2", u"1234.56789"},
    };
    for (const auto& [input, expected] : rounding) {
        ASSERT_EQ(Change(out.v, Var::Text(input), VT_DECIMAL), S_OK);
        Var asText;
        ASSERT_EQ(VariantChangeType(&asText.v, &out.v, 0, VT_BSTR), S_OK);
        EXPECT_EQ(TextOf(asText.v), expected);
    }

    EXPECT_EQ(AsText(Dec(MakeDecimal(0, 125, 1, true))), u"-12.5");
    EXPECT_EQ(AsText(Dec(MakeDecimal(0, 1500, 3, false))), u"1.5");
    EXPECT_EQ(AsText(Dec(MakeDecimal(0, 5, 4, false))), u"0.0005");
    EXPECT_EQ(AsText(Dec(MakeDecimal(0, 0, 2, true))), u"0");
    ASSERT_EQ(Change(out.v, Dec(MakeDecimal(0, 25, 1, false)), VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, 2);
    ASSERT_EQ(Change(out.v, Dec(MakeDecimal(0, 35, 1, true)), VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, -4);
    EXPECT_EQ(Change(out.v, Dec(MakeDecimal(1, 0, 0, false)), VT_I8), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(out.v, Dec(MakeDecimal(0, 1, 0, true)), VT_UI4), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Dec(MakeDecimal(0, 1, 0, true)), VT_R8), S_OK);
    EXPECT_EQ(out.v.dblVal, -1.0);

    // Doubles go through their 15 significant digits, so 0.1 is exactly one tenth.
    ASSERT_EQ(Change(out.v, Var::R8(0.1), VT_DECIMAL), S_OK);
    EXPECT_EQ(out.v.decVal.v.Lo64, 1u);
    EXPECT_EQ(out.v.decVal.u.s.scale, 1);
    EXPECT_EQ(Change(out.v, Var::R8(1e30), VT_DECIMAL), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Var::I8(std::numeric_limits<LONGLONG>::min()), VT_DECIMAL), S_OK);
    Var back;
    ASSERT_EQ(VariantChangeType(&back.v, &out.v, 0, VT_I8), S_OK);
    EXPECT_EQ(back.v.llVal, std::numeric_limits<LONGLONG>::min());
    EXPECT_EQ(Change(out.v, Dec(MakeDecimal(0, 1, 29, false)), VT_I4), E_INVALIDARG);
}

TEST(VariantConversionTest, CurrencyHasFourPlaces) {
    Var out;
    ASSERT_EQ(Change(out.v, Var::R8(1.23456), VT_CY), S_OK);
    EXPECT_EQ(out.v.cyVal.int64, 12346);
    Var text;
    ASSERT_EQ(VariantChangeType(&text.v, &out.v, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(text.v), u"1.2346");
    ASSERT_EQ(Change(out.v, Var::Text(u"0.00005"), VT_CY), S_OK);
    EXPECT_EQ(out.v.cyVal.int64, 0);  // half to even
    EXPECT_EQ(Change(out.v, Var::I8(std::numeric_limits<LONGLONG>::max()), VT_CY), DISP_E_OVERFLOW);
}

TEST(VariantConversionTest, DatesAndTheirText) {
    EXPECT_EQ(AsText(Var::Date(0.0)), u"12:00:00 AM");
    EXPECT_EQ(AsText(Var::Date(1.0)), u"12/31/1899");
    EXPECT_EQ(AsText(Var::Date(45000.5)), u"3/15/2023 12:00:00 PM");
    EXPECT_EQ(AsText(Var::Date(-1.25)), u"12/29/1899 6:00:00 AM");
    EXPECT_EQ(AsText(Var::Date(0.75)), u"6:00:00 PM");
    EXPECT_EQ(AsText(Var::Date(2.0 - 1e-9)), u"1/1/1900");  // rounds up into the next day
    Var out;
    EXPECT_EQ(Change(out.v, Var::Date(3e6), VT_BSTR), DISP_E_OVERFLOW);

    ASSERT_EQ(Change(out.v, Var::Text(u"3/15/2023 12:00:00 PM"), VT_DATE), S_OK);
    EXPECT_EQ(out.v.date, 45000.5);
    ASSERT_EQ(Change(out.v, Var::Text(u"2024-02-29T13:45:00"), VT_DATE), S_OK);
    EXPECT_EQ(AsText(Var::Date(out.v.date)), u"2/29/2024 1:45:00 PM");
    ASSERT_EQ(Change(out.v, Var::Text(u"12/29/1899 6:00 am"), VT_DATE), S_OK);
    EXPECT_EQ(out.v.date, -1.25);
    ASSERT_EQ(Change(out.v, Var::Text(u"1/2/30"), VT_DATE), S_OK);
    EXPECT_EQ(AsText(Var::Date(out.v.date)), u"1/2/1930");
    const char16_t* bad[] = {u"2/30/2020", u"13/1/2020", u"1/1/2020 25:00", u"1/1/2020 12:60",
                             u"0:00 PM",   u"yesterday", u"1/1/10000",      u""};
    for (const char16_t* text : bad) {
        EXPECT_EQ(Change(out.v, Var::Text(text), VT_DATE), DISP_E_TYPEMISMATCH);
    }
    EXPECT_EQ(Change(out.v, Var::R8(1e7), VT_DATE), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(out.v, Var::I4(2), VT_DATE), S_OK);
    EXPECT_EQ(out.v.date, 2.0);
}

TEST(VariantConversionTest, ByReferenceSourcesAreRead) {
    LONG number = 77;
    Var byRef;
    byRef.v.vt = VT_I4 | VT_BYREF;
    byRef.v.plVal = &number;
    EXPECT_EQ(AsText(byRef), u"77");
    BSTR text = SysAllocString(u"12");
    Var textRef;
    textRef.v.vt = VT_BSTR | VT_BYREF;
    textRef.v.pbstrVal = &text;
    Var out;
    ASSERT_EQ(Change(out.v, textRef, VT_I4), S_OK);
    EXPECT_EQ(out.v.lVal, 12);
    // A copy of the same type is deep: the referenced BSTR stays the caller's.
    ASSERT_EQ(Change(out.v, textRef, VT_BSTR), S_OK);
    EXPECT_NE(out.v.bstrVal, text);
    Var inner = Var::R8(2.5);
    Var variantRef;
    variantRef.v.vt = VT_VARIANT | VT_BYREF;
    variantRef.v.pvarVal = &inner.v;
    ASSERT_EQ(Change(out.v, variantRef, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(out.v), u"2.5");
    Var nullRef;
    nullRef.v.vt = VT_I4 | VT_BYREF;
    nullRef.v.plVal = nullptr;
    EXPECT_EQ(Change(out.v, nullRef, VT_I4), E_INVALIDARG);
    SysFreeString(text);
}

TEST(VariantConversionTest, InPlaceAndFailureLeavesDestination) {
    Var value = Var::Text(u"12");
    ASSERT_EQ(VariantChangeType(&value.v, &value.v, 0, VT_I4),
              S_OK);  // ASan sees the old BSTR freed
    EXPECT_EQ(value.v.vt, VT_I4);
    EXPECT_EQ(value.v.lVal, 12);
    ASSERT_EQ(VariantChangeType(&value.v, &value.v, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(value.v), u"12");
    ASSERT_EQ(VariantChangeType(&value.v, &value.v, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(value.v), u"12");

    Var keep = Var::Text(u"keep");
    EXPECT_EQ(Change(keep.v, Var::Text(u"abc"), VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(TextOf(keep.v), u"keep");
    EXPECT_EQ(VariantChangeType(&keep.v, &keep.v, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(TextOf(keep.v), u"keep");
}

TEST(VariantConversionTest, BadTypesAndObjects) {
    Var out;
    Var bad;
    bad.v.vt = 0x7F;
    EXPECT_EQ(Change(out.v, bad, VT_I4), DISP_E_BADVARTYPE);
    bad.v.vt = VT_EMPTY;
    EXPECT_EQ(Change(out.v, Var::I4(1), VT_VARIANT), DISP_E_BADVARTYPE);
    EXPECT_EQ(Change(out.v, Var::I4(1), VT_I4 | VT_BYREF), DISP_E_BADVARTYPE);
    EXPECT_EQ(Change(out.v, Var::I4(1), 0x7F), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantChangeType(nullptr, &out.v, 0, VT_I4), E_INVALIDARG);
    EXPECT_EQ(VariantChangeType(&out.v, nullptr, 0, VT_I4), E_INVALIDARG);

    CountingUnknown unknown;
    Var object;
    object.v.vt = VT_UNKNOWN;
    object.v.punkVal = &unknown;
    unknown.AddRef();
    EXPECT_EQ(Change(out.v, object, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(out.v, object, VT_BSTR), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(out.v, object, VT_DISPATCH), DISP_E_TYPEMISMATCH);  // no IDispatch to give
    EXPECT_EQ(unknown.references, 2u);
    ASSERT_EQ(Change(out.v, object, VT_UNKNOWN), S_OK);
    EXPECT_EQ(unknown.references, 3u);
    VariantClear(&out.v);
    VariantClear(&object.v);
    EXPECT_EQ(unknown.references, 1u);
    EXPECT_EQ(Change(out.v, Var::I4(1), VT_UNKNOWN), DISP_E_TYPEMISMATCH);
    const Var real = Var::R8(1.5);
    EXPECT_EQ(VariantChangeTypeEx(&out.v, &real.v, 0x0407, 0, VT_BSTR), S_OK);
    EXPECT_EQ(TextOf(out.v), u"1.5");  // the same invariant rules for every locale
}

TEST(VariantConversionTest, ArbitraryInputsNeverCrash) {
    const VARTYPE sources[] = {VT_EMPTY, VT_NULL, VT_I1,   VT_I2,      VT_I4,   VT_I8, VT_UI1,
                               VT_UI2,   VT_UI4,  VT_UI8,  VT_INT,     VT_UINT, VT_R4, VT_R8,
                               VT_CY,    VT_DATE, VT_BOOL, VT_DECIMAL, VT_ERROR};
    const VARTYPE targets[] = {VT_EMPTY, VT_NULL, VT_I1,   VT_I2,      VT_I4,   VT_I8,   VT_UI1,
                               VT_UI2,   VT_UI4,  VT_UI8,  VT_INT,     VT_UINT, VT_R4,   VT_R8,
                               VT_CY,    VT_DATE, VT_BOOL, VT_DECIMAL, VT_BSTR, VT_ERROR};
    std::mt19937_64 random(99);
    for (int round = 0; round < 3000; ++round) {
        Var in;
        const VARTYPE vt = sources[random() % std::size(sources)];
        const ULONGLONG bits = random();
        std::memcpy(&in.v.llVal, &bits, sizeof(bits));
        if (vt == VT_DECIMAL) {
            in.v.decVal.Hi32 = static_cast<ULONG>(random());
            in.v.decVal.u.s.scale = static_cast<BYTE>(random() % 32);
            in.v.decVal.u.s.sign = random() % 2 == 0 ? 0 : DECIMAL_NEG;
        }
        in.v.vt = vt;
        for (VARTYPE target : targets) {
            Var out;
            const HRESULT hr = VariantChangeType(&out.v, &in.v, VARIANT_ALPHABOOL, target);
            if (SUCCEEDED(hr)) {
                EXPECT_EQ(out.v.vt, target);
                if (target == VT_BSTR && out.v.bstrVal != nullptr) {
                    // Whatever became text converts back without harm.
                    Var again;
                    VariantChangeType(&again.v, &out.v, 0, vt);
                }
            }
        }
    }
}

TEST(VariantConversionTest, ArbitraryTextNeverCrashes) {
    const std::u16string alphabet =
        u"0123456789.,+-eE :/TAPMaptrufls#%\xFFFF" + std::u16string(1, 0);
    const VARTYPE targets[] = {VT_I1,  VT_I2, VT_I4, VT_I8, VT_UI1,  VT_UI2,  VT_UI4,
                               VT_UI8, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BOOL, VT_DECIMAL};
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        std::u16string text(random() % 40, u' ');
        for (auto& c : text) c = alphabet[random() % alphabet.size()];
        const Var in = Var::Text(text);
        for (VARTYPE target : targets) {
            Var out;
            const HRESULT hr = VariantChangeType(&out.v, &in.v, 0, target);
            EXPECT_TRUE(hr == S_OK || hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW) << hr;
            if (hr == S_OK) {
                Var back;
                EXPECT_EQ(VariantChangeType(&back.v, &out.v, 0, VT_BSTR), S_OK);
            }
        }
    }
}

}  // namespace
