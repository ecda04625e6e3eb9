#include "setup_action/kept_connection_file.h"

#include "settings/connection_file.h"

// As "Save" does: a file that is there but cannot be read stops the step (its failure names the file), so a signed
// file is never written over unseen.
bool KeepsConnectionFileAt(const std::wstring& path, const std::wstring& server) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadConnectionFile(path);
    return bytes && KeepsConnectionFile(*bytes, server);
}
