#pragma once
// Numbers and dates of a hand-edited settings file, read and written back in the user's locale by Windows' own
// conversions (OLE Automation: VarR8FromStr and VarDateFromStr, VarBstrFromR8 and VarBstrFromDate), so that
// every form the user's locale allows is understood exactly as other Windows programs understand it.
#include <optional>
#include <string>
#include <string_view>

// The number `text` spells, written back in the user's locale; nullopt when it spells none.
std::optional<std::wstring> UserLocaleNumberText(std::wstring_view text);

// The date, time or date and time `text` spells, written back in the user's locale; nullopt when none.
std::optional<std::wstring> UserLocaleDateText(std::wstring_view text);
