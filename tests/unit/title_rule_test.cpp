#include "app/title_rule.h"

#include <gtest/gtest.h>

namespace {
// Stands in for the system's lower-casing: the capitals of ASCII and Latin-1, which the table's paths hold.
std::wstring StandInLower(std::wstring text) {
    for (wchar_t& c : text) {
        if ((c >= L'A' && c <= L'Z') || (c >= L'\u00C0' && c <= L'\u00DE' && c != L'\u00D7')) c += 0x20;
    }
    return text;
}

struct TitleCase {
    std::wstring path;
    std::wstring title;
};

std::wstring LongPath() {
    // Only the first 255 characters are read: 240 of folder, then 15 of the name, so the extension is lost too.
    std::wstring path = L"C:\\" + std::wstring(236, L'd') + L"\\";
    return path + L"KAVLO_CONNECT_LONG.exe";
}
}  // namespace

TEST(TitleRuleTest, DerivesTheTitleFromTheExecutablePath) {
    const TitleCase cases[] = {
        {L"C:\\Program Files\\Kavlo\\Kavlo_Connect.exe", L"Kavlo_connect"},
        {L"C:\\Tools\\MyApp.exe", L"Myapp"},
        {L"C:\\Tools\\Net.Tools.exe", L"Net"},
        {L"Kavlo_Connect.exe", L"Kavlo_connect"},  // no folder at all
        {L"C:\\Tools\\.exe", L""},
        {L"D:\\A.B\\noextension",
         L"noextension"},  // full stops in folders do not count; the first letter keeps its case
        {L"C:\\Apps\\ÄPFEL ÖL.exe", L"Äpfel öl"},
        {L"C:\\Apps\\اتصال.exe", L"اتصال"},
        {LongPath(), L"Kavlo_connect_l"},
    };
    for (const TitleCase& c : cases) EXPECT_EQ(ApplicationTitle(c.path, StandInLower), c.title);
}
