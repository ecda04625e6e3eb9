// The program built without its style resource, started as a process: the message, then the standard look.
#include "gui_support.h"
#include "style_support.h"
#include "tests/support/process_start.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

std::wstring ProgramWithoutStyle() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1) + L"Kavlo_Connect_without_style.exe";
}

struct TopWindows {
    DWORD process;
    std::wstring title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND hwnd, LPARAM lparam) {
    auto* search = reinterpret_cast<TopWindows*>(lparam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == search->process && IsWindowVisible(hwnd) && WindowText(hwnd) == search->title)
        search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Titled(DWORD process, const std::wstring& title) {
    TopWindows search{process, title, {}};
    EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits up to 20 s for a window of the process with that title.
std::vector<HWND> WaitForTitled(DWORD process, const std::wstring& title) {
    for (int i = 0; i < 400; ++i) {
        if (auto found = Titled(process, title); !found.empty()) {
            Sleep(300);  // let it finish painting, and give a second one time to show
            return Titled(process, title);
        }
        Sleep(50);
    }
    return {};
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

class ProgramWithoutStyleTest : public testing::Test {
protected:
    void TearDown() override {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    PROCESS_INFORMATION process_{};
};

TEST_F(ProgramWithoutStyleTest, SaysTheStyleIsMissingThenRunsInTheStandardLookAndEndsWithZero) {
    std::wstring program = ProgramWithoutStyle();
    std::wstring command = L"\"" + program + L"\"";
    ASSERT_TRUE(StartProcess(program, command, 0, nullptr, nullptr, process_)) << "error " << GetLastError();

    std::vector<HWND> errors = WaitForTitled(process_.dwProcessId, L"Error");
    ASSERT_EQ(errors.size(), 1u);
    std::vector<HWND> children;
    EnumChildWindows(errors.front(), CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<std::wstring> texts, buttons;
    for (HWND child : children) {
        std::wstring kind = ClassOf(child);
        if (_wcsicmp(kind.c_str(), L"Static") == 0) texts.push_back(WindowText(child));
        if (_wcsicmp(kind.c_str(), L"Button") == 0) buttons.push_back(WindowText(child));
    }
    EXPECT_EQ(texts, std::vector<std::wstring>{L"Style 'Amakrits' not found"});
    ASSERT_EQ(buttons, std::vector<std::wstring>{L"Close"});
    EXPECT_TRUE(Titled(process_.dwProcessId, L"ارتباط با شرکت").empty()) << "the launcher waits for the message";

    SendMessageTimeoutW(FindWindowExW(errors.front(), nullptr, L"Button", nullptr), BM_CLICK, 0, 0, SMTO_NORMAL, 5000,
                        nullptr);
    std::vector<HWND> launchers = WaitForTitled(process_.dwProcessId, L"ارتباط با شرکت");
    ASSERT_EQ(launchers.size(), 1u);
    EXPECT_TRUE(Titled(process_.dwProcessId, L"Error").empty());
    // The standard look: the system's face colour where the style would put its dark panel.
    HWND launcher = launchers.front();
    SetWindowPos(launcher, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(300);
    EXPECT_EQ(ClientPixel(launcher, {30, 60}), SystemColour(COLOR_BTNFACE));

    PostMessageW(launcher, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process_.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exit_code = 1;
    GetExitCodeProcess(process_.hProcess, &exit_code);
    EXPECT_EQ(exit_code, 0u);
}

}  // namespace
