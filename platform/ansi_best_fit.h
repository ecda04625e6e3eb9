#pragma once
// What a program that reads its command line as 8-bit text receives of a value given in UTF-16.
#include <string>
#include <string_view>

// `value` in the ANSI code page as WideCharToMultiByte makes it with its default flags (a character the code page
// lacks becomes its best fit, "／" a "/", else the default character), read back into UTF-16.
std::wstring AnsiBestFitReading(std::wstring_view value);
