#include "ui/program_icon.h"

HICON ProgramIcon(IconSize size) {
    // The system's own sizes: the standard sizes a shared icon may be loaded at.
    bool large = size == IconSize::large;
    int width = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
    int height = GetSystemMetrics(large ? SM_CYICON : SM_CYSMICON);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, width, height, LR_SHARED));
}
