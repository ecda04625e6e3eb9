#pragma once
// Numbers and dates of a hand-edited settings file, read and written back in the user's locale by Windows' own
// conversions (OLE Automation: VarParseNumFromStr with VarNumFromParseNum, and VarDateFromStr, to read;
// VarBstrFromR8 and VarBstrFromDate to write), so that the forms of the user's locale are understood as other
// Windows programs understand them.
#include <optional>
#include <string>
#include <string_view>

// The number `text` spells, written back in the user's locale; nullopt when it spells none. Digit grouping is not
// a number's: "10.0.0.5" is no number where "." groups digits.
std::optional<std::wstring> UserLocaleNumberText(std::wstring_view text);

// The date, time or date and time `text` spells, written back in the user's locale, in the Gregorian calendar and
// with four-digit years, so that it reads back as the same date; nullopt when none.
std::optional<std::wstring> UserLocaleDateText(std::wstring_view text);
