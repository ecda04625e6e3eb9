// The connection text: whatever server the user types, every line of the template but the address lines comes
// out as it went in.
#include "fuzz/fuzz_text.h"
#include "settings/rdp_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::wstring kTemplate =
    L"screen mode id:i:2\r\n"
    L"full address:s:192.168.1.1:7777\r\n"
    L"session bpp:i:32\r\n"
    L"alternate full address:s:192.168.1.1:7777\r\n"
    L"username:s:\r\n"
    L"prompt for credentials:i:1\r\n";

bool IsAddressLine(const std::wstring& line) {
    return line.starts_with(L"full address:s:") || line.starts_with(L"alternate full address:s:");
}

// The lines that are not address lines, in order; splits at CR LF only.
std::vector<std::wstring> OtherLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L"\r\n", start);
        const std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!IsAddressLine(line)) lines.push_back(line);
        if (end == std::wstring::npos) return lines;
        start = end + 2;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring server = WideTextOf(data, size);
    // A typed server is one line: the box takes no line breaks.
    std::erase_if(server, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
    const std::wstring text = GenerateConnectionText(kTemplate, server);
    if (OtherLines(text) != OtherLines(kTemplate)) std::abort();
    return 0;
}
