#pragma once
// Finding a program's windows from another process, by class and caption. Shared by the end-to-end tests and
// the benchmark, which both drive the real exe from outside.
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

inline std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// The text the window system keeps for the window; no message is sent, so a busy program cannot stall it.
inline std::wstring CaptionOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

inline std::vector<HWND> TopLevelWindowsOf(DWORD process_id) {
    struct Search {
        DWORD process_id;
        std::vector<HWND> found;
    } search{process_id, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->process_id) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first window under `ancestor`, at any depth, of that class and caption.
inline HWND FindDescendant(HWND ancestor, std::wstring_view class_name, std::wstring_view caption) {
    for (HWND child = FindWindowExW(ancestor, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(ancestor, child, nullptr, nullptr)) {
        if (ClassOf(child) == class_name && CaptionOf(child) == caption) return child;
        if (HWND found = FindDescendant(child, class_name, caption)) return found;
    }
    return nullptr;
}
