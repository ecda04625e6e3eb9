#include "launcher/wifi_failure_text.h"

#include "launcher/wifi_advice.h"
#include "platform/blank_text.h"
#include "platform/quoted_value.h"

namespace {
constexpr std::size_t kMostLines = 6;
constexpr std::size_t kMostCharacters = 600;
const wchar_t kNetshStopped[] = L"netsh did not finish within 30 seconds and was stopped.";

std::wstring Reason(unsigned long exit_code, std::wstring_view printed) {
    std::wstring reason;
    std::size_t lines = 0;
    while (!printed.empty() && lines < kMostLines && reason.size() < kMostCharacters) {
        const std::size_t end = printed.find_first_of(L"\r\n");
        const std::wstring_view line = Trimmed(printed.substr(0, end));
        printed.remove_prefix(end == std::wstring_view::npos ? printed.size() : end + 1);
        if (line.empty()) continue;
        if (!reason.empty()) reason += L' ';
        reason += line;
        ++lines;
    }
    if (reason.size() > kMostCharacters) reason = reason.substr(0, kMostCharacters) + L"\u2026";
    if (reason.empty()) return L"netsh ended with exit code " + std::to_wstring(exit_code) + L".";
    return reason;
}

// The advice follows netsh's words as a sentence of its own.
std::wstring WithAdvice(std::wstring text, const std::wstring& advice) {
    if (advice.empty()) return text;
    if (!text.empty() && text.back() != L'.' && text.back() != L'!' && text.back() != L'?' && text.back() != L'\u2026')
        text += L'.';
    return text + L' ' + advice;
}
}  // namespace

std::wstring WifiJoinFailureText(std::wstring_view network, unsigned long exit_code, std::wstring_view printed) {
    return WithAdvice(L"Could not join the Wi-Fi network \"" + QuotedValue(network) + L"\": " +
                          WithVisibleBidiControls(Reason(exit_code, printed)),
                      WifiAdvice(WifiAction::Join, exit_code, printed));
}

std::wstring WifiLeaveFailureText(unsigned long exit_code, std::wstring_view printed) {
    return WithAdvice(L"Could not leave the Wi-Fi network: " + WithVisibleBidiControls(Reason(exit_code, printed)),
                      WifiAdvice(WifiAction::Leave, exit_code, printed));
}

std::wstring WifiJoinStoppedText(std::wstring_view network) {
    return L"Could not join the Wi-Fi network \"" + QuotedValue(network) + L"\": " + kNetshStopped;
}

std::wstring WifiLeaveStoppedText() { return std::wstring(L"Could not leave the Wi-Fi network: ") + kNetshStopped; }
