#include "ui/style/style.h"

#include "platform/accessibility.h"
#include "platform/startup_times.h"
#include "platform/text.h"
#include "ui/failure_report.h"
#include "ui/resources.h"
#include "ui/style/controls.h"
#include "ui/style/frame.h"
#include "ui/style/menu.h"
#include "ui/style/message_box.h"
#include "ui/window_classes.h"

#include <memory>
#include <vector>

namespace {

struct LoadedStyle {
    std::wstring name;
    std::shared_ptr<const StyleData> data;  // none for the standard look
};

std::vector<LoadedStyle>& LoadedStyles() {
    static std::vector<LoadedStyle> loaded{{kStandardStyleName, nullptr}};
    return loaded;
}

std::wstring active_name = kStandardStyleName;
std::wstring wanted_name = kStandardStyleName;  // what the program asked for, taken up again after high contrast
HHOOK creation_hook = nullptr;

bool SameName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool Is(const std::wstring& class_name, const wchar_t* wanted) { return SameName(class_name, wanted); }

// Gives a new or existing window of the program the parts of the style that fit it.
void StyleWindow(HWND hwnd) {
    std::wstring class_name = ClassNameOf(hwnd);
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (!(style & WS_CHILD)) {
        if (Is(class_name, L"#32768")) {
            AttachStyledWindow(std::make_unique<StyledPopupMenu>(hwnd));
            return;
        }
        AttachStyledWindow(std::make_unique<StyledMenuOwner>(hwnd));
        if ((style & WS_CAPTION) == WS_CAPTION) AttachStyledWindow(std::make_unique<StyledFrame>(hwnd));
    }
    if (Is(class_name, kFormClassName)) {
        AttachStyledWindow(std::make_unique<StyledContainer>(hwnd, false));
    } else if (Is(class_name, L"#32770")) {
        AttachStyledWindow(std::make_unique<StyledSystemBox>(hwnd));
    } else if (Is(class_name, kPanelClassName)) {
        AttachStyledWindow(std::make_unique<StyledContainer>(hwnd, true));
    } else if (Is(class_name, L"Button")) {
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                AttachStyledWindow(std::make_unique<StyledButton>(hwnd));
                break;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
                AttachStyledWindow(std::make_unique<StyledCheckBox>(hwnd));
                break;
        }
    } else if (Is(class_name, L"Edit")) {
        AttachStyledWindow(std::make_unique<StyledEdit>(hwnd));
    }
}

LRESULT CALLBACK CreationHook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code == HCBT_CREATEWND) {
        StartupStep step(L"style: dressing each new window (creation hook)");
        try {
            StyleWindow(reinterpret_cast<HWND>(wparam));
        } catch (...) {
            ReportFailure(std::current_exception());
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);  // room is reserved before enumerating
    return TRUE;
}

// The thread's windows and all their descendants, parents first.
std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    windows.reserve(4096);
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    size_t top_level = windows.size();
    for (size_t i = 0; i < top_level; ++i)
        EnumChildWindows(windows[i], CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void Activate(const LoadedStyle& style) {
    if (creation_hook) {
        UnhookWindowsHookEx(creation_hook);
        creation_hook = nullptr;
    }
    DetachStyledWindows();
    SetActivePainter(nullptr);
    active_name = style.name;
    if (!style.data) return;

    SetActivePainter(std::make_unique<StylePainter>(*style.data));
    for (HWND hwnd : ThreadWindows()) StyleWindow(hwnd);
    creation_hook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    for (HWND hwnd : ThreadWindows())
        if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
            RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL CALLBACK CollectResourceName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
    if (IS_INTRESOURCE(name)) return TRUE;  // the style resources have names
    try {
        reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory: the names so far are searched
    }
}

std::wstring ResourceText(const std::wstring& name) {
    std::vector<std::uint8_t> bytes = LoadResourceBytes(name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    size_t skip = (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) ? 3 : 0;
    return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(bytes.data()) + skip, bytes.size() - skip));
}

// The first style resource of the executable with that name, loaded; none when there is none.
const LoadedStyle* LoadFromResources(std::wstring_view name) {
    std::vector<std::wstring> names;
    EnumResourceNamesW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(10) /* RT_RCDATA */, CollectResourceName,
                       reinterpret_cast<LONG_PTR>(&names));
    for (const std::wstring& resource : names) {
        std::wstring text = ResourceText(resource);
        std::optional<std::wstring> declared = DeclaredStyleName(text);
        if (!declared || !SameName(*declared, name)) continue;
        auto data = std::make_shared<const StyleData>(ParseStyle(text, resource));
        LoadedStyles().push_back({data->name, data});
        return &LoadedStyles().back();
    }
    return nullptr;
}

}  // namespace

namespace {
bool Use(std::wstring_view name, bool report_missing) {
    // The colours the user chose for their eyes come first: the standard look, and no box to say so.
    if (!SameName(name, kStandardStyleName) && HighContrastOn()) {
        if (active_name != kStandardStyleName) Activate(LoadedStyles().front());
        return false;
    }
    const LoadedStyle* found = nullptr;
    for (const LoadedStyle& style : LoadedStyles())
        if (SameName(style.name, name)) {
            found = &style;
            break;
        }
    if (!found) {
        StartupStep step(L"style: resource found, read and parsed");
        found = LoadFromResources(name);
    }
    if (!found) {
        if (active_name != kStandardStyleName) Activate(LoadedStyles().front());
        if (report_missing) ShowStyleNotFound(name);
        return false;
    }
    StartupStep step(L"style: made active (painter, hook)");
    if (found->name != active_name) Activate(*found);
    return true;
}
}  // namespace

bool UseStyle(std::wstring_view name) {
    wanted_name = name;
    return Use(name, true);
}

void FollowHighContrast() {
    if (SameName(wanted_name, kStandardStyleName)) return;
    if (HighContrastOn() == SameName(active_name, kStandardStyleName)) return;  // already as it should be
    Use(wanted_name, false);
}

std::wstring ActiveStyleName() { return active_name; }
