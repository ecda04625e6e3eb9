#include "settings_file.h"

#include <windows.h>
#include <string_view>

std::optional<std::vector<char>> ReadWholeFilePlainly(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<char> bytes;
    char chunk[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    CloseHandle(file);
    return bytes;
}

std::optional<std::wstring> StoredValue(const std::vector<char>& file, const char* object, const char* key) {
    const std::string_view text(file.data(), file.size());
    std::string section = "[";  // appended piece by piece: "[" + std::string draws a false -Wrestrict from GCC 12
    section.append(object).append(": TcxPropertiesStoreComponent]");
    std::size_t at = text.find(section);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t end = text.find("\n[", at);
    std::string line_start = "\n";
    line_start.append(key).append("=\"");
    at = text.find(line_start, at);
    if (at == std::string_view::npos || at > end) return std::nullopt;
    at += line_start.size();
    const std::size_t close = text.find("\"\r\n", at);
    if (close == std::string_view::npos) return std::nullopt;
    const int length = static_cast<int>(close - at);
    std::wstring value(static_cast<std::size_t>(length), L'\0');
    value.resize(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data() + at, length, value.data(), length)));
    return value;
}
