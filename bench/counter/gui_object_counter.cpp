// Loaded into a measured process by the benchmark, where the system cannot count a process's GUI objects from
// outside (Wine's GetGuiResources is a stub). Each function is a thread start routine: the benchmark runs it in
// the process with CreateRemoteThread and reads the count from the thread's exit code.
//
// The counts walk the handle tables by index. A handle whose upper word is zero stands for whatever lives at
// that index, so a look-up succeeds exactly for the live objects.
#include <windows.h>

namespace {

// User handles are even numbers from 0x20 up to 0xFFEF.
constexpr ULONG_PTR kFirstUserHandle = 0x20;
constexpr ULONG_PTR kLastUserHandle = 0xFFEF;

bool IsOwnWindow(HWND window) {
    DWORD process_id = 0;
    return GetWindowThreadProcessId(window, &process_id) != 0 && process_id == GetCurrentProcessId();
}

bool IsIconOrCursor(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    // GetIconInfo hands out copies of the icon's bitmaps; they are not the program's.
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI CountGdiObjects(void*) {
    DWORD count = 0;
    for (ULONG_PTR index = 0; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    return count;
}

// Windows, menus, icons and cursors: the user objects a program makes.
extern "C" __declspec(dllexport) DWORD WINAPI CountUserObjects(void*) {
    DWORD count = 0;
    for (ULONG_PTR handle = kFirstUserHandle; handle <= kLastUserHandle; handle += 2) {
        if (IsOwnWindow(reinterpret_cast<HWND>(handle)) || IsMenu(reinterpret_cast<HMENU>(handle)) ||
            IsIconOrCursor(reinterpret_cast<HICON>(handle)))
            ++count;
    }
    return count;
}
