#pragma once
// Owners for GDI objects and other handles: each frees its handle once, and none can be copied.
#include <windows.h>
#include <utility>

template <typename Handle, typename Deleter>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Deleter{}(handle_);
        handle_ = handle;
    }
    Handle release() { return std::exchange(handle_, Handle{}); }

private:
    Handle handle_{};
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct WindowDeleter {
    void operator()(HWND h) const { DestroyWindow(h); }
};

using FontHandle = UniqueHandle<HFONT, GdiObjectDeleter>;
using BrushHandle = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using PenHandle = UniqueHandle<HPEN, GdiObjectDeleter>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using RegionHandle = UniqueHandle<HRGN, GdiObjectDeleter>;
using IconHandle = UniqueHandle<HICON, IconDeleter>;
using MenuHandle = UniqueHandle<HMENU, MenuDeleter>;
using WindowHandle = UniqueHandle<HWND, WindowDeleter>;

// Selects an object into a device context for the holder's lifetime.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory device context, deleted with the holder.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A window's device context, released with the holder: its client area (GetDC), or with `WholeWindow` the frame too
// (GetWindowDC).
template <bool WholeWindow>
class ReleasedDC {
public:
    explicit ReleasedDC(HWND window) : window_(window), dc_(WholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ReleasedDC(const ReleasedDC&) = delete;
    ReleasedDC& operator=(const ReleasedDC&) = delete;
    ~ReleasedDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

using WindowDC = ReleasedDC<false>;
using WholeWindowDC = ReleasedDC<true>;
