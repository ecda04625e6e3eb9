#include "setup_action/kept_connection_file.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/signed_connection_file.h"

namespace {
// As "Save" reads it: a signed connection file is a few kilobytes.
constexpr std::size_t kLargestConnectionFile = std::size_t{1024} * 1024;
}  // namespace

bool KeepsConnectionFileAt(const std::wstring& path, const std::wstring& server) {
    std::optional<std::vector<std::uint8_t>> bytes;
    try {
        bytes = ReadWholeFile(path, kLargestConnectionFile);
    } catch (const Failure&) {
        return false;  // as "Save" does: the template is written over it, or the write says why not
    }
    return bytes && KeepsSignedConnectionFile(*bytes, server, [](std::string_view ansi) { return AnsiToWide(ansi); });
}
