#pragma once
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>

// The values CommandLineToArgvW reads from the parameters, as a program started with them would see them.
inline std::vector<std::wstring> ArgumentsOf(const std::wstring& parameters) {
    std::wstring command_line = L"program.exe " + parameters;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(command_line.c_str(), &count);
    std::vector<std::wstring> values(arguments + 1, arguments + count);
    LocalFree(arguments);
    return values;
}
