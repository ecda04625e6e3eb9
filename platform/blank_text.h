#pragma once
// What counts as blank in the texts the program reads: settings and connection files, netsh's output and Windows'
// own message texts.
#include <string_view>

// A space or any control character below it (tab, CR, LF and the rest): what a hand-edited file or a console
// tool's output may pad a value with.
bool IsSpaceOrControl(wchar_t c);

// Whether `text` is empty or made only of spaces and control characters.
bool IsBlank(std::wstring_view text);

// `text` without the spaces and control characters at either end.
std::wstring_view Trimmed(std::wstring_view text);

// `text` without the spaces, tabs, CRs and LFs at its end, as Windows' message texts end with a line break.
std::wstring_view WithoutTrailingWhiteSpace(std::wstring_view text);
