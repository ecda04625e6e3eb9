#pragma once
// The window that says a looked-up style is missing: caption "Error", the text "Style '<name>' not found" and one
// "Close" button, centred on the screen. Shown modally; returns when it is closed.
#include <string_view>

void ShowStyleNotFound(std::wstring_view name);
