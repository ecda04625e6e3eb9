#pragma once
// How a box names the menu command that opens the settings, so every box names it alike.
#include <string_view>

inline constexpr std::wstring_view kSettingsMenuCommand =
    L"FILE \u203A \"\u062A\u0646\u0638\u06CC\u0645\u0627\u062A \u0633\u0631\u0648\u0631\"";
