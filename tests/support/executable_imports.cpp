#include "tests/support/executable_imports.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace {

class ImageReader {
public:
    explicit ImageReader(const std::vector<std::uint8_t>& image) : image_(image) {}

    std::uint32_t U32(std::size_t offset) const { return static_cast<std::uint32_t>(Bytes(offset, 4, 0)); }
    std::uint16_t U16(std::size_t offset) const { return static_cast<std::uint16_t>(Bytes(offset, 2, 0)); }

    std::string CString(std::size_t offset) const {
        std::string text;
        for (; offset < image_.size() && image_[offset] != 0; ++offset) text += static_cast<char>(image_[offset]);
        if (offset >= image_.size()) throw std::runtime_error("a DLL name runs past the end of the image");
        return text;
    }

    // The file offset of a relative virtual address, through the section table.
    std::size_t FileOffset(std::uint32_t rva, std::size_t sections, unsigned count) const {
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t header = sections + i * 40;
            const std::uint32_t virtual_size = U32(header + 8), virtual_address = U32(header + 12);
            const std::uint32_t raw_size = U32(header + 16), raw_offset = U32(header + 20);
            const std::uint32_t size = virtual_size ? virtual_size : raw_size;
            if (rva >= virtual_address && rva < virtual_address + size) return raw_offset + (rva - virtual_address);
        }
        throw std::runtime_error("an import points outside every section");
    }

private:
    std::uint64_t Bytes(std::size_t offset, std::size_t count, std::uint64_t value) const {
        if (offset + count > image_.size()) throw std::runtime_error("the image ends too early");
        for (std::size_t i = count; i-- > 0;) value = value << 8 | image_[offset + i];
        return value;
    }
    const std::vector<std::uint8_t>& image_;
};

}  // namespace

std::vector<std::string> ImportedDllNames(const std::vector<std::uint8_t>& image) {
    const ImageReader reader(image);
    if (reader.U16(0) != 0x5A4D) throw std::runtime_error("not an executable (no MZ header)");
    const std::size_t pe = reader.U32(0x3C);
    if (reader.U32(pe) != 0x00004550) throw std::runtime_error("not a PE image");
    const unsigned section_count = reader.U16(pe + 6);
    const std::size_t optional = pe + 24;
    if (reader.U16(optional) != 0x20B) throw std::runtime_error("not a 64-bit (PE32+) image");
    const std::size_t sections = optional + reader.U16(pe + 20);
    const std::uint32_t import_rva = reader.U32(optional + 112 + 8);  // data directory 1: imports
    std::vector<std::string> names;
    if (import_rva == 0) return names;
    for (std::size_t entry = reader.FileOffset(import_rva, sections, section_count);; entry += 20) {
        const std::uint32_t name_rva = reader.U32(entry + 12);
        if (name_rva == 0) break;
        names.push_back(reader.CString(reader.FileOffset(name_rva, sections, section_count)));
    }
    return names;
}

bool LoadsOnlyFromSystem(const std::string& dll) {
    // HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs, the names both Windows 7 and 10/11 list.
    static const char* const kKnownDlls[] = {
        "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll",    "imagehlp.dll", "imm32.dll",
        "kernel32.dll", "msctf.dll",   "msvcrt.dll",   "normaliz.dll", "nsi.dll",      "ole32.dll",
        "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "sechost.dll",  "setupapi.dll", "shell32.dll",
        "shlwapi.dll",  "user32.dll",  "wldap32.dll",  "ws2_32.dll",   "ntdll.dll",    "comctl32.dll"};
    std::string name = dll;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (name.rfind("api-ms-win-", 0) == 0 || name.rfind("ext-ms-win-", 0) == 0) return true;
    return std::find(std::begin(kKnownDlls), std::end(kKnownDlls), name) != std::end(kKnownDlls);
}
