#pragma once
// The "Kavlo.rdp" file the remote desktop client opens.
#include <cstdint>
#include <string>
#include <vector>

// The text in the active ANSI code page; UTF-8 files start with the byte order mark.
std::vector<std::uint8_t> EncodeConnectionFile(const std::wstring& text);

// Writes "Kavlo.rdp" in the current directory.
void WriteConnectionFile(const std::wstring& text);

// Whether the "Kavlo.rdp" in the current directory is one an organisation signed for `server`, which "Save" leaves
// as it is. A file that cannot be read is not: the template is written over it as before, or the write says why not.
bool SignedConnectionFileFor(const std::wstring& server);
