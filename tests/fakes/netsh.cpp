// Stands in for netsh: writes down its parameters, as a wide and as an 8-bit program receives them, and changes
// nothing. A test chooses how it ends through variables of its own environment, which the program and then the
// stand-in inherit:
//   KAVLO_FAKE_NETSH_PRINT  what it prints, written in the OEM code page as netsh writes into a pipe
//   KAVLO_FAKE_NETSH_REPEAT how many times it prints that, once when absent
//   KAVLO_FAKE_NETSH_EXIT   its exit code, 0 when absent
//   KAVLO_FAKE_NETSH_MS     how long it takes, in milliseconds, none when absent
#include "call_log.h"

#include <windows.h>
#include <string>

int wmain() {
    LogEightBitCall(L"netsh");
    LogCall(L"netsh", ArgumentsAsReceived());
    LogCurrentFolder(L"netsh");
    wchar_t text[4096] = {};
    const DWORD length = GetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_PRINT", text, 4096);
    if (length > 0 && length < 4096) {
        std::string bytes(static_cast<std::size_t>(length) * 4, '\0');
        const int size = WideCharToMultiByte(CP_OEMCP, 0, text, static_cast<int>(length), bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, nullptr);
        const unsigned long repeat = NumberFromEnvironment(L"KAVLO_FAKE_NETSH_REPEAT");
        for (unsigned long i = 0; i < (repeat == 0 ? 1 : repeat); ++i) {
            DWORD written = 0;
            WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(size > 0 ? size : 0), &written,
                      nullptr);
        }
    }
    Sleep(NumberFromEnvironment(L"KAVLO_FAKE_NETSH_MS"));
    return static_cast<int>(NumberFromEnvironment(L"KAVLO_FAKE_NETSH_EXIT"));
}
