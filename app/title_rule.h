#pragma once
// The application title, derived from the executable's full path:
// the path as read into room for 256 characters (so cut to its first 255), everything up to the last
// backslash dropped, the rest cut at its first ".", and every character after the first lower-cased.
#include <functional>
#include <string>
#include <string_view>

std::wstring ApplicationTitle(std::wstring_view module_path, const std::function<std::wstring(std::wstring)>& to_lower);
