#pragma once
// A C++ object bound to a window of one of the program's own classes.
#include <windows.h>
#include <string>

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }
    static Window* FromHandle(HWND hwnd);

protected:
    // Registers the class on first use, with the program's icons; the window procedure is the guarded one below.
    HWND CreateBound(const wchar_t* class_name, DWORD ex_style, DWORD style, const std::wstring& caption,
                     const RECT& bounds, HWND parent, HMENU menu_or_id, UINT class_style = 0,
                     HBRUSH background = nullptr);
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) {
        return DefWindowProcW(hwnd_, message, wparam, lparam);
    }

private:
    // Binds the object at WM_NCCREATE, unbinds it at WM_NCDESTROY, and lets no failure escape.
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    HWND hwnd_ = nullptr;
};
