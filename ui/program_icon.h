#pragma once
// The program's icon, MAINICON, at the two sizes Windows shows a window's icon: large (Alt+Tab) and small (the
// title bar and the taskbar button). Every window class of the program is registered with both, so no window of
// it shows the generic icon.
#include <windows.h>

enum class IconSize { large, small };

// Shared: loaded once per size, freed by the system, never destroyed by the program. Null if the resource is
// missing.
HICON ProgramIcon(IconSize size);
