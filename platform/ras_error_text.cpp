#include "platform/ras_error_text.h"

#include "platform/system_library.h"

#include <windows.h>

namespace {
using RasGetErrorStringWFunction = DWORD(WINAPI*)(UINT, LPWSTR, DWORD);

RasGetErrorStringWFunction RasGetErrorStringWEntry() {
    static const SystemLibrary rasapi32(L"rasapi32.dll");
    static const auto entry = rasapi32.Find<RasGetErrorStringWFunction>("RasGetErrorStringW");
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
