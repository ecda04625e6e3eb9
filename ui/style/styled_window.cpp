#include "ui/style/styled_window.h"

#include "ui/failure_report.h"

#include <algorithm>
#include <commctrl.h>
#include <vector>

namespace {
std::unique_ptr<StylePainter> active_painter;
// The objects of the windows the style draws; freed at the window's WM_NCDESTROY or when detached.
std::vector<std::unique_ptr<StyledWindow>> styled_windows;
// Objects detached while one of their messages ran: freed when the outermost returns.
std::vector<std::unique_ptr<StyledWindow>> detached_in_use;

LRESULT CALLBACK StyleSubclassProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                        DWORD_PTR data) noexcept;
}  // namespace

// What the subclass procedure and the list do with an object's own bookkeeping.
class StyledWindowList {
public:
    // One message through the object, which is freed afterwards if it was detached meanwhile and this was the
    // outermost of its messages.
    static LRESULT Run(StyledWindow* styled, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
        ++styled->messages_running_;
        LRESULT result = 0;
        try {
            result = styled->OnMessage(message, wparam, lparam);
        } catch (...) {
            ReportFailure(std::current_exception());
        }
        if (--styled->messages_running_ == 0 && styled->detached_)
            std::erase_if(detached_in_use, [styled](const auto& listed) { return listed.get() == styled; });
        return result;
    }

    // Takes the object out of the list (its subclass already gone): freed now, or by Run when its messages end.
    static void Unlist(StyledWindow* styled) {
        const auto found = std::find_if(styled_windows.begin(), styled_windows.end(),
                                        [styled](const auto& listed) { return listed.get() == styled; });
        if (found == styled_windows.end()) return;
        std::unique_ptr<StyledWindow> unlisted = std::move(*found);
        styled_windows.erase(found);
        Retire(std::move(unlisted));
    }

    static void DetachAll() {
        std::vector<std::unique_ptr<StyledWindow>> detaching;
        detaching.swap(styled_windows);
        for (std::unique_ptr<StyledWindow>& styled : detaching) {
            HWND hwnd = styled->Handle();
            styled->Restore();
            RemoveWindowSubclass(hwnd, StyleSubclassProcedure, reinterpret_cast<UINT_PTR>(styled.get()));
            Retire(std::move(styled));
            RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }

private:
    static void Retire(std::unique_ptr<StyledWindow> styled) {
        styled->detached_ = true;
        if (styled->messages_running_ > 0) detached_in_use.push_back(std::move(styled));
    }
};

namespace {
LRESULT CALLBACK StyleSubclassProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                        DWORD_PTR data) noexcept {
    auto* styled = reinterpret_cast<StyledWindow*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, StyleSubclassProcedure, id);
        StyledWindowList::Unlist(styled);
        return DefSubclassProc(hwnd, message, wparam, lparam);
    }
    return StyledWindowList::Run(styled, message, wparam, lparam);
}
}  // namespace

LRESULT StyledWindow::Default(UINT message, WPARAM wparam, LPARAM lparam) const {
    return DefSubclassProc(hwnd_, message, wparam, lparam);
}

StylePainter& StyledWindow::Painter() { return *active_painter; }

void SetActivePainter(std::unique_ptr<StylePainter> painter) { active_painter = std::move(painter); }

void AttachStyledWindow(std::unique_ptr<StyledWindow> styled) {
    styled_windows.reserve(styled_windows.size() + 1);
    StyledWindow* raw = styled.get();
    if (!SetWindowSubclass(raw->Handle(), StyleSubclassProcedure, reinterpret_cast<UINT_PTR>(raw),
                           reinterpret_cast<DWORD_PTR>(raw)))
        return;  // the window is going: it keeps the standard look
    styled_windows.push_back(std::move(styled));
    raw->Attached();
}

void DetachStyledWindows() { StyledWindowList::DetachAll(); }

std::wstring ClassNameOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

RECT ClientArea(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}
