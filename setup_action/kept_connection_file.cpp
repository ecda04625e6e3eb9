#include "setup_action/kept_connection_file.h"

#include "platform/files.h"
#include "settings/connection_file.h"

namespace {
// As "Save" reads it: a signed connection file is a few kilobytes.
constexpr std::size_t kLargestConnectionFile = std::size_t{1024} * 1024;
}  // namespace

// As "Save" does: a file that is there but cannot be read stops the step (its failure names the file), so a signed
// file is never written over unseen.
bool KeepsConnectionFileAt(const std::wstring& path, const std::wstring& server) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, kLargestConnectionFile);
    return bytes && KeepsConnectionFile(*bytes, server);
}
