#pragma once
// The user's rules for writing numbers and dates, and reading values written by them.
//
// Accepted forms are kept modest on purpose:
//  - a number: [+|-] digits [separator digits] [e|E [+|-] digits], with the locale's decimal separator
//    (digits must follow the separator); written back with up to 15 significant digits.
//  - a date: three numbers in the order and with the separator of the short date pattern
//    (day and month 1-2 digits, year 1-4 digits; a year of 1-2 digits means 1930-2029).
//  - a time: hour, minute and optional second joined by the time pattern's separator, then optionally
//    the AM or PM designator (the locale's or "AM"/"PM", letter case ignored; hour 1-12 then).
//  - a date and a time separated by spaces.
// Patterns are written back numerically: names of months or days (MMM, ddd) come out as numbers.
#include <optional>
#include <string>
#include <string_view>

struct LocaleConventions {
    std::wstring DecimalSeparator = L".";
    std::wstring ShortDatePattern = L"M/d/yyyy";
    std::wstring TimePattern = L"h:mm:ss tt";
    std::wstring AmDesignator = L"AM";
    std::wstring PmDesignator = L"PM";
};

// Read from Windows for the current user; an item Windows cannot give keeps its default above.
LocaleConventions UserLocaleConventions();

// The text of the number `text` spells, written back by `conventions`; nullopt when it spells none.
std::optional<std::wstring> FloatTextOf(std::wstring_view text, const LocaleConventions& conventions);

// The text of the date, time or date and time `text` spells, written back by `conventions`; nullopt when none.
std::optional<std::wstring> DateTimeTextOf(std::wstring_view text, const LocaleConventions& conventions);
