#include "platform/system_tools.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/text.h"

#include <windows.h>

namespace {
// Both forms of GetSystemDirectory answer the length without the terminator, or the size needed with it; 0 when
// they fail. The folder comes back with a trailing backslash.
template <typename Char, typename Query>
std::optional<std::basic_string<Char>> SystemFolder(Query query) {
    std::basic_string<Char> folder(MAX_PATH, Char{});
    for (;;) {
        const UINT length = query(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0) return std::nullopt;
        if (length < folder.size()) {
            folder.resize(length);
            if (folder.back() != Char('\\')) folder += Char('\\');
            return folder;
        }
        folder.resize(length);
    }
}

Failure NoSystemFolder(const std::wstring& file_name) {
    return Failure(L"Cannot find the system folder to start \"" + file_name + L"\". " +
                   SystemErrorText(GetLastError()));
}
}  // namespace

std::optional<std::wstring> SystemFolderPath() { return SystemFolder<wchar_t>(GetSystemDirectoryW); }

std::wstring SystemToolPath(const std::wstring& file_name) {
    const auto folder = SystemFolderPath();
    if (!folder) throw NoSystemFolder(file_name);
    return *folder + file_name;
}

std::string SystemToolPathA(const std::string& file_name) {
    const auto folder = SystemFolder<char>(GetSystemDirectoryA);
    if (!folder) throw NoSystemFolder(AnsiToWide(file_name));
    return *folder + file_name;
}
