#pragma once
// A whole file's bytes read and written with the standard library, apart from the code under test; a missing file
// reads as empty.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
