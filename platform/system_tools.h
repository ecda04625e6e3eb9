#pragma once
// The full paths of the system's own tools and DLLs. Named bare, a tool is looked for beside the program and in
// the current folder before the system folder, so a file of that name left in Downloads would run in its place.
#include <optional>
#include <string>

// The system folder (GetSystemDirectoryW) with a trailing backslash; nullopt where it cannot be found.
std::optional<std::wstring> SystemFolderPath();

// `file_name` in the system folder (GetSystemDirectoryW), e.g. C:\Windows\system32\rasdial.exe. Where the system
// folder cannot be found, a Failure: the tool is not run at all rather than by its bare name.
std::wstring SystemToolPath(const std::wstring& file_name);

// The same in the ANSI code page (GetSystemDirectoryA), for the commands handed to ShellExecuteA.
std::string SystemToolPathA(const std::string& file_name);
