#pragma once
// A DLL of Windows' own that the program needs only now and then, loaded on first use rather than imported, so
// start-up pays nothing for it. Only the system folder's copy is loaded: never one beside the program or in the
// current folder.
#include <windows.h>

// The system folder's `name`, or nullptr where it is missing. Windows 7 without its 2011 loader update refuses
// LOAD_LIBRARY_SEARCH_SYSTEM32; there the file is loaded by its full path in the system folder, never by its bare
// name, and nothing is loaded where the system folder cannot be found.
HMODULE LoadSystemLibrary(const wchar_t* name);

class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : module_(LoadSystemLibrary(name)) {}
    ~SystemLibrary() {
        if (module_) FreeLibrary(module_);
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The exported function of that name, as a pointer of type `Function`; nullptr where the DLL or the function
    // is missing.
    template <typename Function>
    Function Find(const char* name) const {
        if (!module_) return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};
