#include "platform/ras_error_text.h"

#include <windows.h>

namespace {
using RasGetErrorStringWFunction = DWORD(WINAPI*)(UINT, LPWSTR, DWORD);

RasGetErrorStringWFunction RasGetErrorStringWEntry() {
    static const RasGetErrorStringWFunction entry = []() -> RasGetErrorStringWFunction {
        // Only the system folder's copy: a rasapi32.dll beside the exe or in the current folder must never load.
        HMODULE module = LoadLibraryExW(L"rasapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module) return nullptr;
        return reinterpret_cast<RasGetErrorStringWFunction>(
            reinterpret_cast<void*>(GetProcAddress(module, "RasGetErrorStringW")));
    }();
    return entry;
}
}  // namespace

std::wstring RasErrorText(unsigned long error) {
    RasGetErrorStringWFunction get_text = RasGetErrorStringWEntry();
    if (!get_text) return L"";
    // Windows' documentation: 512 characters always suffice.
    wchar_t text[512] = {};
    if (get_text(static_cast<UINT>(error), text, 512) != ERROR_SUCCESS) return L"";
    text[511] = L'\0';
    return text;
}
