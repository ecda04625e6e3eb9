#include "settings/connection_file.h"

#include "platform/ascii_case.h"
#include "platform/blank_text.h"

namespace {
constexpr std::wstring_view kDefaultAddressLine = L"full address:s:192.168.1.1:7777";
constexpr std::wstring_view kAddressKey = L"full address:s:";
}  // namespace

std::wstring GenerateConnectionText(const std::wstring& template_text, const std::wstring& server) {
    if (IsBlank(server)) return template_text;
    const std::wstring address_line = std::wstring(kAddressKey) + server;
    std::wstring text;
    std::size_t from = 0;
    for (auto found = template_text.find(kDefaultAddressLine); found != std::wstring::npos;
         found = template_text.find(kDefaultAddressLine, from)) {
        text.append(template_text, from, found - from);
        text += address_line;
        from = found + kDefaultAddressLine.size();
    }
    text.append(template_text, from);
    return text;
}

bool BreaksConnectionLine(std::wstring_view server) {
    return server.find_first_of(L"\r\n\v\f\u0085\u2028\u2029") != std::wstring_view::npos;
}

std::wstring FoldConnectionName(std::wstring_view name) { return AsciiLowered(Trimmed(name)); }

std::optional<ConnectionSettings> ConnectionSettings::Read(std::span<const std::uint8_t> bytes,
                                                           const AnsiDecoder& decode_ansi) {
    const auto decoded = DecodeText(bytes, EncodingOfTextFile(bytes), decode_ansi);
    if (!decoded) return std::nullopt;
    ConnectionSettings read;
    const std::wstring_view text = *decoded;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find_first_of(L"\r\n", from);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring_view line = text.substr(from, end - from);
        from = end + (text.substr(end, 2) == L"\r\n" ? 2 : 1);

        const std::size_t name_end = line.find(L':');
        if (name_end == std::wstring_view::npos) continue;
        const std::size_t type_end = line.find(L':', name_end + 1);
        if (type_end == std::wstring_view::npos) continue;
        std::wstring name = FoldConnectionName(line.substr(0, name_end));
        const auto [found, added] = read.by_name_.try_emplace(std::move(name), read.settings_.size());
        if (added) {
            read.settings_.push_back({std::wstring(line), std::wstring(line.substr(type_end + 1))});
            continue;
        }
        // The same name again: harmless only with the same type and value.
        const std::wstring& first = read.settings_[found->second].line;
        const std::size_t first_name_end = first.find(L':');
        if (std::wstring_view(first).substr(first_name_end) != line.substr(name_end)) read.conflicting_ = true;
    }
    return read;
}

const ConnectionSetting* ConnectionSettings::Find(std::wstring_view folded_name) const {
    const auto found = by_name_.find(std::wstring(folded_name));
    return found == by_name_.end() ? nullptr : &settings_[found->second];
}

std::optional<unsigned> ParseRdpPort(std::wstring_view text) {
    const std::wstring_view digits = Trimmed(text);
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned port = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        port = port * 10 + static_cast<unsigned>(c - L'0');
    }
    if (port == 0 || port > 65535) return std::nullopt;
    return port;
}

std::optional<ServerAddress> ParseServerAddress(std::wstring_view text, unsigned port_otherwise) {
    text = Trimmed(text);
    std::wstring_view host = text;
    std::optional<unsigned> port = port_otherwise;
    if (text.starts_with(L'[')) {
        const std::size_t close = text.find(L']');
        if (close == std::wstring_view::npos) return std::nullopt;
        host = text.substr(1, close - 1);
        const std::wstring_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != L':') return std::nullopt;
            port = ParseRdpPort(rest.substr(1));
        }
    } else if (const std::size_t colon = text.find(L':');
               colon != std::wstring_view::npos && text.find(L':', colon + 1) == std::wstring_view::npos) {
        host = text.substr(0, colon);
        port = ParseRdpPort(text.substr(colon + 1));
    }  // two colons or more, unbracketed: an IPv6 address without a port
    host = Trimmed(host);
    if (host.empty() || !port) return std::nullopt;
    return ServerAddress{AsciiLowered(host), *port};
}
