// The rule that keeps a signed Kavlo.rdp, as a table. The signatures are made by the tests' own signer
// (tests/support/test_signer.h): real ones, checked by crypt32, in the Windows build; a stand-in natively.
#include "settings/connection_file.h"
#include "tests/support/latin1.h"
#include "tests/support/test_signer.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Encoding { Ansi, Utf8WithMark, Utf8, Utf16LeWithMark, Utf16Le, Utf16BeWithMark, Utf16Be };
constexpr Encoding kEncodings[] = {
    Encoding::Ansi,    Encoding::Utf8WithMark,    Encoding::Utf8,   Encoding::Utf16LeWithMark,
    Encoding::Utf16Le, Encoding::Utf16BeWithMark, Encoding::Utf16Be};
const char* NameOf(Encoding encoding) {
    constexpr const char* kNames[] = {"ANSI",      "UTF-8 with mark",     "UTF-8",    "UTF-16 LE with mark",
                                      "UTF-16 LE", "UTF-16 BE with mark", "UTF-16 BE"};
    return kNames[static_cast<int>(encoding)];
}

// A Latin-1 text's bytes in the encoding.
Bytes Encoded(std::string_view latin1, Encoding encoding) {
    Bytes bytes;
    switch (encoding) {
        case Encoding::Ansi:
            return Bytes(latin1.begin(), latin1.end());
        case Encoding::Utf8WithMark:
            bytes = {0xEF, 0xBB, 0xBF};
            [[fallthrough]];
        case Encoding::Utf8:
            for (unsigned char c : latin1) {
                if (c < 0x80) {
                    bytes.push_back(c);
                } else {
                    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(0xC0 | c >> 6),
                                               static_cast<std::uint8_t>(0x80 | (c & 0x3F))});
                }
            }
            return bytes;
        case Encoding::Utf16LeWithMark:
            bytes = {0xFF, 0xFE};
            [[fallthrough]];
        case Encoding::Utf16Le:
            for (unsigned char c : latin1) bytes.insert(bytes.end(), {c, 0});
            return bytes;
        case Encoding::Utf16BeWithMark:
            bytes = {0xFE, 0xFF};
            [[fallthrough]];
        case Encoding::Utf16Be:
            for (unsigned char c : latin1) bytes.insert(bytes.end(), {0, c});
            return bytes;
    }
    return bytes;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Every setting's name with each word's first letter in capitals, as some signers and editors write them.
std::string NamesInCapitals(std::string_view lines) {
    std::string text;
    bool in_name = true, word_start = true;
    for (char c : lines) {
        if (c == '\n') {
            in_name = word_start = true;
        } else if (c == ':') {
            in_name = false;
        } else if (in_name && word_start && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
        if (c != '\n') word_start = c == ' ';
        text += c;
    }
    return text;
}

std::string ReasonText(ConnectionFileReason reason) {
    const std::wstring_view text = ConnectionFileReasonText(reason);
    return std::string(text.begin(), text.end());  // ASCII
}

ConnectionFileJudgement Judge(const Bytes& bytes, std::wstring_view server) {
    return JudgeExistingConnectionFile(bytes, server, TestSignatureVerifier(), Latin1);
}

// --- Cases chosen one by one

const std::string kLines =
    "screen mode id:i:2\r\n"
    "full address:s:rdp.example.test\r\n"
    "alternate full address:s:rdp.example.test\r\n"
    "alternate shell:s:caf\xE9\r\n"
    "redirectprinters:i:1\r\n";
const std::string kScope = "Full Address,Alternate Full Address,Alternate Shell,RedirectPrinters";

struct Case {
    const char* name;
    Bytes existing;
    std::wstring server;
    ConnectionFileReason reason;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<Case> ChosenCases() {
    using enum ConnectionFileReason;
    const std::string signed_text = SignedLikeRdpsign(kLines, kScope);
    const auto ansi = [](const std::string& text) { return Encoded(text, Encoding::Ansi); };
    const std::wstring server = L"rdp.example.test";
    // A signature that holds, but for other lines; and one cut short.
    const std::string other_signature =
        SignedLikeRdpsign(Replaced(kLines, "redirectprinters:i:1", "redirectprinters:i:0"), kScope);
    const std::string signature_line = signed_text.substr(signed_text.find("signature:s:"));
    std::string cut = signed_text;
    cut.replace(cut.size() - 20, 18, "");
    return {
        {"signed, UTF-16 with a mark", Encoded(signed_text, Encoding::Utf16LeWithMark), server, SignedForThisServer},
        {"signed, ANSI", ansi(signed_text), server, SignedForThisServer},
        {"signature in 64-character pieces", ansi(SignedLikeRdpsign(kLines, kScope, true)), server,
         SignedForThisServer},
        {"server typed in other letter case", ansi(signed_text), L"RDP.Example.TEST", SignedForThisServer},
        {"default port typed in the field", ansi(signed_text), L"rdp.example.test:3389", SignedForThisServer},
        {"default port written in the file",
         ansi(SignedLikeRdpsign(Replaced(kLines, "example.test\r\n", "example.test:3389\r\n"), kScope)), server,
         SignedForThisServer},
        {"blanks around the typed server", ansi(signed_text), L" rdp.example.test ", SignedForThisServer},
        {"the last line without its end", ansi(signed_text.substr(0, signed_text.size() - 2)), server,
         SignedForThisServer},
        {"scope line named in capitals", ansi(SignedLikeRdpsign(kLines, kScope, false, "SignScope")), server,
         SignedForThisServer},

        {"another server", ansi(signed_text), L"other.example.test", OtherServer},
        {"another port", ansi(signed_text), L"rdp.example.test:3390", OtherServer},
        {"a scoped line changed after signing", ansi(Replaced(signed_text, "caf\xE9", "cafe")), server, SignatureFails},
        {"the address changed after signing", ansi(Replaced(signed_text, "rdp.example.test", "evil.example.test")),
         L"evil.example.test", SignatureFails},
        {"an alternate address changed after signing",
         ansi(Replaced(signed_text, "alternate full address:s:rdp", "alternate full address:s:evil")), server,
         OtherServer},
        {"an alternate address added after signing, outside the scope",
         ansi(SignedLikeRdpsign("full address:s:rdp.example.test\r\n", "Full Address") +
              "alternate full address:s:evil.example.test\r\n"),
         server, OtherServer},
        {"the signature of other lines",
         ansi(Replaced(signed_text, signature_line, other_signature.substr(other_signature.find("signature:s:")))),
         server, SignatureFails},
        {"a made-up signature", ansi(Replaced(signed_text, signature_line, "signature:s:AQABAAEAAAA=\r\n")), server,
         MalformedSignature},
        {"a signature cut short", ansi(cut), server, MalformedSignature},
        {"a signature that is not base64", ansi(Replaced(signed_text, "signature:s:", "signature:s:*")), server,
         MalformedSignature},
        {"unsigned", ansi(kLines), server, NotSigned},
        {"a signature without its scope", ansi(Replaced(signed_text, "signscope:s:", "x:s:")), server, NotSigned},
        {"a scope that leaves the address out", ansi(SignedLikeRdpsign(kLines, "Alternate Shell,RedirectPrinters")),
         server, ScopeWithoutAddress},
        {"a scope naming a missing setting", ansi(Replaced(signed_text, "RedirectPrinters", "RedirectDrives")), server,
         ScopeIncomplete},
        {"a scope naming the address twice", ansi(Replaced(signed_text, "Alternate Shell", "full address")), server,
         ScopeIncomplete},
        {"a second address in other letter case", ansi(signed_text + "Full Address:s:evil.example.test\r\n"), server,
         ConflictingSettings},
        {"a line after a lone CR",
         ansi(Replaced(signed_text, "redirectprinters:i:1\r\n", "redirectprinters:i:1\rfull address:s:evil\r\n")),
         server, ConflictingSettings},
        {"a blank server", ansi(signed_text), L"  ", NoServer},
        {"a server breaking its line", ansi(signed_text), L"rdp.example.test\r\nredirectdrives:i:1", NoServer},
        {"invalid UTF-8 after the mark", Bytes{0xEF, 0xBB, 0xBF, 0xC3, 0x28}, server, NotText},
        {"an empty file", Bytes{}, server, NotSigned},
    };
}

class SignedConnectionFile : public testing::TestWithParam<Case> {};

TEST_P(SignedConnectionFile, KeepsOnlyAVerifiedFileForTheSavedServer) {
    const ConnectionFileJudgement judgement = Judge(GetParam().existing, GetParam().server);
    EXPECT_EQ(judgement.reason, GetParam().reason) << ReasonText(judgement.reason);
    EXPECT_EQ(judgement.keep, GetParam().reason == ConnectionFileReason::SignedForThisServer);
}

INSTANTIATE_TEST_SUITE_P(Save, SignedConnectionFile, testing::ValuesIn(ChosenCases()));

// --- Every form together: encodings x line ends x letter case of the names x what the file says

struct Form {
    const char* name;
    std::string lines;     // before signing, each ended by CR LF
    std::string scope;     // what the signature covers
    std::string appended;  // lines added after signing
    std::wstring server;   // as typed in the field
    bool keep;
};

const std::string kHead = "screen mode id:i:2\r\n";
const std::string kTail = "alternate shell:s:caf\xE9\r\nredirectprinters:i:1\r\n";
std::string Around(std::string_view addresses) { return kHead + std::string(addresses) + kTail; }

const Form kForms[] = {
    // Where Full Address stands in the scope.
    {"address first in the scope", Around("full address:s:rdp.example.test\r\n"),
     "Full Address,Alternate Shell,RedirectPrinters", "", L"rdp.example.test", true},
    {"address in the middle of the scope", Around("full address:s:rdp.example.test\r\n"),
     "Alternate Shell,Full Address,Screen Mode Id", "", L"rdp.example.test", true},
    {"address last in the scope", Around("full address:s:rdp.example.test\r\n"),
     "Screen Mode Id,Alternate Shell,Full Address", "", L"rdp.example.test", true},
    {"address alone in the scope", Around("full address:s:rdp.example.test\r\n"), "Full Address", "",
     L"rdp.example.test", true},
    {"address outside the scope", Around("full address:s:rdp.example.test\r\n"), "Alternate Shell", "",
     L"rdp.example.test", false},
    // The address as the client compares it.
    {"host in other letter case", Around("full address:s:RDP.Example.Test\r\n"), "Full Address", "",
     L"rdp.example.TEST", true},
    {"default port in the file", Around("full address:s:rdp.example.test:3389\r\n"), "Full Address", "",
     L"rdp.example.test", true},
    {"default port in the field", Around("full address:s:rdp.example.test\r\n"), "Full Address", "",
     L"rdp.example.test:3389", true},
    {"default port on a line of its own", Around("full address:s:rdp.example.test\r\nserver port:i:3389\r\n"),
     "Full Address,Server Port", "", L"rdp.example.test:3389", true},
    {"other port on a line of its own", Around("full address:s:rdp.example.test\r\nserver port:i:4000\r\n"),
     "Full Address,Server Port", "", L"rdp.example.test", false},
    {"the same other port in the field", Around("full address:s:rdp.example.test\r\nserver port:i:4000\r\n"),
     "Full Address,Server Port", "", L"rdp.example.test:4000", true},
    {"a port in the address wins over the line",
     Around("full address:s:rdp.example.test:3389\r\nserver port:i:4000\r\n"), "Full Address,Server Port", "",
     L"rdp.example.test", true},
    {"other port", Around("full address:s:rdp.example.test:3390\r\n"), "Full Address", "", L"rdp.example.test", false},
    {"other host", Around("full address:s:rdp.example.test\r\n"), "Full Address", "", L"rdp2.example.test", false},
    {"IPv6 address with its port", Around("full address:s:[fd00::5]:3389\r\n"), "Full Address", "", L"[FD00::5]", true},
    // The alternate address.
    {"alternate address equal",
     Around("full address:s:rdp.example.test\r\nalternate full address:s:rdp.example.test\r\n"),
     "Full Address,Alternate Full Address", "", L"rdp.example.test", true},
    {"alternate address other", Around("full address:s:rdp.example.test\r\nalternate full address:s:evil.example\r\n"),
     "Full Address,Alternate Full Address", "", L"rdp.example.test", false},
    {"alternate address other, outside the scope", Around("full address:s:rdp.example.test\r\n"), "Full Address",
     "alternate full address:s:evil.example\r\n", L"rdp.example.test", false},
    // Names that stand twice.
    {"the address twice, the same", Around("full address:s:rdp.example.test\r\n"), "Full Address",
     "full address:s:rdp.example.test\r\n", L"rdp.example.test", true},
    {"the address twice, another", Around("full address:s:rdp.example.test\r\n"), "Full Address",
     "full address:s:evil.example\r\n", L"rdp.example.test", false},
    {"a scoped setting twice, another value", Around("full address:s:rdp.example.test\r\n"),
     "Full Address,RedirectPrinters", "redirectprinters:i:0\r\n", L"rdp.example.test", false},
};

enum class LineEnd { CrLf, Lf, Cr };
constexpr std::pair<LineEnd, const char*> kLineEnds[] = {
    {LineEnd::CrLf, "CR LF"}, {LineEnd::Lf, "LF"}, {LineEnd::Cr, "CR"}};

std::string WithLineEnds(const std::string& text, LineEnd end) {
    if (end == LineEnd::CrLf) return text;
    return Replaced(text, "\r\n", end == LineEnd::Lf ? "\n" : "\r");
}

TEST(SignedConnectionFileForms, EveryFormIsJudgedAsTheClientReadsIt) {
    for (const bool capitals : {false, true}) {
        for (const Form& form : kForms) {
            // The names' letter case is part of what is signed, so it is chosen before signing.
            const std::string lines = capitals ? NamesInCapitals(form.lines) : form.lines;
            std::string text = SignedLikeRdpsign(lines, form.scope, false, capitals ? "SignScope" : "signscope") +
                               (capitals ? NamesInCapitals(form.appended) : form.appended);
            if (capitals) text = Replaced(text, "\r\nsignature:s:", "\r\nSignature:s:");
            for (const auto& [end, end_name] : kLineEnds) {
                for (const Encoding encoding : kEncodings) {
                    SCOPED_TRACE(std::string(form.name) + ", " + (capitals ? "names in capitals" : "names as rdpsign") +
                                 ", " + end_name + ", " + NameOf(encoding));
                    const ConnectionFileJudgement judgement =
                        Judge(Encoded(WithLineEnds(text, end), encoding), form.server);
                    EXPECT_EQ(judgement.keep, form.keep) << ReasonText(judgement.reason);
                }
            }
        }
    }
}

}  // namespace
