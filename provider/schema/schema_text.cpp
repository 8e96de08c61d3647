// Texts and numbers of the schema rows.
#include "provider/schema/schema_text.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <limits>

size_t WriteFieldText(WCHAR* field, size_t capacity,
                      std::initializer_list<std::u16string_view> parts) {
    if (capacity == 0) return 0;
    const size_t limit = capacity - 1;
    size_t written = 0;
    for (std::u16string_view part : parts) {
        size_t take = part.size();
        if (take > limit - written) {
            take = limit - written;
            // A high surrogate whose partner would be cut goes too.
            if (take > 0 && part[take - 1] >= 0xD800 && part[take - 1] <= 0xDBFF) --take;
            std::copy_n(part.data(), take, field + written);
            written += take;
            break;
        }
        std::copy_n(part.data(), take, field + written);
        written += take;
    }
    field[written] = 0;
    return written;
}

DecimalText::DecimalText(int64_t value) : digits{}, start(sizeof(digits) / 2) {
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[--start] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--start] = u'-';
}

bool ExtractIdText(const char* name, size_t size, char* out) {
    out[0] = '\0';
    if (name == nullptr) return true;
    const size_t length = strnlen(name, size);
    const char* last = nullptr;
    for (size_t i = 0; i < length; ++i)
        if (name[i] == '<') last = name + i;
    if (last == nullptr) return true;
    const char* end = static_cast<const char*>(
        std::memchr(last + 1, '>', static_cast<size_t>(name + length - (last + 1))));
    if (end == nullptr) return true;
    const size_t idLength = static_cast<size_t>(end - (last + 1));
    if (idLength >= kIdTextBytes) return false;
    std::memcpy(out, last + 1, idLength);
    out[idLength] = '\0';
    return true;
}

namespace {

bool IsBlank(char32_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Blanks, a sign and digits, as the C runtime's atol reads them; the magnitude stops growing once
// it is past the 32-bit range, so nothing wraps.
template <class Char>
int64_t ReadLeadingNumber(const Char* text, size_t length) {
    constexpr int64_t kPastRange = int64_t{1} << 32;
    size_t i = 0;
    while (i < length && IsBlank(static_cast<char32_t>(text[i]))) ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i)
        if (magnitude < kPastRange) magnitude = magnitude * 10 + (text[i] - '0');
    return negative ? -magnitude : magnitude;
}

}  // namespace

std::optional<int32_t> ReadIdNumber(const char* text) {
    const int64_t value = ReadLeadingNumber(text, std::strlen(text));
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t ReadEpochSeconds(std::u16string_view text) {
    const int64_t value = ReadLeadingNumber(text.data(), text.size());
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

void EpochToDbTimestamp(DBTIMESTAMP& out, uint64_t seconds) {
    out = DBTIMESTAMP{};
    const auto time = static_cast<time_t>(seconds);
    std::tm parts{};
    if (gmtime_r(&time, &parts) == nullptr) return;
    out.year = static_cast<SHORT>(parts.tm_year + 1900);
    out.month = static_cast<USHORT>(parts.tm_mon + 1);
    out.day = static_cast<USHORT>(parts.tm_mday);
    out.hour = static_cast<USHORT>(parts.tm_hour);
    out.minute = static_cast<USHORT>(parts.tm_min);
    out.second = static_cast<USHORT>(parts.tm_sec);
}
