#pragma once
// A window's text, asked for with as few messages as it can: each message to a styled control passes through its
// subclass, and "Save" reads every field.
#include <windows.h>
#include <string>

std::wstring WindowText(HWND hwnd);
