// Stands in for rasdial: writes down its parameters, dials nothing. A test chooses how the dial goes through two
// variables of its own environment, which the program and then the stand-in inherit:
//   KAVLO_FAKE_RASDIAL_EXIT  the exit code (a RAS error number), 0 when absent
//   KAVLO_FAKE_RASDIAL_MS    how long the dial takes, in milliseconds, none when absent
#include "call_log.h"

#include <windows.h>

#include <cwchar>

namespace {
DWORD NumberFromEnvironment(const wchar_t* name) {
    wchar_t value[32] = {};
    DWORD length = GetEnvironmentVariableW(name, value, 32);
    if (length == 0 || length >= 32) return 0;
    return static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
}
}  // namespace

int wmain() {
    LogCall(L"rasdial", ArgumentsAsReceived());
    Sleep(NumberFromEnvironment(L"KAVLO_FAKE_RASDIAL_MS"));
    return static_cast<int>(NumberFromEnvironment(L"KAVLO_FAKE_RASDIAL_EXIT"));
}
