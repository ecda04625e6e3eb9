#include "ui/window.h"

#include "platform/failure.h"
#include "ui/failure_report.h"
#include "ui/program_icon.h"
#include "ui/rect_size.h"

#include <set>

namespace {
const wchar_t kObjectProperty[] = L"KavloWindowObject";

void RegisterOnce(const wchar_t* class_name, UINT class_style, HBRUSH background, WNDPROC procedure) {
    static std::set<std::wstring> registered;
    if (registered.count(class_name)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = class_style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = ProgramIcon(IconSize::large);
    wc.hIconSm = ProgramIcon(IconSize::small);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = class_name;
    if (!RegisterClassExW(&wc)) throw Failure(L"Cannot register the window class " + std::wstring(class_name));
    registered.insert(class_name);
}
}  // namespace

Window::~Window() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        RemovePropW(hwnd, kObjectProperty);
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd) { return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr; }

HWND Window::CreateBound(const wchar_t* class_name, DWORD ex_style, DWORD style, const std::wstring& caption,
                         const RECT& bounds, HWND parent, HMENU menu_or_id, UINT class_style, HBRUSH background) {
    RegisterOnce(class_name, class_style, background, &Window::Procedure);
    HWND hwnd = CreateWindowExW(ex_style, class_name, caption.c_str(), style, bounds.left, bounds.top, Width(bounds),
                                Height(bounds), parent, menu_or_id, GetModuleHandleW(nullptr), this);
    if (!hwnd) throw Failure(L"Cannot create a window of class " + std::wstring(class_name));
    return hwnd;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) { return Default(message, wparam, lparam); }

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetPropW(hwnd, kObjectProperty, self);
    }
    Window* self = FromHandle(hwnd);
    if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kObjectProperty);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    // Every top-level window of the program agrees to end the logon; when it really ends, the process ends at once,
    // whichever window Windows tells first. Nothing needs storing, and the message may come inside a box, the modal
    // dialog or a COM wait, whose frames must not be unwound.
    if (message == WM_QUERYENDSESSION) return TRUE;
    if (message == WM_ENDSESSION) {
        if (wparam) ExitProcess(0);
        return 0;
    }
    try {
        return self->HandleMessage(message, wparam, lparam);
    } catch (...) {
        ReportFailure(std::current_exception());
        return 0;
    }
}
