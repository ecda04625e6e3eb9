// After start-up's first step a DLL named bare is looked for in the system folder alone: one lying beside the
// program (planted_dll.dll lies beside this test program) is not found.
#include "platform/dll_search.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(DllSearch, ADllBesideTheProgramIsNotFoundByItsName) {
    LoadDllsOnlyFromSystemFolder();
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(L"planted_dll.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << "found, and refused by its own DllMain";
    EXPECT_NE(LoadLibraryW(L"dwmapi.dll"), nullptr) << "the system folder's own DLLs are still found";
}
