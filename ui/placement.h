#pragma once
// Where a window goes so that it lies whole inside a work area: the rule alone, in plain numbers, so a table
// can show it. Windows' coordinates: right and bottom are just outside, and a monitor left of or above the
// primary one has negative coordinates.

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The top-left corner for `window` (its size is kept): its own where it fits, else moved by as little as
// brings it inside `work_area`. A window wider or taller than the work area starts at the work area's left or
// top edge, so that its caption and menu stay reachable.
ScreenPoint PlaceInside(const ScreenRect& window, const ScreenRect& work_area);
