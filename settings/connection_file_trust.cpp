// The rule that keeps a signed Kavlo.rdp. The signature's format is rdpsign's (Microsoft does not document it;
// public reverse-engineered descriptions of rdpsign do): the "signature" value is base64, blanks inside ignored, of
// a 12-byte header (the little-endian DWORDs 0x00010001 and 1, then the signature's length) and a DER PKCS#7
// SignedData without content. What it signs is UTF-16LE text: each line the "signscope" value names, in the
// scope's order, as it stands in the file, with CR LF after it; then "signscope:s:", the scope and CR LF; then NUL.
#include "platform/blank_text.h"
#include "settings/connection_file.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr std::wstring_view kAddress = L"full address";
constexpr std::wstring_view kAlternateAddress = L"alternate full address";
constexpr std::wstring_view kServerPort = L"server port";
constexpr std::wstring_view kScope = L"signscope";
constexpr std::wstring_view kSignature = L"signature";

constexpr std::uint32_t kHeaderFormat = 0x00010001;
constexpr std::uint32_t kHeaderVersion = 1;
constexpr std::size_t kHeaderSize = 12;

using Bytes = std::vector<std::uint8_t>;

int Base64Digit(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return c - L'A';
    if (c >= L'a' && c <= L'z') return c - L'a' + 26;
    if (c >= L'0' && c <= L'9') return c - L'0' + 52;
    if (c == L'+') return 62;
    if (c == L'/') return 63;
    return -1;
}

// Base64 with blanks anywhere ignored (rdpsign may cut the value into pieces); "=" only as the padding at the end.
std::optional<Bytes> DecodeBase64(std::wstring_view text) {
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t bits = 0;
    int pending = 0, digits = 0, padding = 0;
    for (wchar_t c : text) {
        if (IsSpaceOrControl(c)) continue;
        if (c == L'=') {
            ++padding;
            continue;
        }
        const int digit = Base64Digit(c);
        if (digit < 0 || padding != 0) return std::nullopt;
        ++digits;
        bits = (bits << 6) | static_cast<std::uint32_t>(digit);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> pending));
            bits &= (1u << pending) - 1;
        }
    }
    if (digits % 4 == 1 || padding > 2 || (padding != 0 && (digits + padding) % 4 != 0)) return std::nullopt;
    return bytes;
}

std::uint32_t LittleEndianAt(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The PKCS#7 part of a "signature" value; nullopt when the value is not rdpsign's.
std::optional<Bytes> SignatureOf(std::wstring_view value) {
    auto blob = DecodeBase64(value);
    if (!blob || blob->size() <= kHeaderSize) return std::nullopt;
    if (LittleEndianAt(*blob, 0) != kHeaderFormat || LittleEndianAt(*blob, 4) != kHeaderVersion ||
        LittleEndianAt(*blob, 8) != blob->size() - kHeaderSize)
        return std::nullopt;
    blob->erase(blob->begin(), blob->begin() + kHeaderSize);
    return blob;
}

void AppendUtf16Le(Bytes& bytes, std::wstring_view text) {
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
}

// The scope's names folded, in its order; nullopt when one is empty or stands twice.
std::optional<std::vector<std::wstring>> ScopeNames(std::wstring_view scope) {
    std::vector<std::wstring> names;
    std::unordered_set<std::wstring> seen;
    for (std::size_t from = 0;;) {
        const std::size_t comma = scope.find(L',', from);
        std::wstring name = FoldConnectionName(scope.substr(from, comma - from));
        if (name.empty() || !seen.insert(name).second) return std::nullopt;
        names.push_back(std::move(name));
        if (comma == std::wstring_view::npos) return names;
        from = comma + 1;
    }
}

ConnectionFileJudgement Replace(ConnectionFileReason reason) { return {false, reason}; }

// Every address the client may connect to is `server`.
bool AddressesAre(const ConnectionSettings& settings, const ServerAddress& server) {
    unsigned port_otherwise = kDefaultRdpPort;
    if (const ConnectionSetting* port = settings.Find(kServerPort)) {
        const auto port_number = ParseRdpPort(port->value);
        if (!port_number) return false;
        port_otherwise = *port_number;
    }
    for (std::wstring_view name : {kAddress, kAlternateAddress}) {
        const ConnectionSetting* address = settings.Find(name);
        if (address && ParseServerAddress(address->value, port_otherwise) != server) return false;
    }
    return true;
}

}  // namespace

ConnectionFileJudgement JudgeExistingConnectionFile(std::span<const std::uint8_t> old_bytes, std::wstring_view server,
                                                    const DetachedSignatureVerifier& verifier,
                                                    const AnsiDecoder& decode_ansi) {
    using enum ConnectionFileReason;
    if (BreaksConnectionLine(server)) return Replace(NoServer);
    const auto saved = ParseServerAddress(server, kDefaultRdpPort);
    if (!saved) return Replace(NoServer);

    const auto settings = ConnectionSettings::Read(old_bytes, decode_ansi);
    if (!settings) return Replace(NotText);
    const ConnectionSetting* signature = settings->Find(kSignature);
    const ConnectionSetting* scope = settings->Find(kScope);
    if (!signature || !scope) return Replace(NotSigned);
    if (settings->Conflicting()) return Replace(ConflictingSettings);

    const auto scope_names = ScopeNames(scope->value);
    if (!scope_names) return Replace(ScopeIncomplete);
    if (std::find(scope_names->begin(), scope_names->end(), kAddress) == scope_names->end())
        return Replace(ScopeWithoutAddress);
    Bytes message;
    for (const std::wstring& name : *scope_names) {
        const ConnectionSetting* line = settings->Find(name);
        if (!line) return Replace(ScopeIncomplete);
        AppendUtf16Le(message, line->line);
        AppendUtf16Le(message, L"\r\n");
    }
    if (!AddressesAre(*settings, *saved)) return Replace(OtherServer);

    const auto signed_data = SignatureOf(signature->value);
    if (!signed_data) return Replace(MalformedSignature);
    AppendUtf16Le(message, L"signscope:s:");
    AppendUtf16Le(message, scope->value);
    AppendUtf16Le(message, std::wstring_view(L"\r\n\0", 3));
    if (!verifier.Verifies(*signed_data, message)) return Replace(SignatureFails);
    return {true, SignedForThisServer};
}

bool ConnectionFilePointsAt(std::span<const std::uint8_t> bytes, std::wstring_view server,
                            const AnsiDecoder& decode_ansi) {
    if (BreaksConnectionLine(server)) return false;
    const auto saved = ParseServerAddress(server, kDefaultRdpPort);
    const auto settings = ConnectionSettings::Read(bytes, decode_ansi);
    return saved && settings && !settings->Conflicting() && settings->Find(kAddress) && AddressesAre(*settings, *saved);
}

std::wstring_view ConnectionFileReasonText(ConnectionFileReason reason) {
    switch (reason) {
        case ConnectionFileReason::SignedForThisServer:
            return L"signed for this server: kept";
        case ConnectionFileReason::NoServer:
            return L"the server is blank or not an address";
        case ConnectionFileReason::NotText:
            return L"the file is not text";
        case ConnectionFileReason::NotSigned:
            return L"the file is not signed";
        case ConnectionFileReason::ConflictingSettings:
            return L"a setting stands twice with different values";
        case ConnectionFileReason::ScopeWithoutAddress:
            return L"the signature does not cover the address";
        case ConnectionFileReason::ScopeIncomplete:
            return L"the signature's scope names a setting that is missing or named twice";
        case ConnectionFileReason::OtherServer:
            return L"an address in the file is not this server";
        case ConnectionFileReason::MalformedSignature:
            return L"the signature is not one rdpsign makes";
        case ConnectionFileReason::SignatureFails:
            return L"the signature does not verify";
    }
    return L"";
}
