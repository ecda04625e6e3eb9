#include "platform/text.h"

#include "platform/failure.h"

#include <windows.h>
#include <climits>

namespace {

int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw Failure(L"Text too long to convert");
    return static_cast<int>(size);
}

std::string FromWide(UINT code_page, std::wstring_view text) {
    if (text.empty()) return {};
    const int length = CheckedLength(text.size());
    const int size = WideCharToMultiByte(code_page, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) throw Failure(L"Cannot convert text");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(code_page, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring ToWide(UINT code_page, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = CheckedLength(bytes.size());
    const int size = MultiByteToWideChar(code_page, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0) throw Failure(L"Cannot convert text");
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(code_page, 0, bytes.data(), length, text.data(), size);
    return text;
}

}  // namespace

unsigned ActiveCodePage() { return GetACP(); }

std::string WideToAnsi(std::wstring_view text) { return FromWide(CP_ACP, text); }
std::wstring AnsiToWide(std::string_view bytes) { return ToWide(CP_ACP, bytes); }
std::wstring OemToWide(std::string_view bytes) { return ToWide(CP_OEMCP, bytes); }
std::string WideToUtf8(std::wstring_view text) { return FromWide(CP_UTF8, text); }
std::wstring Utf8ToWide(std::string_view bytes) { return ToWide(CP_UTF8, bytes); }
