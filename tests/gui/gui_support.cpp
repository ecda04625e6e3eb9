#include "gui_support.h"

#include "ui/form.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {
std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto node = Pending().extract(id);
    if (!node.empty()) node.mapped()();
}

struct BoxSearch {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK FindBoxes(HWND hwnd, LPARAM lparam) {
    auto* search = reinterpret_cast<BoxSearch*>(lparam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == search->process && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770")
        search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CountButtons(HWND hwnd, LPARAM lparam) {
    if (ClassOf(hwnd) == L"Button" || ClassOf(hwnd) == L"BUTTON") ++*reinterpret_cast<int*>(lparam);
    return TRUE;
}
}  // namespace

int PumpMessages(int milliseconds) {
    int quits = 0;
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ++quits;
                continue;
            }
            Form::Dispatch(message);
        }
        Sleep(5);
    } while (std::chrono::steady_clock::now() < until);
    return quits;
}

void RunSoon(std::function<void()> step, UINT delay_ms) {
    UINT_PTR id = SetTimer(nullptr, 0, delay_ms, RunPending);
    Pending()[id] = std::move(step);
}

namespace {
struct ReadyWait {
    std::function<bool()> ready;
    std::function<void()> step;
    std::chrono::steady_clock::time_point until;
};

void TryReady(const std::shared_ptr<ReadyWait>& wait) {
    if (wait->ready() || std::chrono::steady_clock::now() >= wait->until) {
        wait->step();
        return;
    }
    RunSoon([wait] { TryReady(wait); });
}
}  // namespace

void RunWhenReady(std::function<bool()> ready, std::function<void()> step, UINT limit_ms) {
    auto wait = std::make_shared<ReadyWait>(ReadyWait{
        std::move(ready), std::move(step), std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms)});
    RunSoon([wait] { TryReady(wait); });
}

testing::AssertionResult HasClientSize(HWND hwnd, SIZE size) {
    RECT client{};
    GetClientRect(hwnd, &client);
    if (client.right == size.cx && client.bottom == size.cy) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "client area " << client.right << "x" << client.bottom << ", not " << size.cx
                                       << "x" << size.cy;
}

RECT RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

void ClickMenuItem(HWND form, int bar_index, int item_index) {
    HMENU popup = GetSubMenu(GetMenu(form), bar_index);
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetMenuItemID(popup, item_index), 0), 0);
}

BoxWatcher::BoxWatcher(HWND must_be_disabled) : must_be_disabled_(must_be_disabled), thread_([this] { Watch(); }) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> BoxWatcher::Seen() {
    std::lock_guard lock(mutex_);
    return seen_;
}

void BoxWatcher::Watch() {
    while (!stop_) {
        BoxSearch search{GetCurrentProcessId(), {}};
        EnumWindows(FindBoxes, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.found) {
            if (std::find(handled_.begin(), handled_.end(), box) != handled_.end()) continue;
            handled_.push_back(box);
            Sleep(50);  // let the box finish showing before it is read
            SeenBox seen;
            seen.caption = WindowText(box);
            seen.text = WindowText(GetDlgItem(box, 0xFFFF));
            EnumChildWindows(box, CountButtons, reinterpret_cast<LPARAM>(&seen.buttons));
            seen.others_disabled = must_be_disabled_ && !IsWindowEnabled(must_be_disabled_);
            seen.owner = GetWindow(box, GW_OWNER);
            {
                std::lock_guard lock(mutex_);
                seen_.push_back(seen);
            }
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}
