// Left beside the program and in its current folder under the names of DLLs it uses, where a search that looks
// there first would find it: Windows must load the system's own instead. Loaded all the same, it writes down where
// and refuses to stay.
#include "call_log.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(instance, path, MAX_PATH);
    LogStray(std::wstring(L"loaded ") + path);
    return FALSE;
}
