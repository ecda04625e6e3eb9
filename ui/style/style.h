#pragma once
// The program's visual style: looked up by name at start-up, then drawn on every window the program makes.
#include <string>
#include <string_view>

// The standard Windows look: always loaded, and drawn by Windows itself.
inline constexpr wchar_t kStandardStyleName[] = L"Windows";

// Makes the first style of that name, letter case ignored, the active one: first among the styles already
// loaded, then among the style resources of the executable. When none matches, the standard look becomes
// active and the window "Error" says "Style '<name>' not found" until it is closed. True when found.
// While the user has high contrast on, any style but the standard look is refused without a word (false): the
// standard look follows the user's colours. The name is remembered, for FollowHighContrast.
bool UseStyle(std::wstring_view name);

// After the user turned high contrast on or off (WM_SETTINGCHANGE with SPI_SETHIGHCONTRAST, WM_SYSCOLORCHANGE):
// the style lets go of every window while it is on, and takes them back when it is off again, without a word
// when the style cannot be found.
void FollowHighContrast();

// The active style's name, as the style itself writes it.
std::wstring ActiveStyleName();
