#include "document/Date.h"

#include "document/LocalClock.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace {

// Leap years among the years 1 to year, for year >= 0.
constexpr int64_t LeapYearsThrough(int64_t year) {
    return year / 4 - year / 100 + year / 400;
}

// Days from 1 January of year from to 1 January of year to, from <= to.
constexpr int64_t DaysBetweenYears(int64_t from, int64_t to) {
    return 365 * (to - from) + LeapYearsThrough(to - 1) - LeapYearsThrough(from - 1);
}

constexpr int64_t kFirstYear = 1000;

// Days from 1 January 1000 to 1 January of year; 0 for a year of 1000 or less.
// Counted, not walked year by year: a year read from a file can be huge.
int64_t YearPart(int32_t year) {
    return year <= kFirstYear ? 0 : DaysBetweenYears(kFirstYear, year);
}

int32_t ReadNumber(const char* text) {
    CXmlString number(text ? text : "");
    return number.ToLong();
}

// The number at the start of a part of a date text, as ReadNumber reads that
// part once it has been copied: blanks and control spacing skipped, a sign,
// then digits, wrapping around as ToLong does on overflow.
int32_t ReadNumber(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) {
        ++p;
    }
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    uint32_t value = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        value = value * 10u + static_cast<uint32_t>(*p - '0');
        ++p;
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int32_t>(value);
}

} // namespace

void CDate::SetToday() {
    std::tm local{};
    if (ReadLocalClock(local)) {
        SetFromLocalTime(local);
    }
}

void CDate::SetFromLocalTime(const std::tm& local) {
    m_nMonth = local.tm_mon + 1;
    m_nDay = local.tm_mday;
    m_nYear = local.tm_year + 1900;
}

void CDate::ParseText(CXmlString text) {
    m_nMonth = 0;
    m_nDay = 0;
    m_nYear = 0;

    const char* separator = "/";
    int32_t pos = text.Find(separator);
    if (pos < 0) {
        separator = "-";
        pos = text.Find(separator);
        if (pos < 0) {
            return;
        }
    }
    m_nMonth = ReadNumber(text.Left(pos));

    // Mid yields null when nothing follows the separator.
    CXmlString rest(text.Mid(pos + 1, 0));
    const int32_t next = rest.Find(separator);
    if (next <= 0) {
        return;
    }
    m_nDay = ReadNumber(rest.Left(next));
    m_nYear = ReadNumber(rest.Mid(next + 1, 0));
}

void CDate::ParseText(const char* text, int32_t length) {
    m_nMonth = 0;
    m_nDay = 0;
    m_nYear = 0;
    if (!text || length <= 0) {
        return;
    }
    if (ParseDigitsAndSlashes(text, length)) {
        return;
    }
    // ParseText reads a copy of the text, and a copy ends at a NUL byte.
    const char* end =
        static_cast<const char*>(std::memchr(text, '\0', static_cast<size_t>(length)));
    if (!end) {
        end = text + length;
    }
    char separator = '/';
    const char* at = std::find(text, end, separator);
    if (at == end) {
        separator = '-';
        at = std::find(text, end, separator);
        if (at == end) {
            return;
        }
    }
    m_nMonth = ReadNumber(text, at);

    const char* rest = at + 1;
    const char* next = std::find(rest, end, separator);
    // No second separator, or one right after the first: day and year stay 0.
    if (next == end || next == rest) {
        return;
    }
    m_nDay = ReadNumber(rest, next);
    m_nYear = ReadNumber(next + 1, end);
}

// The dates of a rate file are written as digits and "/" alone, as in
// "12/31/2025": such a text is read in one pass, with the result the general
// reading gives. False, changing nothing, for any other text.
bool CDate::ParseDigitsAndSlashes(const char* text, int32_t length) {
    // Up to three runs of digits, each read as ReadNumber reads it; the
    // third ends at a third "/", where the year's reading stops.
    uint32_t runs[3] = {0, 0, 0};
    int32_t runLengths[3] = {0, 0, 0};
    int32_t slashes = 0;
    for (int32_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (slashes < 3) {
                runs[slashes] = runs[slashes] * 10u + static_cast<uint32_t>(c - '0');
                ++runLengths[slashes];
            }
        } else if (c == '/') {
            ++slashes;
        } else {
            return false;
        }
    }
    if (slashes == 0) {
        return false; // read as a text without "/": by "-", of which it has none
    }
    m_nMonth = static_cast<int32_t>(runs[0]);
    // No second "/", or one right after the first: day and year stay 0.
    if (slashes >= 2 && runLengths[1] > 0) {
        m_nDay = static_cast<int32_t>(runs[1]);
        m_nYear = static_cast<int32_t>(runs[2]);
    }
    return true;
}

int32_t CDate::DayNumber() const {
    // Days of the months before month m + 1 in a common year.
    static constexpr std::array<int32_t, 13> kDaysBefore{0,   31,  59,  90,  120, 151, 181,
                                                         212, 243, 273, 304, 334, 365};
    int64_t days = YearPart(m_nYear);
    const int64_t lastFullMonth = std::min<int64_t>(int64_t{m_nMonth} - 1, 12);
    if (lastFullMonth > 0) {
        days += kDaysBefore[static_cast<size_t>(lastFullMonth)];
        if (lastFullMonth >= 2 && IsLeapYear(m_nYear)) {
            ++days;
        }
    }
    days += m_nDay;
    // Dates far outside the calendar's use keep their order at the limits.
    return static_cast<int32_t>(std::clamp<int64_t>(days, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool CDate::IsLeapYear(int32_t year) {
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int32_t CDate::DaysInMonth(int32_t month, int32_t year) {
    static constexpr std::array<int32_t, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    if (month == 2 && IsLeapYear(year)) {
        return 29;
    }
    return kDays[static_cast<size_t>(month - 1)];
}

bool CDate::IsAfter(CDate other) const {
    return DayNumber() > other.DayNumber();
}

bool CDate::IsSameDate(CDate other) const {
    return m_nMonth == other.m_nMonth && m_nDay == other.m_nDay && m_nYear == other.m_nYear;
}

bool CDate::IsOnOrAfter(CDate other) const {
    return IsAfter(other) || IsSameDate(other);
}
