// The data conversion of GetData: writes a column value into a consumer's buffer as a binding
// asks (value, length, status), and the table of conversions that IConvertType reports.
#pragma once

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "com_runtime.h"
#include "oledb.h"
#include "utf_text.h"

namespace data_conversion_detail {

constexpr DBTYPE kTypeModifiers = DBTYPE_BYREF | DBTYPE_ARRAY | DBTYPE_VECTOR | DBTYPE_RESERVED;

enum class TypeClass { kNone, kNumber, kText, kGuid, kTimestamp, kVariant };

inline TypeClass ClassOf(DBTYPE type) {
    switch (type) {
        case DBTYPE_I1:
        case DBTYPE_UI1:
        case DBTYPE_I2:
        case DBTYPE_UI2:
        case DBTYPE_I4:
        case DBTYPE_UI4:
        case DBTYPE_I8:
        case DBTYPE_UI8:
        case DBTYPE_R4:
        case DBTYPE_R8:
        case DBTYPE_BOOL:
        case DBTYPE_CY:
        case DBTYPE_DECIMAL:
            return TypeClass::kNumber;
        case DBTYPE_WSTR:
        case DBTYPE_STR:
        case DBTYPE_BSTR:
            return TypeClass::kText;
        case DBTYPE_GUID:
            return TypeClass::kGuid;
        case DBTYPE_DBTIMESTAMP:
        case DBTYPE_DATE:
            return TypeClass::kTimestamp;
        case DBTYPE_VARIANT:
            return TypeClass::kVariant;
        default:
            return TypeClass::kNone;
    }
}

// Automation types that are read as sources but never written.
inline bool IsSourceOnly(DBTYPE type) {
    return type == DBTYPE_DATE || type == DBTYPE_CY || type == DBTYPE_DECIMAL;
}

// A source value reduced to what the conversions need.
struct SourceValue {
    enum class Kind { kNull, kSigned, kUnsigned, kReal, kBool, kText, kGuid, kTimestamp };
    Kind kind = Kind::kNull;
    LONGLONG i = 0;
    ULONGLONG u = 0;
    double r = 0;
    bool b = false;
    std::u16string text;
    GUID guid{};
    DBTIMESTAMP timestamp{};
};

template <class V>
V ReadRaw(const void* data) {
    V value;
    std::memcpy(&value, data, sizeof(V));
    return value;
}

template <class V>
void WriteRaw(BYTE* target, const V& value) {
    std::memcpy(target, &value, sizeof(V));
}

// A NUL inside the given length ends the text, as it would for a C string.
inline std::u16string TextFromWide(const OLECHAR* text, size_t maxChars) {
    if (text == nullptr) return std::u16string();
    size_t length = 0;
    while (length < maxChars && text[length] != 0) ++length;
    return std::u16string(text, length);
}

// The civil date and time of an automation date (days from 1899-12-30; before it the time of
// day counts away from zero), to the millisecond.
inline bool TimestampFromAutomationDate(double date, DBTIMESTAMP& out) {
    if (!(date > -657435.0 && date < 2958466.0)) return false;  // years 100 to 9999
    const double wholeDays = std::trunc(date);
    long long millis = std::llround(std::fabs(date - wholeDays) * 86400000.0);
    if (millis >= 86400000) millis = 86399999;
    const long long z = static_cast<long long>(wholeDays) - 25569 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    out = DBTIMESTAMP{static_cast<SHORT>(year),
                      static_cast<USHORT>(month),
                      static_cast<USHORT>(day),
                      static_cast<USHORT>(millis / 3600000),
                      static_cast<USHORT>(millis / 60000 % 60),
                      static_cast<USHORT>(millis / 1000 % 60),
                      static_cast<ULONG>(millis % 1000 * 1000000)};
    return true;
}

inline bool SourceFromVariant(const VARIANT& variant, SourceValue& out) {
    using Kind = SourceValue::Kind;
    switch (variant.vt) {
        case VT_EMPTY:
        case VT_NULL:
            out.kind = Kind::kNull;
            return true;
        case VT_I1:
            out.kind = Kind::kSigned,
            out.i = variant.cVal;  // NOLINT(bugprone-signed-char-misuse): I1 is signed
            return true;
        case VT_I2:
            out.kind = Kind::kSigned, out.i = variant.iVal;
            return true;
        case VT_I4:
            out.kind = Kind::kSigned, out.i = variant.lVal;
            return true;
        case VT_INT:
            out.kind = Kind::kSigned, out.i = variant.intVal;
            return true;
        case VT_I8:
            out.kind = Kind::kSigned, out.i = variant.llVal;
            return true;
        case VT_UI1:
            out.kind = Kind::kUnsigned, out.u = variant.bVal;
            return true;
        case VT_UI2:
            out.kind = Kind::kUnsigned, out.u = variant.uiVal;
            return true;
        case VT_UI4:
            out.kind = Kind::kUnsigned, out.u = variant.ulVal;
            return true;
        case VT_UINT:
            out.kind = Kind::kUnsigned, out.u = variant.uintVal;
            return true;
        case VT_UI8:
            out.kind = Kind::kUnsigned, out.u = variant.ullVal;
            return true;
        case VT_R4:
            out.kind = Kind::kReal, out.r = variant.fltVal;
            return true;
        case VT_R8:
            out.kind = Kind::kReal, out.r = variant.dblVal;
            return true;
        case VT_BOOL:
            out.kind = Kind::kBool, out.b = variant.boolVal != VARIANT_FALSE;
            return true;
        case VT_BSTR:
            out.kind = Kind::kText;
            out.text = variant.bstrVal == nullptr
                           ? std::u16string()
                           : std::u16string(variant.bstrVal, SysStringLen(variant.bstrVal));
            return true;
        case VT_DATE:
            out.kind = Kind::kTimestamp;
            return TimestampFromAutomationDate(variant.date, out.timestamp);
        case VT_CY:
            out.kind = Kind::kReal, out.r = static_cast<double>(variant.cyVal.int64) / 10000.0;
            return true;
        case VT_DECIMAL: {
            VARIANT real;
            VariantInit(&real);
            if (FAILED(VariantChangeType(&real, &variant, 0, VT_R8))) return false;
            out.kind = Kind::kReal, out.r = real.dblVal;
            return true;
        }
        default:
            return false;
    }
}

// The size of a fixed-length type that is copied as it is; 0 for the others (a boolean is
// written as VARIANT_TRUE or VARIANT_FALSE whatever its stored bits).
inline size_t FixedCopySize(DBTYPE type) {
    switch (type) {
        case DBTYPE_I1:
        case DBTYPE_UI1:
            return 1;
        case DBTYPE_I2:
        case DBTYPE_UI2:
            return 2;
        case DBTYPE_I4:
        case DBTYPE_UI4:
        case DBTYPE_R4:
            return 4;
        case DBTYPE_I8:
        case DBTYPE_UI8:
        case DBTYPE_R8:
            return 8;
        case DBTYPE_GUID:
        case DBTYPE_DBTIMESTAMP:
            return 16;
        default:
            return 0;
    }
}

// Reads a column value; false when its type is not one the conversions know.
inline bool ReadSource(DBTYPE type, const void* data, DBLENGTH length, SourceValue& out) {
    using Kind = SourceValue::Kind;
    switch (type) {
        case DBTYPE_I1:
            out.kind = Kind::kSigned,
            out.i = ReadRaw<signed char>(data);  // NOLINT(bugprone-signed-char-misuse)
            return true;
        case DBTYPE_I2:
            out.kind = Kind::kSigned, out.i = ReadRaw<SHORT>(data);
            return true;
        case DBTYPE_I4:
            out.kind = Kind::kSigned, out.i = ReadRaw<LONG>(data);
            return true;
        case DBTYPE_I8:
            out.kind = Kind::kSigned, out.i = ReadRaw<LONGLONG>(data);
            return true;
        case DBTYPE_UI1:
            out.kind = Kind::kUnsigned, out.u = ReadRaw<BYTE>(data);
            return true;
        case DBTYPE_UI2:
            out.kind = Kind::kUnsigned, out.u = ReadRaw<USHORT>(data);
            return true;
        case DBTYPE_UI4:
            out.kind = Kind::kUnsigned, out.u = ReadRaw<ULONG>(data);
            return true;
        case DBTYPE_UI8:
            out.kind = Kind::kUnsigned, out.u = ReadRaw<ULONGLONG>(data);
            return true;
        case DBTYPE_R4:
            out.kind = Kind::kReal, out.r = ReadRaw<FLOAT>(data);
            return true;
        case DBTYPE_R8:
            out.kind = Kind::kReal, out.r = ReadRaw<DOUBLE>(data);
            return true;
        case DBTYPE_BOOL:
            out.kind = Kind::kBool, out.b = ReadRaw<VARIANT_BOOL>(data) != VARIANT_FALSE;
            return true;
        case DBTYPE_WSTR:
            out.kind = Kind::kText;
            out.text = TextFromWide(static_cast<const OLECHAR*>(data), length / sizeof(OLECHAR));
            return true;
        case DBTYPE_STR: {
            const char* text = static_cast<const char*>(data);
            size_t count = 0;
            while (count < length && text[count] != 0) ++count;
            out.kind = Kind::kText;
            out.text = comrt::Utf8ToUtf16(std::string_view(text, count));
            return true;
        }
        case DBTYPE_BSTR: {
            const BSTR bstr = ReadRaw<BSTR>(data);
            out.kind = Kind::kText;
            out.text =
                bstr == nullptr ? std::u16string() : std::u16string(bstr, SysStringLen(bstr));
            return true;
        }
        case DBTYPE_GUID:
            out.kind = Kind::kGuid, out.guid = ReadRaw<GUID>(data);
            return true;
        case DBTYPE_DBTIMESTAMP:
            out.kind = Kind::kTimestamp, out.timestamp = ReadRaw<DBTIMESTAMP>(data);
            return true;
        case DBTYPE_VARIANT:
            return SourceFromVariant(ReadRaw<VARIANT>(data), out);
        case DBTYPE_DATE:
        case DBTYPE_CY:
        case DBTYPE_DECIMAL: {
            // Read as the VARIANT that would hold it.
            VARIANT held;
            VariantInit(&held);
            if (type == DBTYPE_DECIMAL) {
                held.decVal = ReadRaw<DECIMAL>(data);
            } else if (type == DBTYPE_CY) {
                held.cyVal = ReadRaw<CY>(data);
            } else {
                held.date = ReadRaw<DATE>(data);
            }
            held.vt = type;
            return SourceFromVariant(held, out);
        }
        default:
            return false;
    }
}

inline std::string Narrow(const std::u16string& text) { return comrt::Utf16ToUtf8(text); }

inline std::u16string Widen(const std::string& text) { return comrt::Utf8ToUtf16(text); }

inline std::string Trimmed(const std::u16string& text) {
    std::string narrow = Narrow(text);
    const size_t first = narrow.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = narrow.find_last_not_of(" \t");
    return narrow.substr(first, last - first + 1);
}

inline bool EqualsIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return i == a.size() && b[i] == 0;
}

// Reads text as a number: an integer when it is one, else a real; false when it is neither.
inline bool ParseNumber(const std::u16string& text, SourceValue& out) {
    using Kind = SourceValue::Kind;
    const std::string narrow = Trimmed(text);
    if (narrow.empty()) return false;
    const char* begin = narrow.c_str();
    char* end = nullptr;
    errno = 0;
    if (narrow[0] == '-') {
        const long long value = std::strtoll(begin, &end, 10);
        if (errno == 0 && end != nullptr && *end == 0) {
            out.kind = Kind::kSigned, out.i = value;
            return true;
        }
    } else {
        const unsigned long long value = std::strtoull(begin, &end, 10);
        if (errno == 0 && end != nullptr && *end == 0 && narrow[0] != '+') {
            out.kind = Kind::kUnsigned, out.u = value;
            return true;
        }
    }
    errno = 0;
    const double real = std::strtod(begin, &end);
    if (end == nullptr || *end != 0 || end == begin) return false;
    if (std::isnan(real)) return false;
    out.kind = Kind::kReal, out.r = real;
    return true;
}

inline bool ParseTimestamp(const std::u16string& text, DBTIMESTAMP& out) {
    const std::string narrow = Trimmed(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char fraction[16] = {};
    int consumed = 0;
    const int fields = std::sscanf(narrow.c_str(), "%d-%d-%d%n", &year, &month, &day, &consumed);
    if (fields != 3) return false;
    const char* rest = narrow.c_str() + consumed;
    if (*rest != 0) {
        int more = 0;
        if (std::sscanf(rest, " %d:%d:%d%n", &hour, &minute, &second, &more) != 3) return false;
        rest += more;
        if (*rest == '.') {
            int digits = 0;
            ++rest;
            while (rest[digits] >= '0' && rest[digits] <= '9' && digits < 9) {
                fraction[digits] = rest[digits];
                ++digits;
            }
            if (digits == 0 || rest[digits] != 0) return false;
            rest += digits;
        }
        if (*rest != 0) return false;
    }
    if (year < -9999 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 61)
        return false;
    ULONG billionths = 0;
    for (int i = 0; i < 9; ++i)
        billionths = billionths * 10 + (fraction[i] ? fraction[i] - '0' : 0);
    out = DBTIMESTAMP{static_cast<SHORT>(year),
                      static_cast<USHORT>(month),
                      static_cast<USHORT>(day),
                      static_cast<USHORT>(hour),
                      static_cast<USHORT>(minute),
                      static_cast<USHORT>(second),
                      billionths};
    return true;
}

inline std::u16string FormatReal(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    if (std::strtod(buffer, nullptr) != value) std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return Widen(buffer);
}

inline std::u16string FormatTimestamp(const DBTIMESTAMP& ts) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02u:%02u:%02u", ts.year, ts.month, ts.day,
                  ts.hour, ts.minute, ts.second);
    std::string text = buffer;
    if (ts.fraction != 0) {
        std::snprintf(buffer, sizeof buffer, ".%09lu", static_cast<unsigned long>(ts.fraction));
        std::string fraction = buffer;
        while (fraction.back() == '0') fraction.pop_back();
        text += fraction;
    }
    return Widen(text);
}

inline std::u16string FormatGuid(const GUID& guid) {
    OLECHAR buffer[40] = {};
    const int written = StringFromGUID2(guid, buffer, 40);
    return written > 0 ? std::u16string(buffer) : std::u16string();
}

// The value as text; false when it has no text form.
inline bool AsText(const SourceValue& value, std::u16string& text) {
    using Kind = SourceValue::Kind;
    switch (value.kind) {
        case Kind::kSigned:
            text = Widen(std::to_string(value.i));
            return true;
        case Kind::kUnsigned:
            text = Widen(std::to_string(value.u));
            return true;
        case Kind::kReal:
            text = FormatReal(value.r);
            return true;
        case Kind::kBool:
            text = value.b ? u"True" : u"False";
            return true;
        case Kind::kText:
            text = value.text;
            return true;
        case Kind::kGuid:
            text = FormatGuid(value.guid);
            return true;
        case Kind::kTimestamp:
            text = FormatTimestamp(value.timestamp);
            return true;
        default:
            return false;
    }
}

// Brings text, reals and booleans to an integer or real for the numeric targets.
inline DBSTATUS AsNumber(const SourceValue& value, SourceValue& number) {
    using Kind = SourceValue::Kind;
    if (value.kind == Kind::kText) {
        const std::string narrow = Trimmed(value.text);
        if (EqualsIgnoringCase(narrow, "true")) {
            number.kind = Kind::kBool, number.b = true;
            return DBSTATUS_S_OK;
        }
        if (EqualsIgnoringCase(narrow, "false")) {
            number.kind = Kind::kBool, number.b = false;
            return DBSTATUS_S_OK;
        }
        return ParseNumber(value.text, number) ? DBSTATUS_S_OK : DBSTATUS_E_CANTCONVERTVALUE;
    }
    if (value.kind == Kind::kSigned || value.kind == Kind::kUnsigned || value.kind == Kind::kReal ||
        value.kind == Kind::kBool) {
        number = value;
        return DBSTATUS_S_OK;
    }
    return DBSTATUS_E_CANTCONVERTVALUE;
}

// An integer target of type I: reals lose their fraction toward zero; a negative value for an
// unsigned type is a sign mismatch, anything else out of range an overflow. True is -1 for
// signed targets and 1 for unsigned ones.
template <class I>
DBSTATUS ToInteger(const SourceValue& value, I& out) {
    using Kind = SourceValue::Kind;
    constexpr bool kSigned = std::numeric_limits<I>::is_signed;
    SourceValue number;
    const DBSTATUS status = AsNumber(value, number);
    if (status != DBSTATUS_S_OK) return status;
    switch (number.kind) {
        case Kind::kBool:
            out = number.b ? static_cast<I>(kSigned ? -1 : 1) : I(0);
            return DBSTATUS_S_OK;
        case Kind::kSigned:
            if (number.i < 0 && !kSigned) return DBSTATUS_E_SIGNMISMATCH;
            if (number.i < static_cast<LONGLONG>(std::numeric_limits<I>::min()) ||
                (number.i > 0 && static_cast<ULONGLONG>(number.i) >
                                     static_cast<ULONGLONG>(std::numeric_limits<I>::max())))
                return DBSTATUS_E_DATAOVERFLOW;
            out = static_cast<I>(number.i);
            return DBSTATUS_S_OK;
        case Kind::kUnsigned:
            if (number.u > static_cast<ULONGLONG>(std::numeric_limits<I>::max()))
                return DBSTATUS_E_DATAOVERFLOW;
            out = static_cast<I>(number.u);
            return DBSTATUS_S_OK;
        case Kind::kReal: {
            if (std::isnan(number.r)) return DBSTATUS_E_CANTCONVERTVALUE;
            const double whole = std::trunc(number.r);
            if (whole < 0 && !kSigned) return DBSTATUS_E_SIGNMISMATCH;
            // Bounds as powers of two, exact in a double.
            const double upper = static_cast<double>(std::numeric_limits<I>::max()) + 1.0;
            const double lower = static_cast<double>(std::numeric_limits<I>::min());
            if (!(whole < upper) || whole < lower) return DBSTATUS_E_DATAOVERFLOW;
            out = static_cast<I>(whole);
            return DBSTATUS_S_OK;
        }
        default:
            return DBSTATUS_E_CANTCONVERTVALUE;
    }
}

inline DBSTATUS ToReal(const SourceValue& value, double& out) {
    using Kind = SourceValue::Kind;
    SourceValue number;
    const DBSTATUS status = AsNumber(value, number);
    if (status != DBSTATUS_S_OK) return status;
    switch (number.kind) {
        case Kind::kBool:
            out = number.b ? -1.0 : 0.0;
            return DBSTATUS_S_OK;
        case Kind::kSigned:
            out = static_cast<double>(number.i);
            return DBSTATUS_S_OK;
        case Kind::kUnsigned:
            out = static_cast<double>(number.u);
            return DBSTATUS_S_OK;
        case Kind::kReal:
            if (std::isinf(number.r)) return DBSTATUS_E_DATAOVERFLOW;
            out = number.r;
            return DBSTATUS_S_OK;
        default:
            return DBSTATUS_E_CANTCONVERTVALUE;
    }
}

inline DBSTATUS ToBool(const SourceValue& value, bool& out) {
    using Kind = SourceValue::Kind;
    SourceValue number;
    const DBSTATUS status = AsNumber(value, number);
    if (status != DBSTATUS_S_OK) return status;
    switch (number.kind) {
        case Kind::kBool:
            out = number.b;
            return DBSTATUS_S_OK;
        case Kind::kSigned:
            out = number.i != 0;
            return DBSTATUS_S_OK;
        case Kind::kUnsigned:
            out = number.u != 0;
            return DBSTATUS_S_OK;
        case Kind::kReal:
            out = number.r != 0;
            return DBSTATUS_S_OK;
        default:
            return DBSTATUS_E_CANTCONVERTVALUE;
    }
}

// Where a binding's parts go in the consumer's row.
struct BoundParts {
    BYTE* value = nullptr;
    BYTE* length = nullptr;
    BYTE* status = nullptr;
};

inline void WriteLength(const BoundParts& parts, DBLENGTH length) {
    if (parts.length != nullptr) WriteRaw(parts.length, length);
}

// Cuts UTF-16 text to fit maxBytes including the terminator, never splitting a surrogate pair.
inline DBSTATUS WriteWideText(std::u16string_view text, bool mayTruncate, DBLENGTH maxBytes,
                              const BoundParts& parts) {
    const DBLENGTH fullBytes = text.size() * sizeof(OLECHAR);
    WriteLength(parts, fullBytes);
    if (parts.value == nullptr) return DBSTATUS_S_OK;
    if (fullBytes + sizeof(OLECHAR) <= maxBytes) {
        std::memcpy(parts.value, text.data(), fullBytes);
        WriteRaw<OLECHAR>(parts.value + fullBytes, 0);
        return DBSTATUS_S_OK;
    }
    if (!mayTruncate) return DBSTATUS_E_DATAOVERFLOW;
    if (maxBytes < sizeof(OLECHAR)) return DBSTATUS_S_TRUNCATED;
    size_t chars = static_cast<size_t>(maxBytes / sizeof(OLECHAR) - 1);
    if (chars > 0 && text[chars - 1] >= 0xD800 && text[chars - 1] <= 0xDBFF) --chars;
    std::memcpy(parts.value, text.data(), chars * sizeof(OLECHAR));
    WriteRaw<OLECHAR>(parts.value + chars * sizeof(OLECHAR), 0);
    return DBSTATUS_S_TRUNCATED;
}

// Like WriteWideText for UTF-8 (this platform's ANSI code page), never splitting a character.
inline DBSTATUS WriteNarrowText(const std::u16string& wide, bool mayTruncate, DBLENGTH maxBytes,
                                const BoundParts& parts) {
    const std::string text = Narrow(wide);
    WriteLength(parts, text.size());
    if (parts.value == nullptr) return DBSTATUS_S_OK;
    if (text.size() + 1 <= maxBytes) {
        std::memcpy(parts.value, text.data(), text.size());
        parts.value[text.size()] = 0;
        return DBSTATUS_S_OK;
    }
    if (!mayTruncate) return DBSTATUS_E_DATAOVERFLOW;
    if (maxBytes < 1) return DBSTATUS_S_TRUNCATED;
    size_t bytes = static_cast<size_t>(maxBytes - 1);
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
    std::memcpy(parts.value, text.data(), bytes);
    parts.value[bytes] = 0;
    return DBSTATUS_S_TRUNCATED;
}

// Days from 1899-12-30 (the automation date origin) to the given civil date.
inline double AutomationDate(const DBTIMESTAMP& ts) {
    const long long y = ts.year - (ts.month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long m = ts.month;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + ts.day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long daysFromEpoch = era * 146097 + doe - 719468;  // days since 1970-01-01
    const double days = static_cast<double>(daysFromEpoch + 25569);
    const double dayFraction =
        (ts.hour * 3600.0 + ts.minute * 60.0 + ts.second + ts.fraction / 1e9) / 86400.0;
    // Automation dates before the origin count the time of day away from zero.
    return days >= 0 ? days + dayFraction : days - dayFraction;
}

inline DBSTATUS WriteVariant(const SourceValue& value, DBTYPE srcType, const BoundParts& parts) {
    using Kind = SourceValue::Kind;
    WriteLength(parts, sizeof(VARIANT));
    if (parts.value == nullptr) return DBSTATUS_S_OK;
    VARIANT out;
    VariantInit(&out);
    switch (value.kind) {
        case Kind::kSigned:
            switch (srcType) {
                case DBTYPE_I1:
                    out.vt = VT_I1, out.cVal = static_cast<CHAR>(value.i);
                    break;
                case DBTYPE_I2:
                    out.vt = VT_I2, out.iVal = static_cast<SHORT>(value.i);
                    break;
                case DBTYPE_I4:
                    out.vt = VT_I4, out.lVal = static_cast<LONG>(value.i);
                    break;
                default:
                    out.vt = VT_I8, out.llVal = value.i;
                    break;
            }
            break;
        case Kind::kUnsigned:
            switch (srcType) {
                case DBTYPE_UI1:
                    out.vt = VT_UI1, out.bVal = static_cast<BYTE>(value.u);
                    break;
                case DBTYPE_UI2:
                    out.vt = VT_UI2, out.uiVal = static_cast<USHORT>(value.u);
                    break;
                case DBTYPE_UI4:
                    out.vt = VT_UI4, out.ulVal = static_cast<ULONG>(value.u);
                    break;
                default:
                    out.vt = VT_UI8, out.ullVal = value.u;
                    break;
            }
            break;
        case Kind::kReal:
            if (srcType == DBTYPE_R4)
                out.vt = VT_R4, out.fltVal = static_cast<FLOAT>(value.r);
            else
                out.vt = VT_R8, out.dblVal = value.r;
            break;
        case Kind::kBool:
            out.vt = VT_BOOL, out.boolVal = value.b ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case Kind::kTimestamp:
            out.vt = VT_DATE, out.date = AutomationDate(value.timestamp);
            break;
        case Kind::kText:
        case Kind::kGuid: {
            std::u16string text;
            AsText(value, text);
            out.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            if (out.bstrVal == nullptr) throw std::bad_alloc();
            out.vt = VT_BSTR;
            break;
        }
        default:
            out.vt = VT_NULL;
            break;
    }
    WriteRaw(parts.value, out);
    return DBSTATUS_S_OK;
}

template <class I>
DBSTATUS WriteInteger(const SourceValue& value, const BoundParts& parts) {
    I number{};
    const DBSTATUS status = ToInteger(value, number);
    if (status != DBSTATUS_S_OK) return status;
    WriteLength(parts, sizeof(I));
    if (parts.value != nullptr) WriteRaw(parts.value, number);
    return DBSTATUS_S_OK;
}

inline DBSTATUS WriteConverted(const SourceValue& value, DBTYPE srcType, DBTYPE target,
                               DBLENGTH maxBytes, const BoundParts& parts) {
    using Kind = SourceValue::Kind;
    const bool sourceIsText = value.kind == Kind::kText;
    switch (target) {
        case DBTYPE_I1:
            return WriteInteger<signed char>(value, parts);
        case DBTYPE_UI1:
            return WriteInteger<BYTE>(value, parts);
        case DBTYPE_I2:
            return WriteInteger<SHORT>(value, parts);
        case DBTYPE_UI2:
            return WriteInteger<USHORT>(value, parts);
        case DBTYPE_I4:
            return WriteInteger<LONG>(value, parts);
        case DBTYPE_UI4:
            return WriteInteger<ULONG>(value, parts);
        case DBTYPE_I8:
            return WriteInteger<LONGLONG>(value, parts);
        case DBTYPE_UI8:
            return WriteInteger<ULONGLONG>(value, parts);
        case DBTYPE_R8: {
            double number = 0;
            const DBSTATUS status = ToReal(value, number);
            if (status != DBSTATUS_S_OK) return status;
            WriteLength(parts, sizeof(DOUBLE));
            if (parts.value != nullptr) WriteRaw<DOUBLE>(parts.value, number);
            return DBSTATUS_S_OK;
        }
        case DBTYPE_R4: {
            double number = 0;
            const DBSTATUS status = ToReal(value, number);
            if (status != DBSTATUS_S_OK) return status;
            if (std::fabs(number) > FLT_MAX) return DBSTATUS_E_DATAOVERFLOW;
            WriteLength(parts, sizeof(FLOAT));
            if (parts.value != nullptr) WriteRaw<FLOAT>(parts.value, static_cast<FLOAT>(number));
            return DBSTATUS_S_OK;
        }
        case DBTYPE_BOOL: {
            bool flag = false;
            const DBSTATUS status = ToBool(value, flag);
            if (status != DBSTATUS_S_OK) return status;
            WriteLength(parts, sizeof(VARIANT_BOOL));
            if (parts.value != nullptr)
                WriteRaw<VARIANT_BOOL>(parts.value, flag ? VARIANT_TRUE : VARIANT_FALSE);
            return DBSTATUS_S_OK;
        }
        case DBTYPE_GUID: {
            GUID guid{};
            if (value.kind == Kind::kGuid) {
                guid = value.guid;
            } else if (!sourceIsText || value.text.size() > 64 ||
                       FAILED(CLSIDFromString(value.text.c_str(), &guid))) {
                return DBSTATUS_E_CANTCONVERTVALUE;
            }
            WriteLength(parts, sizeof(GUID));
            if (parts.value != nullptr) WriteRaw(parts.value, guid);
            return DBSTATUS_S_OK;
        }
        case DBTYPE_DBTIMESTAMP: {
            DBTIMESTAMP ts{};
            if (value.kind == Kind::kTimestamp) {
                ts = value.timestamp;
            } else if (!sourceIsText || !ParseTimestamp(value.text, ts)) {
                return DBSTATUS_E_CANTCONVERTVALUE;
            }
            WriteLength(parts, sizeof(DBTIMESTAMP));
            if (parts.value != nullptr) WriteRaw(parts.value, ts);
            return DBSTATUS_S_OK;
        }
        case DBTYPE_WSTR:
        case DBTYPE_STR: {
            std::u16string text;
            if (!AsText(value, text)) return DBSTATUS_E_CANTCONVERTVALUE;
            // Only text may be cut; a number that does not fit has no meaningful prefix.
            return target == DBTYPE_WSTR ? WriteWideText(text, sourceIsText, maxBytes, parts)
                                         : WriteNarrowText(text, sourceIsText, maxBytes, parts);
        }
        case DBTYPE_BSTR: {
            std::u16string text;
            if (!AsText(value, text)) return DBSTATUS_E_CANTCONVERTVALUE;
            WriteLength(parts, sizeof(BSTR));
            if (parts.value == nullptr) return DBSTATUS_S_OK;
            const BSTR bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            if (bstr == nullptr) throw std::bad_alloc();
            WriteRaw(parts.value, bstr);
            return DBSTATUS_S_OK;
        }
        case DBTYPE_VARIANT:
            return WriteVariant(value, srcType, parts);
        default:
            return DBSTATUS_E_CANTCONVERTVALUE;
    }
}

}  // namespace data_conversion_detail

// IConvertType's table: whether a value of type `from` can be converted to `to`. Type modifiers
// (DBTYPE_BYREF, DBTYPE_ARRAY, DBTYPE_VECTOR) are not supported on either side.
inline bool CanConvertType(DBTYPE from, DBTYPE to) {
    using data_conversion_detail::ClassOf;
    using data_conversion_detail::TypeClass;
    if ((from & data_conversion_detail::kTypeModifiers) != 0 ||
        (to & data_conversion_detail::kTypeModifiers) != 0)
        return false;
    const TypeClass source = ClassOf(from);
    const TypeClass target = ClassOf(to);
    if (source == TypeClass::kNone || target == TypeClass::kNone) return false;
    if (data_conversion_detail::IsSourceOnly(to)) return false;
    if (source == TypeClass::kVariant || target == TypeClass::kVariant) return true;
    if (source == target) return true;
    // Every type has a text form, and text is parsed into every type.
    return source == TypeClass::kText || target == TypeClass::kText;
}

// Writes the binding's DBPART_VALUE, DBPART_LENGTH and DBPART_STATUS parts for one column value
// into the consumer's row and returns the status (also when the binding has no status part).
// srcLength is the source's length in bytes (text without its terminator; ignored for fixed
// types); srcStatus DBSTATUS_S_ISNULL is a null value. A BSTR, or a VARIANT holding one, that is
// written to the consumer belongs to the consumer. Throws std::bad_alloc when memory runs out.
inline DBSTATUS WriteBoundValue(const DBBINDING& binding, DBTYPE srcType, const void* srcData,
                                DBLENGTH srcLength, DBSTATUS srcStatus, BYTE* pConsumerRow) {
    using namespace data_conversion_detail;
    BoundParts parts;
    if (pConsumerRow != nullptr) {
        if (binding.dwPart & DBPART_VALUE) parts.value = pConsumerRow + binding.obValue;
        if (binding.dwPart & DBPART_LENGTH) parts.length = pConsumerRow + binding.obLength;
        if (binding.dwPart & DBPART_STATUS) parts.status = pConsumerRow + binding.obStatus;
    }
    const DBTYPE target = binding.wType;
    DBSTATUS status = DBSTATUS_S_OK;
    SourceValue value;
    if (srcStatus == DBSTATUS_S_ISNULL) {
        status = DBSTATUS_S_ISNULL;
    } else if (!CanConvertType(srcType, target) || srcData == nullptr) {
        status = DBSTATUS_E_CANTCONVERTVALUE;
    } else if (srcType == DBTYPE_VARIANT && target == DBTYPE_VARIANT) {
        WriteLength(parts, sizeof(VARIANT));
        if (parts.value != nullptr) {
            VARIANT copy;
            VariantInit(&copy);
            if (SUCCEEDED(VariantCopy(&copy, static_cast<const VARIANT*>(srcData))))
                WriteRaw(parts.value, copy);
            else
                status = DBSTATUS_E_CANTCONVERTVALUE;
        }
    } else if (srcType == target && FixedCopySize(target) != 0) {
        // Same fixed-length type: a plain copy.
        WriteLength(parts, FixedCopySize(target));
        if (parts.value != nullptr) std::memcpy(parts.value, srcData, FixedCopySize(target));
    } else if (srcType == DBTYPE_WSTR && target == DBTYPE_WSTR) {
        const auto* text = static_cast<const OLECHAR*>(srcData);
        size_t chars = 0;
        while (chars < srcLength / sizeof(OLECHAR) && text[chars] != 0) ++chars;
        status = WriteWideText(std::u16string_view(text, chars), true, binding.cbMaxLen, parts);
    } else if (!ReadSource(srcType, srcData, srcLength, value)) {
        status = DBSTATUS_E_CANTCONVERTVALUE;
    } else if (value.kind == SourceValue::Kind::kNull) {
        status = DBSTATUS_S_ISNULL;
    } else {
        status = WriteConverted(value, srcType, target, binding.cbMaxLen, parts);
    }
    if (status == DBSTATUS_S_ISNULL) WriteLength(parts, 0);
    if (parts.status != nullptr) WriteRaw(parts.status, status);
    return status;
}
