#include "ui/resources.h"

#include "platform/failure.h"

#include <windows.h>

namespace {
HRSRC FindNamed(const std::wstring& name, const wchar_t* type) {
    return FindResourceW(GetModuleHandleW(nullptr), name.c_str(), type);
}
}  // namespace

std::vector<std::uint8_t> LoadResourceBytes(const std::wstring& name, const wchar_t* type) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindNamed(name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw Failure(L"Resource " + name + L" not found");
    auto bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module, found));
}

std::wstring LoadTextResource(const std::wstring& name) {
    std::vector<std::uint8_t> bytes = LoadResourceBytes(name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    size_t skip = (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) ? 3 : 0;
    int size = static_cast<int>(bytes.size() - skip);
    if (size == 0) return {};
    auto text = reinterpret_cast<const char*>(bytes.data() + skip);
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, size, nullptr, 0);
    if (length <= 0) throw Failure(L"Resource " + name + L" is not UTF-8 text");
    std::wstring result(length, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, size, result.data(), length);
    return result;
}
