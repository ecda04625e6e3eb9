#pragma once
// Kavlo.rdp, the remote desktop connection file: its text made from the template, a file read as the Remote
// Desktop client reads it, and the rule that keeps an organisation's signed file rather than writing the template
// over it. The rules are pure (connection_file.cpp, connection_file_trust.cpp); the file on disk is the last part
// (connection_file_disk.cpp).
#include "platform/signature.h"
#include "platform/text_decoding.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The file's name, in the current folder: "Save" writes it there and "Start" opens it from there.
inline constexpr wchar_t kConnectionFile[] = L"Kavlo.rdp";

// --- Its text from the template

// The template itself when the server is blank; otherwise the template with every default address line pointing
// at the server exactly as typed.
std::wstring GenerateConnectionText(const std::wstring& template_text, const std::wstring& server);

// Whether the server text holds a character that ends a line: CR or LF, or another of Unicode's mandatory line
// breaks (vertical tab, form feed, next line, line and paragraph separator). Each line of the connection file is a
// setting of its own, so the part after such a break would be read as settings the user never chose.
bool BreaksConnectionLine(std::wstring_view server);

// --- A file read as the client reads it

// ASCII letters in lower case, blanks at either end dropped: how the client tells settings' names apart.
std::wstring FoldConnectionName(std::wstring_view name);

struct ConnectionSetting {
    std::wstring line;   // as it stands in the file, without its line end: "name:type:value"
    std::wstring value;  // after the second colon
};

// The settings of a file: "name:type:value" lines, each ended by CR LF, LF or CR; lines without two colons are no
// settings. Decoded as EncodingOfTextFile says.
class ConnectionSettings {
public:
    // nullopt when the bytes are not text: invalid UTF-8 after a UTF-8 mark.
    static std::optional<ConnectionSettings> Read(std::span<const std::uint8_t> bytes, const AnsiDecoder& decode_ansi);

    // The first line of that name (folded, see FoldConnectionName); nullptr when none.
    const ConnectionSetting* Find(std::wstring_view folded_name) const;
    // Some name stands twice with different types or values: which one the client takes is not for this program to
    // guess.
    bool Conflicting() const { return conflicting_; }

private:
    std::vector<ConnectionSetting> settings_;
    std::unordered_map<std::wstring, std::size_t> by_name_;
    bool conflicting_ = false;
};

// Where the client connects: the host, letter case folded, and the port.
struct ServerAddress {
    std::wstring host;
    unsigned port = 0;
    bool operator==(const ServerAddress&) const = default;
};

inline constexpr unsigned kDefaultRdpPort = 3389;

// A port: 1 to 65535 in decimal digits, blanks at either end dropped; nullopt for anything else.
std::optional<unsigned> ParseRdpPort(std::wstring_view text);

// "host", "host:port", "[IPv6]", "[IPv6]:port" or a bare IPv6 address, blanks at either end dropped; without a
// port in the text, `port_otherwise`. nullopt: no host, or a port that is not a number from 1 to 65535.
std::optional<ServerAddress> ParseServerAddress(std::wstring_view text, unsigned port_otherwise);

// --- The rule for a signed file

enum class ConnectionFileReason {
    SignedForThisServer,  // the one answer that keeps the file
    NoServer,             // the server field is blank or would break its line
    NotText,              // invalid UTF-8 after a UTF-8 mark
    NotSigned,            // no signature line, or no scope line
    ConflictingSettings,  // a name stands twice with different values
    ScopeWithoutAddress,  // the signature's scope does not name Full Address
    ScopeIncomplete,      // the scope names a setting the file lacks, or one twice
    OtherServer,          // some address the client may connect to is not the server being saved
    MalformedSignature,   // not base64 of rdpsign's header and a signature
    SignatureFails,       // the signature does not hold for the scoped lines
};

struct ConnectionFileJudgement {
    bool keep = false;
    ConnectionFileReason reason = ConnectionFileReason::NotSigned;
};

// Whether "Save" keeps the old file's bytes for `server` (the server field as typed) instead of writing the
// template: only when the signature verifies over the lines its scope names, the scope names Full Address, and
// every address the client may connect to ("full address", and "alternate full address" wherever it stands) is
// the server as the client compares it: the host without regard to letter case, the port from "host:port", else
// from "server port", else 3389. Pure: the signature check is `verifier`'s, the ANSI code page `decode_ansi`'s; the
// work grows with the bytes' size alone, and the verifier is asked at most once, only when a signature line is
// there.
ConnectionFileJudgement JudgeExistingConnectionFile(std::span<const std::uint8_t> old_bytes, std::wstring_view server,
                                                    const DetachedSignatureVerifier& verifier,
                                                    const AnsiDecoder& decode_ansi);

// Whether the file names a full address and every address the client may connect to is `server`, compared as
// JudgeExistingConnectionFile compares them; its signature is not looked at (the package's bake check, where the
// client will judge the signature).
bool ConnectionFilePointsAt(std::span<const std::uint8_t> bytes, std::wstring_view server,
                            const AnsiDecoder& decode_ansi);

// A sentence for each reason, for logs and checks.
std::wstring_view ConnectionFileReasonText(ConnectionFileReason reason);

// --- The file on disk, in the current folder

// The text in the active ANSI code page; UTF-8 files start with the byte order mark.
std::vector<std::uint8_t> EncodeConnectionFile(const std::wstring& text);

// Writes the text safely (platform/files) over the connection file at `path` (Kavlo.rdp in the current folder unless
// told).
void WriteConnectionFile(const std::wstring& text, const std::wstring& path = kConnectionFile);

// The bytes of the connection file at `path` (Kavlo.rdp in the current folder unless told); nullopt where there is
// none. One that is there but cannot be read, once brief locks have been waited out as for the writes, is a Failure
// naming the file and the reason: "Save" must not write over a signed file it could not look at.
std::optional<std::vector<std::uint8_t>> ReadConnectionFile(const std::wstring& path = kConnectionFile);

// The text of the connection file at `path`, decoded as the client decodes it; nullopt when it cannot be read now
// (its open says why) or is not text.
std::optional<std::wstring> ConnectionFileText(const std::wstring& path);

// JudgeExistingConnectionFile with crypt32's verifier and the ANSI code page.
bool KeepsConnectionFile(std::span<const std::uint8_t> old_bytes, std::wstring_view server);

// Whether the connection file at `path` stays as it is when the settings for `server` are saved: one an organisation
// signed for that server (KeepsConnectionFile). A file that is not there is not kept; one that is there but cannot
// be read is ReadConnectionFile's Failure, so a signed file is never written over unseen.
bool KeepsConnectionFileAt(const std::wstring& path, std::wstring_view server);
