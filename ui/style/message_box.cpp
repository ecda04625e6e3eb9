#include "ui/style/message_box.h"

#include "ui/disabled_windows.h"
#include "ui/handles.h"
#include "ui/rect_size.h"
#include "ui/style/data.h"
#include "ui/window.h"

#include <algorithm>
#include <optional>

namespace {
const wchar_t kMessageClass[] = L"KavloStyleMessage";
constexpr int kMargin = 16;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kCloseId = 1;

class StyleMessage : public Window {
public:
    explicit StyleMessage(std::wstring_view name) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));

        std::wstring text = StyleNotFoundText(name);
        SIZE extent{};
        {
            WindowDC screen(nullptr);
            SelectedObject selected(screen.get(), font_.get());
            GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
        }
        int client_width = std::max<int>(extent.cx, 200) + 2 * kMargin;
        int client_height = kMargin + extent.cy + kMargin + kButtonHeight + kMargin;
        DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
        RECT frame{0, 0, client_width, client_height};
        AdjustWindowRectEx(&frame, style, FALSE, ex_style);
        RECT screen{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
        int width = Width(frame), height = Height(frame);
        int left = screen.left + (Width(screen) - width) / 2;
        int top = screen.top + (Height(screen) - height) / 2;
        HWND hwnd = CreateBound(kMessageClass, ex_style, style, L"Error", {left, top, left + width, top + height},
                                nullptr, nullptr, 0, GetSysColorBrush(COLOR_BTNFACE));

        HWND label =
            CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kMargin, kMargin,
                            client_width - 2 * kMargin, extent.cy, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        close_ = CreateWindowExW(
            0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
            (client_width - kButtonWidth) / 2, client_height - kMargin - kButtonHeight, kButtonWidth, kButtonHeight,
            hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId)), GetModuleHandleW(nullptr), nullptr);
        for (HWND child : {label, close_})
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }

    ~StyleMessage() override {
        if (Handle()) DestroyWindow(Handle());  // before the font its controls use
    }

    // Shows the window with the thread's other windows disabled, until it is closed.
    void RunModal() {
        HWND active = GetActiveWindow();
        HWND focus = GetFocus();
        std::optional<DisabledWindows> others(std::in_place, Handle());
        ShowWindow(Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(Handle());
        SetFocus(close_);
        MSG message;
        while (!closed_) {
            BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam));  // the program's loop must see it too
                break;
            }
            if (got == -1) break;
            if (!IsDialogMessageW(Handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        // Enabled again before this window hides, so that Windows can hand activation back to one of them
        // rather than to another program's window; then the active window and focus are put back.
        others.reset();
        ShowWindow(Handle(), SW_HIDE);
        if (active && IsWindow(active)) SetActiveWindow(active);
        if (focus && IsWindow(focus)) SetFocus(focus);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
            case WM_COMMAND:
                // The button, Enter (IDOK) and Esc (IDCANCEL) all close.
                if (LOWORD(wparam) == kCloseId || LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) Finish();
                return 0;
            case WM_CLOSE:
                Finish();
                return 0;
        }
        return Window::HandleMessage(message, wparam, lparam);
    }

private:
    // A sent message does not end GetMessage's wait: a posted one wakes the loop to see the window is done.
    void Finish() {
        closed_ = true;
        PostMessageW(Handle(), WM_NULL, 0, 0);
    }

    FontHandle font_;
    HWND close_ = nullptr;
    bool closed_ = false;
};
}  // namespace

void ShowStyleNotFound(std::wstring_view name) {
    StyleMessage message(name);
    message.RunModal();
}
