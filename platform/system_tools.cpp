#include "platform/system_tools.h"

#include <windows.h>

namespace {
// Both forms of GetSystemDirectory answer the length without the terminator, or the size needed with it.
template <typename Char, typename Query>
std::basic_string<Char> SystemFolder(Query query) {
    std::basic_string<Char> folder(MAX_PATH, Char{});
    for (;;) {
        const UINT length = query(folder.data(), static_cast<UINT>(folder.size()));
        if (length < folder.size()) {
            folder.resize(length);
            return folder;
        }
        folder.resize(length);
    }
}

template <typename Char>
std::basic_string<Char> Joined(std::basic_string<Char> folder, const std::basic_string<Char>& file_name) {
    if (!folder.empty() && folder.back() != Char('\\')) folder += Char('\\');
    return folder + file_name;
}
}  // namespace

std::wstring SystemToolPath(const std::wstring& file_name) {
    return Joined(SystemFolder<wchar_t>(GetSystemDirectoryW), file_name);
}

std::string SystemToolPathA(const std::string& file_name) {
    return Joined(SystemFolder<char>(GetSystemDirectoryA), file_name);
}
