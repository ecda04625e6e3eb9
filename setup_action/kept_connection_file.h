#pragma once
// The one place the installer asks "Save"'s rule for an existing Kavlo.rdp.
#include <string>

// Whether the Kavlo.rdp at `path` stays as it is when the settings for `server` are stored: "Save" keeps a file an
// organisation signed for that server, and so does the first install. A file that is not there is not kept.
bool KeepsConnectionFileAt(const std::wstring& path, const std::wstring& server);
