#include "platform/system_library.h"

#include "platform/system_tools.h"

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    const auto folder = SystemFolderPath();
    if (!folder) return nullptr;
    // The DLL's own dependencies are then looked for in the system folder first too.
    return LoadLibraryExW((*folder + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
