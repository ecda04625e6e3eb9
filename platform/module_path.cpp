#include "platform/module_path.h"

#include <windows.h>

std::wstring ExecutableDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // a long path: try again with more room
    }
    return path.substr(0, path.rfind(L'\\') + 1);
}
