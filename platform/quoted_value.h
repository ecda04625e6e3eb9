#pragma once
// A value from outside the program (a settings file's, a tool's output) as a box quotes it: on one line, cut to
// about 60 characters with "…", and with its bidirectional controls shown rather than obeyed, so that a hostile
// value can neither fill the box, nor forge a second message in it, nor show itself in another order
// ("Work\u202Eexe.txt" read as "Worktxt.exe").
#include <cstddef>
#include <string>
#include <string_view>

// Each control character and line or paragraph separator becomes a space, and each bidirectional control a visible
// escape (below); a value longer than `longest` UTF-16 code units after that keeps as much of its start as fits in
// `longest` - 1 (never half a surrogate pair nor half an escape) and ends with "…".
std::wstring QuotedValue(std::wstring_view value, std::size_t longest = 60);

// `text` with each bidirectional control (U+200E, U+200F, U+061C, U+202A–U+202E, U+2066–U+2069) written as
// "<U+202E>"; nothing else changes.
std::wstring WithVisibleBidiControls(std::wstring_view text);
