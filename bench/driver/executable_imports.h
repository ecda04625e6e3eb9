#pragma once
// The DLLs an executable imports, read from its import table.
#include <cstdint>
#include <string>
#include <vector>

// The names in the import directory of a PE32+ image, in file order. Throws std::runtime_error when the bytes
// are not such an image.
std::vector<std::string> ImportedDllNames(const std::vector<std::uint8_t>& image);
