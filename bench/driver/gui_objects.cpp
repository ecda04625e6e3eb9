#include "gui_objects.h"

#include "platform/file_handle.h"

#include <psapi.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

DWORD RunRemoteThread(HANDLE process, LPTHREAD_START_ROUTINE start, void* parameter) {
    FileHandle thread(CreateRemoteThread(process, nullptr, 0, start, parameter, 0, nullptr));
    if (!thread)
        throw std::runtime_error("cannot start a thread in the measured process, error " +
                                 std::to_string(GetLastError()));
    if (WaitForSingleObject(thread.get(), 60000) != WAIT_OBJECT_0)
        throw std::runtime_error("a thread in the measured process did not finish");
    DWORD code = 0;
    GetExitCodeThread(thread.get(), &code);
    return code;
}

HMODULE FindModule(HANDLE process, const std::filesystem::path& path) {
    std::vector<HMODULE> modules(1024);
    DWORD needed = 0;
    if (!EnumProcessModulesEx(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed,
                              LIST_MODULES_ALL))
        return nullptr;
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (HMODULE module : modules) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, module, name, MAX_PATH) && _wcsicmp(name, path.filename().c_str()) == 0)
            return module;
    }
    return nullptr;
}

}  // namespace

GuiObjectCounter::GuiObjectCounter(HANDLE process, std::filesystem::path counter_dll)
    : process_(process), counter_dll_(std::move(counter_dll)) {
    SetLastError(ERROR_SUCCESS);
    if (GetGuiResources(process_, GR_GDIOBJECTS) == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        counted_from_outside_ = false;
        LoadCounterInto();
    }
}

const char* GuiObjectCounter::Method() const {
    return counted_from_outside_ ? "GetGuiResources"
                                 : "a counter loaded into the process (GetGuiResources is not implemented here)";
}

GuiObjects GuiObjectCounter::Count() {
    if (counted_from_outside_)
        return {GetGuiResources(process_, GR_GDIOBJECTS), GetGuiResources(process_, GR_USEROBJECTS)};
    return {RunInProcess("CountGdiObjects"), RunInProcess("CountUserObjects")};
}

// LoadLibraryW runs in the process as a thread, its argument the DLL's path written into the process.
void GuiObjectCounter::LoadCounterInto() {
    const std::wstring path = counter_dll_.wstring();
    const SIZE_T size = (path.size() + 1) * sizeof(wchar_t);
    void* remote_path = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote_path || !WriteProcessMemory(process_, remote_path, path.c_str(), size, nullptr))
        throw std::runtime_error("cannot write into the measured process, error " + std::to_string(GetLastError()));
    auto load_library = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    RunRemoteThread(process_, load_library, remote_path);
    VirtualFreeEx(process_, remote_path, 0, MEM_RELEASE);
    remote_counter_ = FindModule(process_, counter_dll_);
    local_counter_ = LoadLibraryW(counter_dll_.c_str());
    if (!remote_counter_ || !local_counter_) throw std::runtime_error("the object counter did not load");
}

// The function's place in the process: its offset in the DLL loaded here, from the DLL's base there.
DWORD GuiObjectCounter::RunInProcess(const char* function_name) {
    FARPROC local = GetProcAddress(local_counter_, function_name);
    if (!local) throw std::runtime_error(std::string("the object counter lacks ") + function_name);
    const auto offset = reinterpret_cast<const char*>(local) - reinterpret_cast<const char*>(local_counter_);
    auto remote = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<char*>(remote_counter_) + offset);
    return RunRemoteThread(process_, remote, nullptr);
}
