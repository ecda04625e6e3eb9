// The checks scripts/package makes of the files it is asked to bake in, before it builds anything.
//
//   bake_check SETTINGS [RDP]
//
// Refuses (exit 1) a Kavlo.rdp that does not point at setup_a.ini's server, as "Save" compares them; warns (exit 0)
// of a VPN password in setup_a.ini, which anyone who has the package can read. Files without a byte-order mark are
// read here as Latin-1, where Windows reads them in the user's ANSI code page: alike for the ASCII of addresses.
#include "packaging/bake_check/baked_files.h"
#include "platform/failure.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::vector<std::uint8_t> FileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw Failure(L"cannot read the file");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (const char byte : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return text;
}

std::string Utf8(std::wstring_view text) {
    std::string bytes;
    for (const wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | code >> 6), bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xE0 | code >> 12), bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: bake_check SETTINGS [RDP]\n", stderr);
        return 2;
    }
    BakedSettings settings;
    try {
        settings = ReadBakedSettings(FileBytes(argv[1]), Latin1);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "scripts/package: the program cannot read %s: %s\n", argv[1],
                     Utf8(failure.message()).c_str());
        return 1;
    }
    if (argc == 3) {
        std::vector<std::uint8_t> connection_file;
        try {
            connection_file = FileBytes(argv[2]);
        } catch (const Failure&) {
            std::fprintf(stderr, "scripts/package: cannot read %s\n", argv[2]);
            return 1;
        }
        if (!ConnectionFileIsFor(connection_file, settings.server_address, Latin1)) {
            std::fprintf(stderr,
                         "scripts/package: %s does not point at the server of %s (\"%s\"): its one \"full address\" "
                         "must be exactly that server, as \"Save\" compares them, or the program would open another "
                         "server until the user's first \"Save\". Sign a Kavlo.rdp for that server, or correct "
                         "\"Server IP\" and save again.\n",
                         argv[2], argv[1], Utf8(settings.server_address).c_str());
            return 1;
        }
    }
    if (!settings.vpn_password.empty()) {
        std::fprintf(stderr,
                     "scripts/package: warning: %s holds a VPN password. It is packed as it is, in plain text: anyone "
                     "who has the package can extract it. Leave \"VPN User\" and \"VPN password\" empty and let "
                     "Windows keep the sign-in (docs/administrators.md, \"Passwords\").\n",
                     argv[1]);
    }
    return 0;
}
