#include "settings/lone_line_break.h"

namespace {
bool HoldsLoneLineBreak(const std::wstring& value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == L'\r' && i + 1 < value.size() && value[i + 1] == L'\n') {
            ++i;
        } else if (value[i] == L'\r' || value[i] == L'\n') {
            return true;
        }
    }
    return false;
}
}  // namespace

std::optional<std::wstring> LoneLineBreakRefusal(const std::wstring& wifi_network, const std::wstring& entry,
                                                 const std::wstring& user, const std::wstring& password) {
    const struct {
        const std::wstring& value;
        const wchar_t* what;
    } fields[] = {
        {wifi_network, L"The name in \"نام شبکه WIFI\""},
        {entry, L"The name in \"نام اتصال VPN\""},
        {user, L"The user in \"VPN User\""},
        {password, L"The password in \"VPN password\""},
    };
    for (const auto& field : fields) {
        if (HoldsLoneLineBreak(field.value)) {
            return std::wstring(field.what) +
                   L" holds a line break that the settings file cannot keep as typed. Type it again on one line";
        }
    }
    return std::nullopt;
}
