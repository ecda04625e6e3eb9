#include "platform/locale_conventions.h"

#include <windows.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void ReadLocaleText(LCTYPE item, std::wstring& target, bool emptyAllowed) {
    wchar_t buffer[128];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, static_cast<int>(std::size(buffer)));
    if (length <= 0) return;
    std::wstring text(buffer, static_cast<std::size_t>(length - 1));
    if (!text.empty() || emptyAllowed) target = std::move(text);
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (prefix.empty() || text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiUpper(text[i]) != AsciiUpper(prefix[i])) return false;
    }
    return true;
}

// Reads 1..maxDigits decimal digits at `pos`.
std::optional<int> ReadNumber(std::wstring_view text, std::size_t& pos, std::size_t maxDigits) {
    std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < maxDigits) value = value * 10 + (text[pos++] - L'0');
    if (pos == start || (pos < text.size() && IsDigit(text[pos]))) return std::nullopt;
    return value;
}

bool ReadLiteral(std::wstring_view text, std::size_t& pos, std::wstring_view literal) {
    if (literal.empty() || text.substr(pos, literal.size()) != literal) return false;
    pos += literal.size();
    return true;
}

// One run of a pattern: a field letter repeated, or literal text (quotes removed).
struct PatternPart {
    wchar_t Letter = 0;  // 0: literal
    std::size_t Count = 0;
    std::wstring Literal;
};

std::vector<PatternPart> SplitPattern(std::wstring_view pattern) {
    std::vector<PatternPart> parts;
    auto literal = [&parts](wchar_t c) {
        if (parts.empty() || parts.back().Letter != 0) parts.push_back({});
        parts.back().Literal += c;
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const wchar_t c = pattern[i];
        if (c == L'\'') {
            ++i;
            while (i < pattern.size()) {
                if (pattern[i] == L'\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == L'\'') {
                        literal(L'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal(pattern[i++]);
            }
        } else if (std::wstring_view(L"dMyghHmst").find(c) != std::wstring_view::npos) {
            std::size_t count = 0;
            while (i < pattern.size() && pattern[i] == c) ++i, ++count;
            parts.push_back({c, count, {}});
        } else {
            literal(c);
            ++i;
        }
    }
    return parts;
}

// The order of day, month and year in a pattern and the text between the first two fields.
struct FieldLayout {
    std::wstring Order;  // e.g. L"Mdy"
    std::wstring Separator;
};

FieldLayout LayoutOf(std::wstring_view pattern, std::wstring_view letters) {
    FieldLayout layout;
    bool afterFirst = false;
    for (const PatternPart& part : SplitPattern(pattern)) {
        if (part.Letter == 0) {
            if (afterFirst && layout.Order.size() == 1) layout.Separator += part.Literal;
            continue;
        }
        const wchar_t letter = part.Letter == L'H' ? L'h' : part.Letter;
        if (letters.find(letter) == std::wstring_view::npos) continue;
        if (layout.Order.find(letter) == std::wstring::npos) layout.Order += letter;
        afterFirst = true;
    }
    return layout;
}

struct DateTime {
    bool HasDate = false, HasTime = false;
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

bool ReadDate(std::wstring_view text, std::size_t& pos, const FieldLayout& layout, DateTime& value) {
    if (layout.Order.size() != 3 || layout.Separator.empty()) return false;
    for (std::size_t field = 0; field < 3; ++field) {
        if (field > 0 && !ReadLiteral(text, pos, layout.Separator)) return false;
        const std::size_t start = pos;
        const auto number = ReadNumber(text, pos, layout.Order[field] == L'y' ? 4 : 2);
        if (!number) return false;
        switch (layout.Order[field]) {
        case L'd': value.Day = *number; break;
        case L'M': value.Month = *number; break;
        default: value.Year = pos - start <= 2 ? (*number < 30 ? 2000 + *number : 1900 + *number) : *number; break;
        }
    }
    if (value.Year < 1 || value.Month < 1 || value.Month > 12 || value.Day < 1) return false;
    if (value.Day > DaysInMonth(value.Year, value.Month)) return false;
    value.HasDate = true;
    return true;
}

bool ReadTime(std::wstring_view text, std::size_t& pos, const std::wstring& separator,
              const LocaleConventions& conventions, DateTime& value) {
    if (separator.empty()) return false;
    const auto hour = ReadNumber(text, pos, 2);
    if (!hour || !ReadLiteral(text, pos, separator)) return false;
    const auto minute = ReadNumber(text, pos, 2);
    if (!minute) return false;
    std::optional<int> second = 0;
    if (ReadLiteral(text, pos, separator) && !(second = ReadNumber(text, pos, 2))) return false;
    std::size_t afterSpaces = pos;
    while (afterSpaces < text.size() && text[afterSpaces] == L' ') ++afterSpaces;
    const std::wstring_view rest = text.substr(afterSpaces);
    int hour24 = *hour;
    bool designated = false;
    for (const auto& [designator, pm] : {std::pair<std::wstring_view, bool>{conventions.AmDesignator, false},
                                         {conventions.PmDesignator, true}, {L"AM", false}, {L"PM", true}}) {
        if (StartsWithIgnoringCase(rest, designator)) {
            if (*hour < 1 || *hour > 12) return false;
            hour24 = *hour % 12 + (pm ? 12 : 0);
            pos = afterSpaces + designator.size();
            designated = true;
            break;
        }
    }
    if (!designated && *hour > 23) return false;
    if (*minute > 59 || *second > 59) return false;
    value.Hour = hour24;
    value.Minute = *minute;
    value.Second = *second;
    value.HasTime = true;
    return true;
}

std::wstring Padded(int number, std::size_t width) {
    std::wstring text = std::to_wstring(number);
    if (text.size() < width) text.insert(0, width - text.size(), L'0');
    return text;
}

std::wstring Format(std::wstring_view pattern, const DateTime& value, const LocaleConventions& conventions) {
    std::wstring text;
    const std::wstring& designator = value.Hour < 12 ? conventions.AmDesignator : conventions.PmDesignator;
    for (const PatternPart& part : SplitPattern(pattern)) {
        const std::size_t width = part.Count >= 2 ? 2 : 1;
        switch (part.Letter) {
        case 0: text += part.Literal; break;
        case L'd': text += Padded(value.Day, width); break;
        case L'M': text += Padded(value.Month, width); break;
        case L'y': text += part.Count <= 2 ? Padded(value.Year % 100, width) : Padded(value.Year, 4); break;
        case L'h': text += Padded(value.Hour % 12 == 0 ? 12 : value.Hour % 12, width); break;
        case L'H': text += Padded(value.Hour, width); break;
        case L'm': text += Padded(value.Minute, width); break;
        case L's': text += Padded(value.Second, width); break;
        case L't': text += part.Count == 1 ? designator.substr(0, 1) : designator; break;
        default: break;  // era: not shown
        }
    }
    return text;
}

}  // namespace

LocaleConventions UserLocaleConventions() {
    LocaleConventions conventions;
    ReadLocaleText(LOCALE_SDECIMAL, conventions.DecimalSeparator, false);
    ReadLocaleText(LOCALE_SSHORTDATE, conventions.ShortDatePattern, false);
    ReadLocaleText(LOCALE_STIMEFORMAT, conventions.TimePattern, false);
    ReadLocaleText(LOCALE_S1159, conventions.AmDesignator, true);
    ReadLocaleText(LOCALE_S2359, conventions.PmDesignator, true);
    return conventions;
}

std::optional<std::wstring> FloatTextOf(std::wstring_view text, const LocaleConventions& conventions) {
    std::string ascii;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        if (text[pos] == L'-') ascii += '-';
        ++pos;
    }
    std::size_t digits = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) ascii += static_cast<char>(text[pos]);
    if (ReadLiteral(text, pos, conventions.DecimalSeparator)) {
        ascii += '.';
        const std::size_t before = digits;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) ascii += static_cast<char>(text[pos]);
        if (digits == before) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    if (pos < text.size() && (text[pos] == L'e' || text[pos] == L'E')) {
        ascii += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) ascii += static_cast<char>(text[pos++]);
        std::size_t exponentDigits = 0;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++exponentDigits) ascii += static_cast<char>(text[pos]);
        if (exponentDigits == 0) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) return std::nullopt;
    if (value == 0) value = 0;  // no "-0"

    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::wstring result;
    for (const char* c = buffer; *c != 0; ++c) {
        if (*c == '.') {
            result += conventions.DecimalSeparator;
        } else if (*c == 'e') {
            // "1e+20" becomes "1E20", "1e-05" becomes "1E-5".
            result += L'E';
            if (*++c == '-') result += L'-';
            ++c;
            while (*c == '0' && c[1] != 0) ++c;
            for (; *c != 0; ++c) result += static_cast<wchar_t>(*c);
            break;
        } else {
            result += static_cast<wchar_t>(*c);
        }
    }
    return result;
}

std::optional<std::wstring> DateTimeTextOf(std::wstring_view text, const LocaleConventions& conventions) {
    const FieldLayout dateLayout = LayoutOf(conventions.ShortDatePattern, L"dMy");
    const std::wstring timeSeparator = LayoutOf(conventions.TimePattern, L"hms").Separator;
    DateTime value;
    std::size_t pos = 0;
    if (ReadDate(text, pos, dateLayout, value)) {
        if (pos != text.size()) {
            const std::size_t beforeSpaces = pos;
            while (pos < text.size() && text[pos] == L' ') ++pos;
            if (pos == beforeSpaces || !ReadTime(text, pos, timeSeparator, conventions, value)) return std::nullopt;
        }
    } else {
        pos = 0;
        value = {};
        if (!ReadTime(text, pos, timeSeparator, conventions, value)) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;

    std::wstring result;
    if (value.HasDate) result = Format(conventions.ShortDatePattern, value, conventions);
    if (value.HasDate && value.HasTime) result += L' ';
    if (value.HasTime) result += Format(conventions.TimePattern, value, conventions);
    return result;
}
