#include "launcher/command_lines.h"

namespace {
bool NeedsQuotes(const std::wstring& value) {
    return value.empty() || value.find_first_of(L" \t\"") != std::wstring::npos;
}
}  // namespace

std::wstring QuoteArgument(const std::wstring& value) {
    if (!NeedsQuotes(value)) return value;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : value) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each one is doubled and the quote escaped.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, L'\\');  // they come before the closing quote
    quoted += L'"';
    return quoted;
}

std::wstring DialParameters(const std::wstring& entry, const std::wstring& user, const std::wstring& password) {
    if (user.empty() && password.empty()) return QuoteArgument(entry);
    return QuoteArgument(entry) + L' ' + QuoteArgument(user) + L' ' + QuoteArgument(password);
}

std::wstring HangUpEntry(const std::optional<std::wstring>& dialled, const std::wstring& typed) {
    const std::wstring& entry = dialled ? *dialled : typed;
    return entry.empty() ? std::wstring(L"Kavlo") : entry;
}

std::wstring HangUpParameters(const std::wstring& entry) { return QuoteArgument(entry) + L"  /DISCONNECT"; }

std::wstring JoinWifiParameters(const std::wstring& network) {
    std::wstring name = QuoteArgument(network);
    return L"wlan connect ssid=" + name + L" name=" + name;
}
