// Kavlo.rdp on disk, in the current folder.
#include "platform/files.h"
#include "platform/text.h"
#include "settings/connection_file.h"

namespace {
constexpr unsigned kUtf8CodePage = 65001;
// A connection file is a few kilobytes; a larger one is not read to find out what it is.
constexpr std::size_t kLargestConnectionFile = std::size_t{1024} * 1024;
}  // namespace

std::vector<std::uint8_t> EncodeConnectionFile(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    if (ActiveCodePage() == kUtf8CodePage) bytes = {0xEF, 0xBB, 0xBF};
    const std::string converted = WideToAnsi(text);
    bytes.insert(bytes.end(), converted.begin(), converted.end());
    return bytes;
}

void WriteConnectionFile(const std::wstring& text, const std::wstring& path) {
    WriteFileSafely(path, EncodeConnectionFile(text));
}

std::optional<std::vector<std::uint8_t>> ReadConnectionFile(const std::wstring& path) {
    return ReadWholeFile(path, kLargestConnectionFile);
}

std::optional<std::wstring> ConnectionFileText(const std::wstring& path) {
    const FileContent file = ReadFileContent(path, kLargestConnectionFile);
    if (!file.bytes) return std::nullopt;
    return DecodeText(*file.bytes, EncodingOfTextFile(*file.bytes), AnsiToWide);
}

bool KeepsConnectionFile(std::span<const std::uint8_t> old_bytes, std::wstring_view server) {
    return JudgeExistingConnectionFile(old_bytes, server, SystemSignatureVerifier(), AnsiToWide).keep;
}

bool KeepsConnectionFileAt(const std::wstring& path, std::wstring_view server) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadConnectionFile(path);
    return bytes && KeepsConnectionFile(*bytes, server);
}
