#pragma once
// The text of "setup_a.ini": decoding its bytes, its sections and entries, the value escapes, and writing it back.
// Pure: takes and returns values; what depends on the user's system comes in through IniConventions.
#include "platform/text_decoding.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// How the user's system reads what the file leaves open.
struct IniConventions {
    AnsiDecoder decode_ansi;                                                       // bytes of a file without a mark
    std::function<std::optional<std::wstring>(std::wstring_view)> float_text;      // nullopt: not a number
    std::function<std::optional<std::wstring>(std::wstring_view)> date_time_text;  // nullopt: not a date or time
};

// Text of the file by its byte-order mark: UTF-8, UTF-16 LE or BE, else the ANSI code page through `decode_ansi`.
// Invalid UTF-8 after the mark: Failure. UTF-16 code units pass as they are; an odd last byte is ignored.
std::wstring DecodeIniBytes(const std::vector<std::uint8_t>& bytes, const AnsiDecoder& decode_ansi);

// The mark EF BB BF and the text in UTF-8; a lone surrogate becomes U+FFFD.
std::vector<std::uint8_t> EncodeUtf8WithMark(std::wstring_view text);

// Names of sections and keys compare ignoring letter case: ASCII, Latin-1, basic Greek and Cyrillic letters.
std::wstring FoldIniName(std::wstring_view name);

// [spaces] [+|-] decimal digits, or hexadecimal digits after "$", "x" or "0x"; within 32-bit signed range.
std::optional<std::int32_t> ParseIniInteger(std::wstring_view text);

// A text as written after "=": backslashes doubled, CR LF as \n, TAB as \t, in double quotes. A lone CR or LF is
// written as \n too (it reads back as CR LF): no value ever holds a raw line break in the file.
std::wstring EncodeIniText(std::wstring_view text);

// The text between the quotes of a quoted value, read by the file's version.
std::wstring DecodeIniText(std::wstring_view inner, int version);

enum class IniValueKind { Integer, Float, DateTime, Text };
struct IniValue {
    IniValueKind kind = IniValueKind::Text;
    std::wstring
        text;  // as the value is assigned to a text: an integer's decimal digits, a number or date in the locale
    bool operator==(const IniValue&) const = default;
};

// A value as it stands after "=" (trimmed), read by the file's version.
IniValue ReadIniValue(std::wstring_view raw, int version, const IniConventions& conventions);

// Sections and their lines as read: comments and empty lines dropped, lines before the first section ignored.
struct IniLine {
    bool has_key = false;  // false: a line without "=", kept in Value
    std::wstring key;
    std::wstring value;
};
struct IniSection {
    std::wstring name;
    std::vector<IniLine> lines;
};
std::vector<IniSection> ParseIniText(std::wstring_view text);

class IniReader {
public:
    IniReader(const std::optional<std::vector<std::uint8_t>>& content, IniConventions conventions);

    // Reads the version: entry "Version" of section "Main" as an integer, else -1.
    void ReadVersion();
    int Version() const { return version_; }

    // The keys of the object's section in file order, the empty key included; nothing when there is no section.
    void ReadProperties(const std::wstring& object_name, const std::wstring& class_name,
                        std::vector<std::wstring>& properties) const;
    // The first entry's value; a missing entry reads as the empty text.
    IniValue ReadProperty(const std::wstring& object_name, const std::wstring& class_name,
                          const std::wstring& name) const;

private:
    struct Index {
        std::size_t section;
        std::unordered_map<std::wstring, std::size_t> keys;  // folded key -> first line holding it
    };
    const Index* Find(const std::wstring& section_name) const;

    IniConventions conventions_;
    std::vector<IniSection> sections_;
    std::unordered_map<std::wstring, Index> index_;  // folded section name -> first section with it
    int version_ = -1;
};

class IniWriter {
public:
    // Starts from the file's content read as by IniReader (failures propagate); recreate drops it all.
    IniWriter(const std::optional<std::vector<std::uint8_t>>& content, bool recreate, const AnsiDecoder& decode_ansi);

    // Sets Main/Version=2: the existing entry replaced in place, else appended.
    void WriteVersion();
    // Removes every section named after the object: its name, then ':' or '/' (ASCII letter case ignored).
    void Erase(const std::wstring& object_name);
    void BeginWriteObject(const std::wstring& object_name, const std::wstring& class_name);
    // Sets the entry to the encoded text: replaced in place, else appended.
    void WriteProperty(const std::wstring& object_name, const std::wstring& class_name, const std::wstring& name,
                       const std::wstring& value);
    // The whole file: UTF-8 with mark, every line ending in CR LF, an empty line after every section.
    std::vector<std::uint8_t> Finish() const;

private:
    IniSection& SectionNamed(const std::wstring& name);
    static void SetEntry(IniSection& section, const std::wstring& key, const std::wstring& value);

    std::vector<IniSection> sections_;
};
