#pragma once
// Names that screen readers read for windows whose window text is not their name: a picture button, a logo, a panel
// whose caption is never shown. Given through Windows' Dynamic Annotation (IAccPropServices, the name property),
// so the window text stays as it is. Tests put a recorder in place of Windows.
#include <windows.h>
#include <functional>
#include <string>

// Screen readers read `name` for the window (an empty name: nothing).
void NameForScreenReaders(HWND hwnd, const std::wstring& name);
// Takes the name back, before the window goes.
void ForgetScreenReaderName(HWND hwnd);

// Lets Windows' annotation object go, at the exit, while COM is still there (the windows named have gone); names
// are given no more afterwards.
void ReleaseScreenReaderNames();

// Every request goes to `recorder` instead of Windows (an empty function: to Windows again).
void SetScreenReaderNamesForTests(std::function<void(HWND, const std::wstring&)> recorder);
