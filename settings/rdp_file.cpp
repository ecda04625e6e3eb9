#include "settings/rdp_file.h"

#include "platform/files.h"
#include "platform/text.h"

namespace {
constexpr unsigned kUtf8CodePage = 65001;
}

std::vector<std::uint8_t> EncodeConnectionFile(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    if (ActiveCodePage() == kUtf8CodePage) bytes = {0xEF, 0xBB, 0xBF};
    const std::string converted = WideToAnsi(text);
    bytes.insert(bytes.end(), converted.begin(), converted.end());
    return bytes;
}

void WriteConnectionFile(const std::wstring& text) { WriteFileSafely(L"Kavlo.rdp", EncodeConnectionFile(text)); }
