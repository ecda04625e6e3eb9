#pragma once
// The DLLs an executable imports, read from its import table, and which of them Windows loads only from its own
// folder whatever lies beside the program.
#include <cstdint>
#include <string>
#include <vector>

// The names in the import directory of a PE32+ image, in file order. Throws std::runtime_error when the bytes
// are not such an image.
std::vector<std::string> ImportedDllNames(const std::vector<std::uint8_t>& image);

// Whether a DLL of that name is never looked for beside the program: one of Windows' KnownDLLs (on Windows 7 and
// every later version), an API set, or the common controls, which the program's manifest redirects to the side-by-side
// assembly. Any other name is found in the program's folder first, where anyone may have left a file of that name.
bool LoadsOnlyFromSystem(const std::string& dll);
