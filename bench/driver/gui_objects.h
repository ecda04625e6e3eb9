#pragma once
// How many GDI and USER objects a process holds.
#include <windows.h>
#include <filesystem>

struct GuiObjects {
    unsigned long gdi = 0;
    unsigned long user = 0;
};

class GuiObjectCounter {
public:
    // `counter_dll` is loaded into the process only where the system cannot count from outside.
    GuiObjectCounter(HANDLE process, std::filesystem::path counter_dll);
    GuiObjects Count();
    // How the counts were taken, for the table's notes.
    const char* Method() const;

private:
    void LoadCounterInto();
    DWORD RunInProcess(const char* function_name);

    HANDLE process_;
    std::filesystem::path counter_dll_;
    bool counted_from_outside_ = true;
    HMODULE remote_counter_ = nullptr;  // the counter's base in the measured process
    HMODULE local_counter_ = nullptr;   // the same DLL loaded here, to find its functions' offsets
};
