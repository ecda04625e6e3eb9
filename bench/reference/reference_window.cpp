// The floor the benchmark reports Kavlo Connect against (the judged reference is hand_made_windows): the least
// a Win32 program with the launcher's window needs. One class, one window of the launcher's size with a menu, no
// manifest, and the message loop.
// Started with /save it also carries a "Save" button that writes the two files the settings dialog writes,
// with the bytes it found in them at start, through plain CreateFileW/WriteFile/CloseHandle.
#include <windows.h>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"KavloReferenceWindow";
constexpr int kClientWidth = 404;
constexpr int kClientHeight = 133;
constexpr int kSaveButtonId = 1;
const wchar_t* const kSavedFiles[] = {L"Kavlo.rdp", L"setup_a.ini"};

struct SavedFile {
    std::wstring name;
    std::vector<char> bytes;
};
std::vector<SavedFile> saved_files;

std::vector<char> ReadBytes(const wchar_t* name) {
    HANDLE file =
        CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::vector<char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void WriteSavedFiles() {
    for (const SavedFile& saved : saved_files) {
        HANDLE file =
            CreateFileW(saved.name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD written = 0;
        WriteFile(file, saved.bytes.data(), static_cast<DWORD>(saved.bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_COMMAND && LOWORD(w) == kSaveButtonId) {
        WriteSavedFiles();
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

HMENU MakeMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 100, L"Settings");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 101, L"Exit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"FILE");
    return bar;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show) {
    const bool with_save = std::wstring(command_line).find(L"/save") != std::wstring::npos;
    if (with_save)
        for (const wchar_t* name : kSavedFiles) saved_files.push_back({name, ReadBytes(name)});

    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = WindowProcedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kClassName;
    RegisterClassExW(&window_class);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_DLGMODALFRAME);
    HWND window =
        CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW, kClassName, L"Reference", style, 891, 77,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, MakeMenu(), instance, nullptr);
    if (with_save)
        CreateWindowExW(0, L"BUTTON", L"Save", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 8, 75, 25, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSaveButtonId)), instance, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
