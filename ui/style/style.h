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
// standard look follows the user's colours. The answer is taken when this is called; turning high contrast on
// or off later changes nothing until the program starts again.
bool UseStyle(std::wstring_view name);

// The active style's name, as the style itself writes it.
std::wstring ActiveStyleName();
