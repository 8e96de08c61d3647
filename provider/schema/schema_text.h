// Texts and numbers of the schema rows: fixed text fields, decimal numbers, ids read out of unique
// names, epoch timestamps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "oledb.h"

// Writes the parts one after another into a field of capacity characters: at most capacity - 1
// of them and a terminator, never ending inside a surrogate pair. Returns the characters written.
size_t WriteFieldText(WCHAR* field, size_t capacity,
                      std::initializer_list<std::u16string_view> parts);

template <size_t N>
size_t SetFieldText(WCHAR (&field)[N], std::initializer_list<std::u16string_view> parts) {
    return WriteFieldText(field, N, parts);
}

// An int in decimal: a minus sign when negative, no leading zeros.
class DecimalText {
  public:
    explicit DecimalText(int64_t value);
    std::u16string_view View() const { return {digits + start, sizeof(digits) / 2 - start}; }

  private:
    char16_t digits[24];
    size_t start;
};

constexpr size_t kIdTextBytes = 64;

// The text between the last '<' of name (within size bytes) and the next '>', into out of
// kIdTextBytes bytes; the empty text when there is no such pair. An id that does not fit leaves
// out empty and gives false: it names nothing that could be asked for.
bool ExtractIdText(const char* name, size_t size, char* out);

// An id text read as a number by the leading-digits rule (blanks, a sign, digits; 0 without
// digits); nothing when the digits leave the 32-bit range.
std::optional<int32_t> ReadIdNumber(const char* text);

// An epoch text read as a 32-bit number: blanks, a sign, digits up to the first other character;
// 0 without digits; clamped to the 32-bit range.
int32_t ReadEpochSeconds(std::u16string_view text);

// Seconds since 1970-01-01 00:00:00 UTC broken down in UTC; the fraction is 0.
void EpochToDbTimestamp(DBTIMESTAMP& out, uint64_t seconds);
