#pragma once
// A plain visible window of another program, which a test activates to put the program in the background: a thread
// of the test process with its own message loop.
#include <windows.h>
#include <atomic>
#include <thread>

class OtherProgramWindow {
public:
    OtherProgramWindow() {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            WNDCLASSW window_class{};
            window_class.lpfnWndProc = Procedure;
            window_class.hInstance = GetModuleHandleW(nullptr);
            window_class.lpszClassName = L"KavloTestOtherProgram";
            window_class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            RegisterClassW(&window_class);
            window_ =
                CreateWindowExW(0, window_class.lpszClassName, L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                40, 500, 400, nullptr, nullptr, window_class.hInstance, nullptr);
            thread_id_ = GetCurrentThreadId();
            SetEvent(ready);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~OtherProgramWindow() {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

    HWND Handle() const { return window_; }
    // How often it has been activated since the count was last cleared.
    int Activations() const { return activations.load(); }
    void ClearActivations() { activations = 0; }

private:
    static inline std::atomic<int> activations{0};
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) ++activations;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }

    std::thread thread_;
    HWND window_ = nullptr;
    DWORD thread_id_ = 0;
};
