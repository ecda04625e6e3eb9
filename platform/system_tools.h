#pragma once
// The full paths of the system's own tools. Named bare, a tool is looked for beside the program and in the
// current folder before the system folder, so a file of that name left in Downloads would run in its place.
#include <string>

// `file_name` in the system folder (GetSystemDirectoryW), e.g. C:\Windows\system32\rasdial.exe.
std::wstring SystemToolPath(const std::wstring& file_name);

// The same in the ANSI code page (GetSystemDirectoryA), for the commands handed to ShellExecuteA.
std::string SystemToolPathA(const std::string& file_name);
