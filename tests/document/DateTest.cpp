#include "document/Date.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

CDate Parsed(const char* text) {
    CDate date(9, 9, 9);
    date.ParseText(text);
    return date;
}

void ExpectFields(const CDate& date, int32_t month, int32_t day, int32_t year) {
    EXPECT_EQ(month, date.GetMonth());
    EXPECT_EQ(day, date.GetDay());
    EXPECT_EQ(year, date.GetYear());
}

// Days from 1 January 1000 (day 1) to the date, counted one year and one
// month at a time; years up to 1000 count their months and days only.
int64_t PlainDayCount(int32_t month, int32_t day, int32_t year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int64_t days = 0;
    for (int32_t y = 1000; y < year; ++y) {
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        days += leap ? 366 : 365;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    for (int32_t m = 1; m < month; ++m) {
        days += kDays[m - 1] + (m == 2 && leap ? 1 : 0);
    }
    return days + day;
}

} // namespace

TEST(DateTest, ParseTextReadsMonthDayYearWithEitherSeparator) {
    ExpectFields(Parsed("12/31/2005"), 12, 31, 2005);
    ExpectFields(Parsed("12-31-2005"), 12, 31, 2005);
    ExpectFields(Parsed(" 7/4/1999"), 7, 4, 1999);
    ExpectFields(Parsed("3/15/2025 12:00"), 3, 15, 2025);
    ExpectFields(Parsed("05/06/07/08"), 5, 6, 7);
    ExpectFields(Parsed("1/2/05"), 1, 2, 5);
}

TEST(DateTest, ParseTextFormsThatReadAsZero) {
    ExpectFields(Parsed("12/31-2005"), 12, 0, 0); // the second separator must repeat the first
    ExpectFields(Parsed("12//2005"), 12, 0, 0);
    ExpectFields(Parsed("12/2005"), 12, 0, 0);
    ExpectFields(Parsed("12/"), 12, 0, 0);
    ExpectFields(Parsed("20051231"), 0, 0, 0);
    ExpectFields(Parsed(""), 0, 0, 0);
    ExpectFields(Parsed("x/y/z"), 0, 0, 0);
    // "/" wins over "-" when both are present.
    ExpectFields(Parsed("2005-12/31/7"), 2005, 31, 7);
}

TEST(DateTest, LeapYearsFollowTheGregorianRule) {
    EXPECT_TRUE(CDate::IsLeapYear(2000));
    EXPECT_TRUE(CDate::IsLeapYear(2024));
    EXPECT_TRUE(CDate::IsLeapYear(1600));
    EXPECT_FALSE(CDate::IsLeapYear(1900));
    EXPECT_FALSE(CDate::IsLeapYear(2100));
    EXPECT_FALSE(CDate::IsLeapYear(2023));
    EXPECT_FALSE(CDate::IsLeapYear(1000));
    EXPECT_EQ(29, CDate::DaysInMonth(2, 2024));
    EXPECT_EQ(28, CDate::DaysInMonth(2, 1900));
    EXPECT_EQ(31, CDate::DaysInMonth(12, 2023));
    EXPECT_EQ(30, CDate::DaysInMonth(11, 2023));
    EXPECT_EQ(0, CDate::DaysInMonth(13, 2023));
    EXPECT_EQ(0, CDate::DaysInMonth(0, 2023));
}

TEST(DateTest, DayNumberLandmarks) {
    EXPECT_EQ(1, CDate(1, 1, 1000).DayNumber());
    EXPECT_EQ(366, CDate(1, 1, 1001).DayNumber());
    EXPECT_EQ(365243, CDate(1, 1, 2000).DayNumber());
    EXPECT_EQ(365242 + 1, CDate(1, 1, 2000).DayNumber());
    EXPECT_EQ(372547 + 1, CDate(1, 1, 2020).DayNumber());
    EXPECT_EQ(328718 + 1, CDate(1, 1, 1900).DayNumber());
    // A year of 1000 or less has only its month and day parts.
    EXPECT_EQ(31 + 28 + 5, CDate(3, 5, 999).DayNumber());
    EXPECT_EQ(31 + 28 + 5, CDate(3, 5, 5).DayNumber());
    EXPECT_EQ(0, CDate().DayNumber());
}

TEST(DateTest, DayNumberMatchesAPlainDayCountOverManyYears) {
    for (int32_t year = 995; year <= 2420; ++year) {
        for (int32_t month = 1; month <= 12; month += 1) {
            const int32_t day = month == 2 ? 29 : 1 + (year + month) % 28;
            ASSERT_EQ(PlainDayCount(month, day, year), CDate(month, day, year).DayNumber())
                << month << "/" << day << "/" << year;
        }
    }
}

TEST(DateTest, DayNumberTakesMonthAndDayWithoutRangeChecks) {
    // 30 February and 2 March of a common year fall on the same day number.
    EXPECT_EQ(CDate(3, 2, 2023).DayNumber(), CDate(2, 30, 2023).DayNumber());
    // Month 13 adds the twelve months of the year; later months add nothing more.
    EXPECT_EQ(CDate(1, 1, 2024).DayNumber(), CDate(13, 1, 2023).DayNumber());
    EXPECT_EQ(CDate(13, 1, 2023).DayNumber(), CDate(20, 1, 2023).DayNumber());
    EXPECT_EQ(CDate(1, 1, 2023).DayNumber() - 1, CDate(1, 0, 2023).DayNumber());
}

TEST(DateTest, HugeYearsFromAFileAreCountedQuicklyAndKeepTheirOrder) {
    const auto start = std::chrono::steady_clock::now();
    const CDate farFuture(12, 31, 2000000000);
    const CDate future(1, 1, 3000000);
    EXPECT_TRUE(farFuture.IsAfter(future));
    EXPECT_TRUE(future.IsAfter(CDate(3, 15, 2025)));
    EXPECT_EQ(INT32_MAX, CDate(1, 1, INT32_MAX).DayNumber());
    EXPECT_EQ(INT32_MIN, CDate(1, INT32_MIN, 900).DayNumber());
    EXPECT_EQ(0, CDate(INT32_MIN, 0, 0).DayNumber());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(DateTest, ComparisonsUseDayNumbersOrFields) {
    const CDate today(3, 15, 2025);
    EXPECT_TRUE(CDate(3, 16, 2025).IsAfter(today));
    EXPECT_FALSE(today.IsAfter(today));
    EXPECT_TRUE(today.IsSameDate(CDate(3, 15, 2025)));
    EXPECT_TRUE(today.IsOnOrAfter(today));
    EXPECT_FALSE(CDate(3, 14, 2025).IsOnOrAfter(today));
    EXPECT_TRUE(CDate(1, 1, 2026).IsOnOrAfter(today));
    // Same day number, different fields: neither after nor the same date.
    const CDate february30(2, 30, 2023);
    const CDate march2(3, 2, 2023);
    EXPECT_FALSE(february30.IsAfter(march2));
    EXPECT_FALSE(march2.IsAfter(february30));
    EXPECT_FALSE(february30.IsSameDate(march2));
    EXPECT_FALSE(february30.IsOnOrAfter(march2));
}

TEST(DateTest, TodayComesFromTheLocalCalendar) {
    std::tm local{};
    local.tm_mon = 1;
    local.tm_mday = 29;
    local.tm_year = 124;
    CDate date;
    date.SetFromLocalTime(local);
    EXPECT_TRUE(date.IsSameDate(CDate(2, 29, 2024)));

    CDate today;
    today.SetToday();
    EXPECT_GE(today.GetYear(), 2024);
    EXPECT_GE(today.GetMonth(), 1);
    EXPECT_LE(today.GetMonth(), 12);
}

namespace {

// The texts a date is read from: dates as written, and everything around them
// that the reading has rules for (either separator, blanks, signs, bytes that
// end the text, numbers that overflow).
std::string RandomDateText(std::mt19937& rng) {
    static const char kBytes[] = {'0',  '1',  '2', '5', '9', '/', '/',  '-', ' ', '\t',
                                  '\n', '\v', '+', '-', 'x', ':', '\0', '3', '7', '/'};
    std::string text;
    const int length = static_cast<int>(rng() % 14);
    for (int i = 0; i < length; ++i) {
        text += kBytes[rng() % sizeof kBytes];
    }
    if (rng() % 4 == 0) {
        text += std::to_string(rng()) + std::to_string(rng()); // past 32 bits
    }
    return text;
}

void ExpectSameReading(const std::string& text) {
    CXmlString string;
    string.Append(text.data(), static_cast<int32_t>(text.size()));
    CDate byString(9, 9, 9);
    byString.ParseText(string);
    CDate byBytes(8, 8, 8);
    byBytes.ParseText(text.data(), static_cast<int32_t>(text.size()));
    ASSERT_TRUE(byBytes.IsSameDate(byString))
        << "'" << text << "': " << byBytes.GetMonth() << "/" << byBytes.GetDay() << "/"
        << byBytes.GetYear() << " instead of " << byString.GetMonth() << "/" << byString.GetDay()
        << "/" << byString.GetYear();
}

} // namespace

TEST(DateTest, ReadingBytesGivesWhatReadingTheStringGives) {
    for (const char* text : {"12/31/2005",
                             "12-31-2005",
                             " 7/4/1999",
                             "3/15/2025 12:00",
                             "05/06/07/08",
                             "1/2/05",
                             "12/31-2005",
                             "12//2005",
                             "12/2005",
                             "12/",
                             "20051231",
                             "",
                             "x/y/z",
                             "2005-12/31/7",
                             "/",
                             "//",
                             "///",
                             "-",
                             "--",
                             "/5/2005",
                             "1/2/",
                             "+3/-4/ 2025",
                             "99999999999/1/1",
                             "4294967296/4294967297/4294967295",
                             "12/31/2005\n",
                             "\t12/\t31/\t2005",
                             "1-2-3-4"}) {
        ExpectSameReading(text);
    }
    ExpectSameReading(std::string("12/31\0/2005", 11));
    ExpectSameReading(std::string("\0/1/2", 5));
    std::mt19937 rng(20250615);
    for (int round = 0; round < 200000; ++round) {
        ExpectSameReading(RandomDateText(rng));
    }
    // Every text of up to four bytes of a small alphabet.
    const char alphabet[] = {'1', '/', '-', ' ', '+', '\0', 'x'};
    for (int length = 0; length <= 4; ++length) {
        std::vector<size_t> digits(static_cast<size_t>(length), 0);
        for (;;) {
            std::string text;
            for (const size_t digit : digits) {
                text += alphabet[digit];
            }
            ExpectSameReading(text);
            size_t at = 0;
            while (at < digits.size() && ++digits[at] == sizeof alphabet) {
                digits[at++] = 0;
            }
            if (at == digits.size()) {
                break;
            }
        }
    }
}

TEST(DateTest, ReadingNoBytes) {
    CDate date(1, 2, 3);
    date.ParseText(nullptr, 5);
    ExpectFields(date, 0, 0, 0);
    date = CDate(1, 2, 3);
    date.ParseText("12/31/2005", 0);
    ExpectFields(date, 0, 0, 0);
    // Only the bytes given are read: "12/31" has no second separator.
    date.ParseText("12/31/2005", 5);
    ExpectFields(date, 12, 0, 0);
    date.ParseText("12/31/2005", 7);
    ExpectFields(date, 12, 31, 2);
}
