// The connection text: whatever server the user types, a server that would end its line is refused, and any other
// gives the template with its address line holding the server exactly (a blank one leaves the template as it is).
#include "fuzz/fuzz_text.h"
#include "settings/connection_file.h"
#include "tests/support/rdp_template.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Unicode's mandatory line breaks: CR, LF, vertical tab, form feed, next line, line and paragraph separator.
bool HasLineBreak(const std::wstring& server) {
    constexpr std::wstring_view kBreaks = L"\r\n\v\f\u0085\u2028\u2029";
    return std::any_of(server.begin(), server.end(), [&](wchar_t c) { return kBreaks.find(c) != kBreaks.npos; });
}

// The template with its one address line naming `server`.
std::wstring TemplateWithServer(const std::wstring& server) {
    std::wstring text;
    for (std::size_t i = 0; i < kRdpTemplateLines.size(); ++i) {
        if (i == kRdpAddressLineIndex) {
            text += L"full address:s:" + server;
        } else {
            text.append(kRdpTemplateLines[i].begin(), kRdpTemplateLines[i].end());
        }
        text += L"\r\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring server = WideTextOf(data, size);
    if (BreaksConnectionLine(server) != HasLineBreak(server)) std::abort();
    if (HasLineBreak(server)) return 0;  // refused: no text is made from it
    const bool blank = std::all_of(server.begin(), server.end(), [](wchar_t c) { return c <= L' '; });
    const std::wstring expected = blank ? RdpTemplateText() : TemplateWithServer(server);
    if (GenerateConnectionText(RdpTemplateText(), server) != expected) std::abort();
    return 0;
}
