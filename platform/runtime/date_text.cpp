// DATE values and their en-US text.
#include "date_text.h"

#include <cmath>
#include <vector>

namespace comrt {

namespace {

constexpr double kMinDate = -657434.0;  // 1 January 100
constexpr double kMaxDate = 2958466.0;  // 1 January 10000, excluded
constexpr long long kSecondsPerDay = 86400;
constexpr long long kUnixEpochDay = 25569;  // 1 January 1970 as a DATE day

// Days since 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

void CivilFromDays(long long days, long long& year, unsigned& month, unsigned& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

unsigned DaysInMonth(long long year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

void AppendNumber(std::u16string& text, long long value, int minimumDigits) {
    const std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()); i < minimumDigits; ++i) text.push_back(u'0');
    for (char c : digits) text.push_back(static_cast<char16_t>(c));
}

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; }

// A small cursor over the text being parsed.
class Reader {
  public:
    explicit Reader(std::u16string_view text) : text_(text) {}

    void SkipBlanks() {
        while (position_ < text_.size() && (text_[position_] == u' ' || text_[position_] == u'\t'))
            ++position_;
    }
    bool AtEnd() const { return position_ >= text_.size(); }
    bool Take(char16_t c) {
        if (position_ < text_.size() && text_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }
    bool TakeWord(std::u16string_view word) {
        if (text_.size() - position_ < word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (Upper(text_[position_ + i]) != word[i]) return false;
        }
        position_ += word.size();
        return true;
    }
    // Reads 1 to maxDigits digits.
    bool Number(int maxDigits, long long& value, int& digitCount) {
        value = 0;
        digitCount = 0;
        while (position_ < text_.size() && text_[position_] >= u'0' && text_[position_] <= u'9') {
            if (digitCount == maxDigits) return false;
            value = value * 10 + (text_[position_] - u'0');
            ++digitCount;
            ++position_;
        }
        return digitCount > 0;
    }
    std::size_t Position() const { return position_; }
    void Rewind(std::size_t position) { position_ = position; }

  private:
    std::u16string_view text_;
    std::size_t position_ = 0;
};

bool ParseTime(Reader& reader, long long& seconds) {
    long long hour = 0;
    long long minute = 0;
    long long second = 0;
    int digits = 0;
    if (!reader.Number(2, hour, digits) || !reader.Take(u':')) return false;
    if (!reader.Number(2, minute, digits) || digits != 2) return false;
    if (reader.Take(u':') && (!reader.Number(2, second, digits) || digits != 2)) return false;
    reader.SkipBlanks();
    const bool am = reader.TakeWord(u"AM");
    const bool pm = !am && reader.TakeWord(u"PM");
    if (am || pm) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) return false;
    seconds = hour * 3600 + minute * 60 + second;
    return true;
}

bool ParseCalendarDate(Reader& reader, long long& day, bool& iso) {
    long long first = 0;
    long long second = 0;
    long long third = 0;
    int firstDigits = 0;
    int digits = 0;
    long long year = 0;
    long long month = 0;
    long long dayOfMonth = 0;
    if (!reader.Number(4, first, firstDigits)) return false;
    if (reader.Take(u'-')) {
        iso = true;
        if (firstDigits != 4 || !reader.Number(2, second, digits) || !reader.Take(u'-') ||
            !reader.Number(2, third, digits)) {
            return false;
        }
        year = first;
        month = second;
        dayOfMonth = third;
    } else {
        iso = false;
        int yearDigits = 0;
        if (firstDigits > 2 || !reader.Take(u'/') || !reader.Number(2, second, digits) ||
            !reader.Take(u'/') || !reader.Number(4, third, yearDigits)) {
            return false;
        }
        month = first;
        dayOfMonth = second;
        year = third;
        // Two-digit years fall in 1930 to 2029, as the platform's default window has them.
        if (yearDigits <= 2) year += year < 30 ? 2000 : 1900;
    }
    if (year < 100 || year > 9999 || month < 1 || month > 12 || dayOfMonth < 1 ||
        dayOfMonth > DaysInMonth(year, static_cast<unsigned>(month))) {
        return false;
    }
    day = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(dayOfMonth)) +
          kUnixEpochDay;
    return true;
}

}  // namespace

bool IsValidDate(double value) { return value >= kMinDate && value < kMaxDate; }

bool FormatDate(DATE value, std::u16string& text) {
    text.clear();
    if (!IsValidDate(value)) return false;
    double whole = std::trunc(value);
    long long seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
    auto day = static_cast<long long>(whole);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++day;
    }
    const bool showDate = day != 0;
    const bool showTime = seconds != 0 || !showDate;
    if (showDate) {
        long long year = 0;
        unsigned month = 0;
        unsigned dayOfMonth = 0;
        CivilFromDays(day - kUnixEpochDay, year, month, dayOfMonth);
        AppendNumber(text, month, 1);
        text.push_back(u'/');
        AppendNumber(text, dayOfMonth, 1);
        text.push_back(u'/');
        AppendNumber(text, year, 4);
    }
    if (showTime) {
        if (showDate) text.push_back(u' ');
        const long long hour = seconds / 3600;
        AppendNumber(text, hour % 12 == 0 ? 12 : hour % 12, 1);
        text.push_back(u':');
        AppendNumber(text, seconds / 60 % 60, 2);
        text.push_back(u':');
        AppendNumber(text, seconds % 60, 2);
        text += hour < 12 ? u" AM" : u" PM";
    }
    return true;
}

bool ParseDate(std::u16string_view text, DATE& value) {
    Reader reader(text);
    reader.SkipBlanks();
    long long day = 0;
    long long seconds = 0;
    bool iso = false;
    const std::size_t start = reader.Position();
    if (ParseCalendarDate(reader, day, iso)) {
        const bool separated = iso && reader.Take(u'T');
        reader.SkipBlanks();
        if (!reader.AtEnd() || separated) {
            if (!ParseTime(reader, seconds)) return false;
        }
    } else {
        reader.Rewind(start);
        day = 0;
        if (!ParseTime(reader, seconds)) return false;
    }
    reader.SkipBlanks();
    if (!reader.AtEnd()) return false;
    const double time = static_cast<double>(seconds) / kSecondsPerDay;
    // Before day 0 the fraction still counts forward from the start of the day.
    value = day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
    return true;
}

}  // namespace comrt
