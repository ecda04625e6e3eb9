#include "launcher/open_failure_text.h"

#include "launcher/settings_menu.h"

namespace {
// What makes Kavlo.rdp, in the order the user does it.
std::wstring HowToWriteIt() {
    return L"open " + std::wstring(kSettingsMenuCommand) +
           L", type the server address IT gave you in \"Server IP\" and press \"Save\"";
}
}  // namespace

std::wstring ConnectionFileFailureText(std::wstring_view full_path, std::wstring_view reason, bool missing) {
    std::wstring text = L"Cannot open \"" + std::wstring(full_path) + L"\": " + std::wstring(reason);
    if (!missing) return text;
    if (!text.empty() && text.back() != L'.') text += L'.';
    return text + L" To make it, " + HowToWriteIt() + L": it is written into this folder";
}

std::wstring MissingServerAddressText() {
    return L"The server address is missing: \"Server IP\" in the settings is empty, so Kavlo.rdp holds only an "
           L"example address, and nothing was opened. To connect, " +
           HowToWriteIt() + L".";
}
