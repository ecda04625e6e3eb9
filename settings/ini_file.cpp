#include "settings/ini_file.h"

#include "platform/ascii_case.h"
#include "platform/blank_text.h"
#include "platform/failure.h"

#include <algorithm>
#include <limits>

namespace {

const wchar_t kInvalidUtf8[] = L"No mapping for the Unicode character exists in the target multi-byte code page";

wchar_t FoldChar(wchar_t c) {
    if (c < 0x80) return AsciiUpper(c);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);     // à..þ
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<wchar_t>(c - 0x20);  // α..ω, not final sigma
    if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 0x20);                // а..я
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);                // ѐ..џ
    return c;
}

// Replaces every occurrence of the ASCII `pattern`, letter case ignored.
std::wstring ReplaceIgnoringCase(std::wstring_view text, std::wstring_view pattern, std::wstring_view replacement) {
    std::wstring result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool match = text.size() - i >= pattern.size();
        for (std::size_t k = 0; match && k < pattern.size(); ++k)
            match = AsciiUpper(text[i + k]) == AsciiUpper(pattern[k]);
        if (match) {
            result += replacement;
            i += pattern.size();
        } else {
            result += text[i++];
        }
    }
    return result;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

IniSection* FindSection(std::vector<IniSection>& sections, std::wstring_view name) {
    const std::wstring folded = FoldIniName(name);
    for (IniSection& section : sections) {
        if (section.name.size() == name.size() && FoldIniName(section.name) == folded) return &section;
    }
    return nullptr;
}

const wchar_t kMain[] = L"Main";
const wchar_t kVersion[] = L"Version";

}  // namespace

std::wstring DecodeIniBytes(const std::vector<std::uint8_t>& bytes, const AnsiDecoder& decode_ansi) {
    auto text = DecodeText(bytes, EncodingByMark(bytes), decode_ansi);
    if (!text) throw Failure(kInvalidUtf8);
    return std::move(*text);
}

std::vector<std::uint8_t> EncodeUtf8WithMark(std::wstring_view text) {
    std::vector<std::uint8_t> bytes{0xEF, 0xBB, 0xBF};
    bytes.reserve(3 + text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            bytes.push_back(static_cast<std::uint8_t>(code));
        } else if (code < 0x800) {
            bytes.push_back(static_cast<std::uint8_t>(0xC0 | code >> 6));
            bytes.push_back(static_cast<std::uint8_t>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            bytes.push_back(static_cast<std::uint8_t>(0xE0 | code >> 12));
            bytes.push_back(static_cast<std::uint8_t>(0x80 | (code >> 6 & 0x3F)));
            bytes.push_back(static_cast<std::uint8_t>(0x80 | (code & 0x3F)));
        } else {
            bytes.push_back(static_cast<std::uint8_t>(0xF0 | code >> 18));
            bytes.push_back(static_cast<std::uint8_t>(0x80 | (code >> 12 & 0x3F)));
            bytes.push_back(static_cast<std::uint8_t>(0x80 | (code >> 6 & 0x3F)));
            bytes.push_back(static_cast<std::uint8_t>(0x80 | (code & 0x3F)));
        }
    }
    return bytes;
}

std::wstring FoldIniName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) c = FoldChar(c);
    return folded;
}

std::optional<std::int32_t> ParseIniInteger(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    int base = 10;
    if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        base = 16, ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16, i += 2;
    }
    if (i == text.size()) return std::nullopt;
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0 || digit >= base) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::wstring EncodeIniText(std::wstring_view text) {
    std::wstring encoded = L"\"";
    encoded.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\') {
            encoded += L"\\\\";
        } else if (text[i] == L'\r' || text[i] == L'\n') {
            // A lone CR or LF, which "Save" refuses, is still written as a line break, never raw: a value can never
            // add a line to the file.
            encoded += L"\\n";
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (text[i] == L'\t') {
            encoded += L"\\t";
        } else {
            encoded += text[i];
        }
    }
    encoded += L'"';
    return encoded;
}

std::wstring DecodeIniText(std::wstring_view inner, int version) {
    if (version == 0) return ReplaceIgnoringCase(ReplaceIgnoringCase(inner, L" \\n", L"\r\n"), L"\\\\n", L"\\n");
    if (version != 1 && version != 2) return std::wstring(inner);
    std::wstring text;
    text.reserve(inner.size());
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] != L'\\') {
            text += inner[i];
        } else if (i + 1 < inner.size()) {
            const wchar_t next = inner[++i];
            text += next == L'n' ? L"\r\n" : next == L't' ? L"\t" : L"\\";
        }
    }
    return text;
}

IniValue ReadIniValue(std::wstring_view raw, int version, const IniConventions& conventions) {
    if (raw.size() >= 2 && raw.front() == L'"' && raw.back() == L'"') {
        return {IniValueKind::Text, DecodeIniText(raw.substr(1, raw.size() - 2), version)};
    }
    if (raw.empty()) return {};
    if (const auto integer = ParseIniInteger(raw)) return {IniValueKind::Integer, std::to_wstring(*integer)};
    if (conventions.float_text) {
        if (auto text = conventions.float_text(raw)) return {IniValueKind::Float, std::move(*text)};
    }
    if (conventions.date_time_text) {
        if (auto text = conventions.date_time_text(raw)) return {IniValueKind::DateTime, std::move(*text)};
    }
    return {IniValueKind::Text, std::wstring(raw)};
}

std::vector<IniSection> ParseIniText(std::wstring_view text) {
    std::vector<IniSection> sections;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring_view line = Trimmed(text.substr(pos, end - pos));
        pos = end;
        if (end < text.size()) {
            pos = end + 1;
            if (text[end] == L'\r' && pos < text.size() && text[pos] == L'\n') ++pos;
        }

        if (line.empty() || line.front() == L';') continue;
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            sections.push_back({std::wstring(Trimmed(line.substr(1, line.size() - 2))), {}});
            continue;
        }
        if (sections.empty()) continue;
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            sections.back().lines.push_back({false, {}, std::wstring(line)});
        } else {
            sections.back().lines.push_back(
                {true, std::wstring(Trimmed(line.substr(0, equals))), std::wstring(Trimmed(line.substr(equals + 1)))});
        }
    }
    return sections;
}

IniReader::IniReader(const std::optional<std::vector<std::uint8_t>>& content, IniConventions conventions)
    : conventions_(std::move(conventions)) {
    if (!content) return;
    sections_ = ParseIniText(DecodeIniBytes(*content, conventions_.decode_ansi));
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        const auto [slot, added] = index_.try_emplace(FoldIniName(sections_[s].name));
        if (!added) continue;
        slot->second.section = s;
        const std::vector<IniLine>& lines = sections_[s].lines;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            if (lines[l].has_key) slot->second.keys.try_emplace(FoldIniName(lines[l].key), l);
        }
    }
}

const IniReader::Index* IniReader::Find(const std::wstring& section_name) const {
    const auto found = index_.find(FoldIniName(section_name));
    return found == index_.end() ? nullptr : &found->second;
}

void IniReader::ReadVersion() {
    version_ = -1;
    const Index* main = Find(kMain);
    if (main == nullptr) return;
    const auto entry = main->keys.find(FoldIniName(kVersion));
    if (entry == main->keys.end()) return;
    if (const auto version = ParseIniInteger(sections_[main->section].lines[entry->second].value)) version_ = *version;
}

void IniReader::ReadProperties(const std::wstring& object_name, const std::wstring& class_name,
                               std::vector<std::wstring>& properties) const {
    properties.clear();
    const Index* section = Find(object_name + L": " + class_name);
    if (section == nullptr) return;
    for (const IniLine& line : sections_[section->section].lines) {
        if (line.has_key) properties.push_back(line.key);
    }
}

IniValue IniReader::ReadProperty(const std::wstring& object_name, const std::wstring& class_name,
                                 const std::wstring& name) const {
    const Index* section = Find(object_name + L": " + class_name);
    if (section == nullptr) return {};
    const auto entry = section->keys.find(FoldIniName(name));
    if (entry == section->keys.end()) return {};
    return ReadIniValue(sections_[section->section].lines[entry->second].value, version_, conventions_);
}

IniWriter::IniWriter(const std::optional<std::vector<std::uint8_t>>& content, bool recreate,
                     const AnsiDecoder& decode_ansi) {
    if (content) sections_ = ParseIniText(DecodeIniBytes(*content, decode_ansi));
    if (recreate) sections_.clear();
}

IniSection& IniWriter::SectionNamed(const std::wstring& name) {
    if (IniSection* section = FindSection(sections_, name)) return *section;
    return sections_.emplace_back(IniSection{name, {}});
}

void IniWriter::SetEntry(IniSection& section, const std::wstring& key, const std::wstring& value) {
    const std::wstring folded = FoldIniName(key);
    for (IniLine& line : section.lines) {
        if (line.has_key && line.key.size() == key.size() && FoldIniName(line.key) == folded) {
            line = {true, key, value};
            return;
        }
    }
    section.lines.push_back({true, key, value});
}

void IniWriter::WriteVersion() { SetEntry(SectionNamed(kMain), kVersion, L"2"); }

void IniWriter::Erase(const std::wstring& object_name) {
    const std::wstring prefix = AsciiUppered(object_name);
    std::erase_if(sections_, [&prefix](const IniSection& section) {
        return section.name.size() > prefix.size() && AsciiUppered(section.name.substr(0, prefix.size())) == prefix &&
               (section.name[prefix.size()] == L':' || section.name[prefix.size()] == L'/');
    });
}

void IniWriter::BeginWriteObject(const std::wstring& object_name, const std::wstring& class_name) {
    sections_.push_back({object_name + L": " + class_name, {IniLine{true, {}, {}}}});
}

void IniWriter::WriteProperty(const std::wstring& object_name, const std::wstring& class_name, const std::wstring& name,
                              const std::wstring& value) {
    SetEntry(SectionNamed(object_name + L": " + class_name), name, EncodeIniText(value));
}

std::vector<std::uint8_t> IniWriter::Finish() const {
    std::wstring text;
    for (const IniSection& section : sections_) {
        text += L'[';
        text += section.name;
        text += L"]\r\n";
        for (const IniLine& line : section.lines) {
            if (line.has_key) {
                text += line.key;
                text += L'=';
            }
            text += line.value;
            text += L"\r\n";
        }
        text += L"\r\n";
    }
    return EncodeUtf8WithMark(text);
}
