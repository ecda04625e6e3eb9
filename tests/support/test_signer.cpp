#include "tests/support/test_signer.h"

#include "tests/support/latin1.h"

#include <stdexcept>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

std::string Base64(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t group = bytes[i] << 16 | (left > 1 ? bytes[i + 1] << 8 : 0) | (left > 2 ? bytes[i + 2] : 0);
        text += kDigits[group >> 18 & 63];
        text += kDigits[group >> 12 & 63];
        text += left > 1 ? kDigits[group >> 6 & 63] : '=';
        text += left > 2 ? kDigits[group & 63] : '=';
    }
    return text;
}

void AppendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// The line of the file whose name is `name`, as it stands.
std::string_view LineNamed(std::string_view lines, std::string_view name) {
    for (std::size_t from = 0; from < lines.size();) {
        const std::size_t end = lines.find("\r\n", from);
        const std::string_view line = lines.substr(from, end - from);
        if (SameName(line.substr(0, line.find(':')), name)) return line;
        if (end == std::string_view::npos) break;
        from = end + 2;
    }
    throw std::logic_error("the scope names a line the test file lacks: " + std::string(name));
}

}  // namespace

std::string RdpsignSignatureValue(std::span<const std::uint8_t> signature, bool in_pieces) {
    std::vector<std::uint8_t> blob;
    AppendLittleEndian(blob, 0x00010001);
    AppendLittleEndian(blob, 1);
    AppendLittleEndian(blob, static_cast<std::uint32_t>(signature.size()));
    blob.insert(blob.end(), signature.begin(), signature.end());
    const std::string text = Base64(blob);
    if (!in_pieces) return text;
    std::string pieces;
    for (std::size_t i = 0; i < text.size(); i += 64) pieces += text.substr(i, 64) + "  ";
    return pieces;
}

std::string SignedLikeRdpsign(std::string_view lines, std::string_view scope, bool in_pieces,
                              std::string_view signscope_name, const AnsiDecoder& read_as) {
    std::string message;
    for (std::size_t from = 0;;) {
        const std::size_t comma = scope.find(',', from);
        message += std::string(LineNamed(lines, scope.substr(from, comma - from))) + "\r\n";
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
    message += "signscope:s:" + std::string(scope) + "\r\n";
    const std::wstring text = read_as ? read_as(message) : Latin1(message);
    std::vector<std::uint8_t> utf16;
    for (wchar_t c : text)
        utf16.insert(utf16.end(), {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
    utf16.insert(utf16.end(), {0, 0});
    return std::string(lines) + std::string(signscope_name) + ":s:" + std::string(scope) +
           "\r\nsignature:s:" + RdpsignSignatureValue(TestSignature(utf16), in_pieces) + "\r\n";
}
