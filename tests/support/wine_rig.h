#pragma once
// Tests written for the Wine rig, which a real Windows cannot host: they skip there, saying why.
#include <windows.h>

#include <gtest/gtest.h>

// True under Wine, which exports its version from ntdll.
inline bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A test of one ANSI code page. The rig runs it under a locale giving that code page, so there a different one is a
// fault of the rig; a real Windows has the code page it has, and the test skips unless it is this one.
#define KAVLO_REQUIRE_CODE_PAGE(code_page)                                                                     \
    do {                                                                                                       \
        if (!UnderWine() && GetACP() != (code_page))                                                           \
            GTEST_SKIP() << "needs the system code page " << (code_page) << "; this system's is " << GetACP(); \
        ASSERT_EQ(GetACP(), static_cast<UINT>(code_page)) << "the locale does not give this code page";        \
    } while (false)

// A test that puts stand-ins for rasdial and netsh into the system folder, which is not ours to change on a real
// Windows.
#define KAVLO_REQUIRE_SYSTEM_STAND_INS()                                                                  \
    do {                                                                                                  \
        if (!UnderWine())                                                                                 \
            GTEST_SKIP() << "needs stand-ins for rasdial and netsh in the system folder (Wine rig only)"; \
    } while (false)
