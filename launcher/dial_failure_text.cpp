#include "launcher/dial_failure_text.h"

#include "platform/blank_text.h"
#include "platform/quoted_value.h"

namespace {
std::wstring RasFailureText(std::wstring_view entry, std::wstring_view could_not, unsigned long error,
                            std::wstring_view windows_text) {
    windows_text = WithoutTrailingWhiteSpace(windows_text);
    std::wstring text =
        L"The VPN connection \"" + QuotedValue(entry) + L"\" could not be " + std::wstring(could_not) + L": ";
    if (windows_text.empty()) return text + L"error " + std::to_wstring(error) + L".";
    text += windows_text;
    if (text.back() != L'.') text += L'.';
    return text + L" (error " + std::to_wstring(error) + L").";
}

constexpr unsigned long kNoSuchEntry = 623;
constexpr unsigned long kNotConnected = 668;
}  // namespace

std::wstring DialFailureText(std::wstring_view entry, unsigned long error, std::wstring_view windows_text,
                             DialSignIn sign_in) {
    return RasFailureText(entry, L"dialled", error, windows_text) + L" " + DialAdvice(error, sign_in);
}

std::wstring HangUpFailureText(std::wstring_view entry, unsigned long error, std::wstring_view windows_text) {
    return RasFailureText(entry, L"hung up", error, windows_text);
}

std::wstring DialStoppedText(std::wstring_view entry) {
    return L"The VPN connection \"" + QuotedValue(entry) +
           L"\" could not be dialled: rasdial did not finish within two minutes and was stopped.";
}

std::wstring HangUpStoppedText(std::wstring_view entry) {
    return L"The VPN connection \"" + QuotedValue(entry) +
           L"\" could not be hung up: rasdial did not finish within 30 seconds and was stopped.";
}

bool HangUpFailed(unsigned long exit_code) {
    return exit_code != 0 && exit_code != kNotConnected && exit_code != kNoSuchEntry;
}
