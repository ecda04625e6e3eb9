#include "platform/dll_search.h"

#include <windows.h>

void LoadDllsOnlyFromSystemFolder() {
    // Looked up rather than imported: Windows 7 without its 2011 loader update (KB2533623) lacks it, and an import
    // would keep the program from starting there at all.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto set_default_dll_directories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set_default_dll_directories && set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // There at least the current folder leaves the search; the program's own folder cannot.
    SetDllDirectoryW(L"");
}
