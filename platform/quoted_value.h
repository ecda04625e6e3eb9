#pragma once
// A value from outside the program (a settings file's) as a box quotes it: on one line, and cut to about 60
// characters with "…", so that a hostile value can neither fill the box nor forge a second message in it.
#include <cstddef>
#include <string>
#include <string_view>

// Each control character and line or paragraph separator becomes a space; a value longer than `longest` UTF-16
// code units keeps its first `longest` - 1 (never half a surrogate pair) and ends with "…".
std::wstring QuotedValue(std::wstring_view value, std::size_t longest = 60);
