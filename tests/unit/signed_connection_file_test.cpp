#include "settings/signed_connection_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Stands in for the ANSI code page: Latin-1, byte for character.
std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (unsigned char c : bytes) text += static_cast<wchar_t>(c);
    return text;
}

Bytes Ansi(std::string_view text) { return Bytes(text.begin(), text.end()); }

// FF FE, then each character as two bytes, low first (ASCII and Latin-1 only).
Bytes Utf16Le(std::string_view text) {
    Bytes bytes{0xFF, 0xFE};
    for (unsigned char c : text) bytes.insert(bytes.end(), {c, 0});
    return bytes;
}

Bytes Utf8WithMark(std::string_view text) { return Ansi("\xEF\xBB\xBF" + std::string(text)); }

// A connection file as rdpsign leaves it: the settings, then the scope and the signature.
const std::string kSigned =
    "screen mode id:i:2\r\n"
    "full address:s:rdp.example.test:3389\r\n"
    "redirectprinters:i:1\r\n"
    "signscope:s:Full Address,Server Port,GatewayHostname\r\n"
    "signature:s:AQABAAEAAAA3AgAAMIICMwYJKoZIhvcNAQcCoIICJDCCAiACAQExDTALBglghkgBZQMEAgEw\r\n";
const std::wstring kServer = L"rdp.example.test:3389";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

struct SaveCase {
    const char* name;
    Bytes existing;
    std::wstring server;
    bool keeps;
};
void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SignedConnectionFile : public testing::TestWithParam<SaveCase> {};

TEST_P(SignedConnectionFile, KeepsOnlyASignedFileForTheSameServer) {
    EXPECT_EQ(KeepsSignedConnectionFile(GetParam().existing, GetParam().server, Latin1), GetParam().keeps);
}

INSTANTIATE_TEST_SUITE_P(
    Save, SignedConnectionFile,
    testing::Values(
        SaveCase{"SignedSameServer", Ansi(kSigned), kServer, true},
        SaveCase{"SignedOtherServer", Ansi(kSigned), L"other.example.test:3389", false},
        SaveCase{"Unsigned", Ansi(kSigned.substr(0, kSigned.find("signscope"))), kServer, false},
        SaveCase{"SignedUtf16SameServer", Utf16Le(kSigned), kServer, true},
        SaveCase{"SignedUtf16OtherServer", Utf16Le(kSigned), L"other.example.test", false},
        SaveCase{"SignedUtf8WithMarkSameServer", Utf8WithMark(kSigned), kServer, true},
        // Lines ended by LF alone, and a last line without an end.
        SaveCase{"LineFeedsOnly", Ansi(Replaced(Replaced(kSigned, "\r\n", "\n"), "\r\n", "\n")), kServer, true},
        SaveCase{"LastLineUnended", Ansi(kSigned.substr(0, kSigned.size() - 2)), kServer, true},
        // The server as typed: blanks, port and letter case count.
        SaveCase{"ServerWithoutPort", Ansi(kSigned), L"rdp.example.test", false},
        SaveCase{"ServerWithTrailingSpace", Ansi(kSigned), kServer + L" ", false},
        SaveCase{"ServerInCapitals", Ansi(kSigned), L"RDP.EXAMPLE.TEST:3389", false},
        SaveCase{"BlankServer", Ansi(Replaced(kSigned, "rdp.example.test:3389", "")), L"", false},
        SaveCase{"ServerBreakingTheLine", Ansi(kSigned), kServer + L"\r\nredirectdrives:i:1", false},
        // A file in the ANSI code page: its letters through the decoder.
        SaveCase{"AnsiLettersThroughTheDecoder", Ansi(Replaced(kSigned, "rdp.example.test", "r\xE9seau")),
                 L"r\u00E9seau:3389", true},
        // Only one of the two signature lines, or an empty signature.
        SaveCase{"ScopeWithoutSignature", Ansi(kSigned.substr(0, kSigned.find("signature"))), kServer, false},
        SaveCase{"SignatureWithoutScope", Ansi(Replaced(kSigned, "signscope:s:", "x:s:")), kServer, false},
        SaveCase{"EmptySignature", Ansi(kSigned.substr(0, kSigned.find("signature")) + "signature:s:\r\n"), kServer,
                 false},
        // A scope that leaves the address out does not vouch for it.
        SaveCase{"ScopeWithoutAddress", Ansi(Replaced(kSigned, "Full Address,", "")), kServer, false},
        // Names exactly as rdpsign writes them; anything else is left to the template.
        SaveCase{"AddressNameInCapitals", Ansi(Replaced(kSigned, "full address:s:", "Full Address:s:")), kServer,
                 false},
        SaveCase{"AddressIndented", Ansi(Replaced(kSigned, "full address:s:", " full address:s:")), kServer, false},
        // Two addresses: which one the client would use is not this program's to guess.
        SaveCase{"TwoAddresses", Ansi(kSigned + "full address:s:rdp.example.test:3389\r\n"), kServer, false},
        SaveCase{"EmptyFile", Bytes{}, kServer, false},
        // After the UTF-8 mark, bytes that are not UTF-8.
        SaveCase{"InvalidUtf8", Utf8WithMark(Replaced(kSigned, "rdp", "\xC3(")), kServer, false}),
    [](const testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

}  // namespace
