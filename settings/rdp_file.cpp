#include "settings/rdp_file.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/signed_connection_file.h"

namespace {
constexpr unsigned kUtf8CodePage = 65001;
// A signed connection file is a few kilobytes; a larger one is not read to find out.
constexpr std::size_t kLargestConnectionFile = std::size_t{1024} * 1024;
}  // namespace

std::vector<std::uint8_t> EncodeConnectionFile(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    if (ActiveCodePage() == kUtf8CodePage) bytes = {0xEF, 0xBB, 0xBF};
    const std::string converted = WideToAnsi(text);
    bytes.insert(bytes.end(), converted.begin(), converted.end());
    return bytes;
}

void WriteConnectionFile(const std::wstring& text) { WriteFileSafely(L"Kavlo.rdp", EncodeConnectionFile(text)); }

bool SignedConnectionFileFor(const std::wstring& server) {
    std::optional<std::vector<std::uint8_t>> bytes;
    try {
        bytes = ReadWholeFile(L"Kavlo.rdp", kLargestConnectionFile);
    } catch (const Failure&) {
        return false;
    }
    return bytes && KeepsSignedConnectionFile(*bytes, server, [](std::string_view ansi) { return AnsiToWide(ansi); });
}
