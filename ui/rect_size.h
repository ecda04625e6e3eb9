#pragma once
// A rectangle's size, in Windows' coordinates (right and bottom just outside).
#include <windows.h>

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
