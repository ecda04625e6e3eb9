#include "ui/placement.h"

namespace {
// One axis: the start moves back by what reaches past the end, then forward to the work area's start.
int PlaceAlong(int start, int end, int area_start, int area_end) {
    const int size = end - start;
    if (start + size > area_end) start = area_end - size;
    if (start < area_start) start = area_start;
    return start;
}
}  // namespace

ScreenPoint PlaceInside(const ScreenRect& window, const ScreenRect& work_area) {
    return {PlaceAlong(window.left, window.right, work_area.left, work_area.right),
            PlaceAlong(window.top, window.bottom, work_area.top, work_area.bottom)};
}
