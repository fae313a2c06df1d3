// CDate: a calendar date of month, day and year, without validation: the
// fields hold whatever they are given and no operation normalises them.
#pragma once

#include "xml/XmlString.h"

#include <cstdint>
#include <ctime>

class CDate {
public:
    CDate() = default;
    CDate(int32_t month, int32_t day, int32_t year) : m_nMonth(month), m_nDay(day), m_nYear(year) {}
    CDate(const CDate&) = default;
    CDate& operator=(const CDate&) = default;
    virtual ~CDate() = default;

    // The local calendar date from the system clock; the fields keep their
    // values when the clock cannot be read.
    void SetToday();
    // The calendar date of a broken-down local time.
    void SetFromLocalTime(const std::tm& local);

    // Reads month, day and year separated by "/" (or, when the text has no
    // "/", by "-"); see the definition for the forms that read as 0.
    void ParseText(CXmlString text);
    // The same reading of the length bytes at text, without the copies that
    // ParseText makes of the text and its parts: the merge reads the
    // expiration date of every plan that it compares.
    void ParseText(const char* text, int32_t length);

    // Days from 1 January 1000 (day 1) to the date, by the Gregorian rule.
    // Years of 1000 or less contribute no days of their own.
    int32_t DayNumber() const;

    static bool IsLeapYear(int32_t year);
    // Days of month in year; 0 for a month outside 1 to 12.
    static int32_t DaysInMonth(int32_t month, int32_t year);

    bool IsAfter(CDate other) const;
    bool IsSameDate(CDate other) const;
    bool IsOnOrAfter(CDate other) const;

    int32_t GetMonth() const { return m_nMonth; }
    int32_t GetDay() const { return m_nDay; }
    int32_t GetYear() const { return m_nYear; }

private:
    bool ParseDigitsAndSlashes(const char* text, int32_t length);

    int32_t m_nMonth = 0;
    int32_t m_nDay = 0;
    int32_t m_nYear = 0;
};
