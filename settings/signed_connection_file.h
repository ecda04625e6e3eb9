#pragma once
// Whether "Save" keeps an existing Kavlo.rdp that an organisation has signed (with rdpsign) instead of writing the
// template over it: rewriting would only throw the signature away.
#include "settings/ini_file.h"

#include <cstdint>
#include <string_view>
#include <vector>

// True when the file's bytes carry a signature (one "signscope:s:" line whose scope names Full Address, and one
// non-empty "signature:s:" line) and its one "full address:s:" line holds exactly `server`. The bytes are read by
// their byte-order mark (UTF-16 LE as rdpsign may leave them, UTF-16 BE, UTF-8), else in the ANSI code page through
// `decode_ansi`. Names match as rdpsign writes them, letter case included. Anything else, a blank server, a server
// that would break its line or bytes that do not decode, answers false: the template is written as before.
bool KeepsSignedConnectionFile(const std::vector<std::uint8_t>& existing_bytes, std::wstring_view server,
                               const AnsiDecoder& decode_ansi);
