#include "settings/ini_file.h"

#include "platform/failure.h"
#include "tests/support/latin1.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Stands in for the user's locale, whatever the machine's: a number is digits and points, a date is anything with a
// digit in it, so that the order of the attempts shows.
IniConventions StandInConventions() {
    return {Latin1,
            [](std::wstring_view text) -> std::optional<std::wstring> {
                if (text.empty() || text.find_first_not_of(L"0123456789.") != std::wstring_view::npos)
                    return std::nullopt;
                return L"number " + std::wstring(text);
            },
            [](std::wstring_view text) -> std::optional<std::wstring> {
                if (text.find_first_of(L"0123456789") == std::wstring_view::npos) return std::nullopt;
                return L"date " + std::wstring(text);
            }};
}

std::string Utf8Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(IniBytesTest, DecodesByMark) {
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "a\xC3\xA9",
         L"a\u00E9"},
        {"\xEF\xBB\xBF\xF0\x9F\x98\x80", L"\xD83D\xDE00"},
        // the first and last code point of two, three and four bytes, and the two sides of the surrogates
        {"\xEF\xBB\xBF\xC2\x80\xDF\xBF", L"\x0080\x07FF"},
        {"\xEF\xBB\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF", L"\x0800\xD7FF\xE000\xFFFF"},
        {"\xEF\xBB\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", L"\xD800\xDC00\xDBFF\xDFFF"},
        {std::string("\xFF\xFE"
                     "a\0\xE9\0",
                     6),
         L"a\u00E9"},
        {std::string("\xFE\xFF\0a\0\xE9", 6), L"a\u00E9"},
        {std::string("\xFF\xFE"
                     "a\0b",
                     5),
         L"a"},  // odd last byte ignored
        {std::string("\xFF\xFE\0\xD8"
                     "a\0",
                     6),
         L"\xD800"
         L"a"},  // lone surrogate passes
        {std::string("\xFE\xFF\xDC\0\0a", 6),
         L"\xDC00"
         L"a"},
        {"a\xE9", L"a\u00E9"},  // no mark: the ANSI decoder
        {"\xEF\xBB", L"\u00EF\u00BB"},
        {"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeIniBytes(BytesOf(c.bytes), Latin1), c.text) << c.bytes;
}

TEST(IniBytesTest, RejectsInvalidUtf8AfterMark) {
    const std::string invalid[] = {
        "\x80",
        "\xBF",
        "\xC0\x80",
        "\xC1\xBF",
        "\xC3",
        "\xC3\x41",
        "\xE0\x80\x80",
        "\xE0\x9F\xBF",
        "\xE2\x82",
        "\xED\xA0\x80",
        "\xED\xBF\xBF",
        "\xF0\x80\x80\x80",
        "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\xF8\x88\x80\x80\x80",
        "\xFE",
        "\xFF",
        "ok\xE2\x82\xACthen\xF0\x9F\x98",
    };
    for (const std::string& tail : invalid) {
        try {
            DecodeIniBytes(BytesOf("\xEF\xBB\xBF" + tail), Latin1);
            ADD_FAILURE() << "accepted " << tail;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(),
                      L"No mapping for the Unicode character exists in the target multi-byte code page");
        }
    }
}

TEST(IniBytesTest, EncodesUtf8WithMark) {
    const struct {
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {L"", "\xEF\xBB\xBF"},
        {L"a\u00E9\u20AC",
         "\xEF\xBB\xBF"
         "a\xC3\xA9\xE2\x82\xAC"},
        {L"\xD83D\xDE00", "\xEF\xBB\xBF\xF0\x9F\x98\x80"},
        {L"\xD800"
         L"a\xDC00",
         "\xEF\xBB\xBF\xEF\xBF\xBD"
         "a\xEF\xBF\xBD"},  // lone surrogates
        {L"\xDBFF"
         L"a\xDFFF",
         "\xEF\xBB\xBF\xEF\xBF\xBD"
         "a\xEF\xBF\xBD"},
        // the first and last code point of one, two, three and four bytes, and the two sides of the surrogates
        {L"\x7F\x0080\x07FF\x0800\xD7FF\xE000\xFFFF",
         "\xEF\xBB\xBF\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"},
        {L"\xD800\xDC00\xDBFF\xDFFF", "\xEF\xBB\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        {std::wstring(L"a\0b", 3), std::string("\xEF\xBB\xBF"
                                               "a\0b",
                                               6)},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8Text(EncodeUtf8WithMark(c.text)), c.bytes);
}

TEST(IniNameTest, FoldsTheLetterCaseOfLatinGreekAndCyrillic) {
    const struct {
        std::wstring name;
        std::wstring folded;
    } cases[] = {
        {L"azAZ@[`{", L"AZAZ@[`{"},
        {L"\xE0\xFE\xF7\xDF\xFF\xC0", L"\xC0\xDE\xF7\xDF\xFF\xC0"},              // à þ, not ÷ ß ÿ
        {L"\x3B1\x3C9\x3C2\x3B0\x3CA\x391", L"\x391\x3A9\x3C2\x3B0\x3CA\x391"},  // α ω, not final ς
        {L"\x430\x44F\x450\x45F\x460\x410", L"\x410\x42F\x400\x40F\x460\x410"},  // а я ѐ џ, not ѡ
    };
    for (const auto& c : cases) EXPECT_EQ(FoldIniName(c.name), c.folded) << testing::PrintToString(c.name);
}

TEST(IniValueTest, ParsesIntegers) {
    const struct {
        std::wstring text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {L"007", 7},
        {L"$1F", 31},
        {L"x1f", 31},
        {L"0X1F", 31},
        {L"-$10", -16},
        {L"  42", 42},
        {L"+5", 5},
        {L"0", 0},
        {L"2147483647", 2147483647},
        {L"-2147483648", INT32_MIN},
        {L"-$80000000", INT32_MIN},
        {L"2147483648", std::nullopt},
        {L"$80000000", std::nullopt},
        {L"99999999999999999999", std::nullopt},
        {L"", std::nullopt},
        {L"$", std::nullopt},
        {L"0x", std::nullopt},
        {L"-", std::nullopt},
        {L"1.5", std::nullopt},
        {L"12a", std::nullopt},
        {L"$1G", std::nullopt},
        {L"42 ", std::nullopt},
        {L"- 5", std::nullopt},
        {L"\x0661", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << testing::PrintToString(c.text);
}

TEST(IniValueTest, EncodesTextsAndReadsThemBack) {
    const struct {
        std::wstring text;
        std::wstring written;
    } cases[] = {
        {L"C:\\VPN", L"\"C:\\\\VPN\""},
        {L"a\tb", L"\"a\\tb\""},
        {L" x = y; z ", L"\" x = y; z \""},
        {L"say \"hi\"", L"\"say \"hi\"\""},
        {L"\\n", L"\"\\\\n\""},
        {L"", L"\"\""},
        {L"one\r\ntwo", L"\"one\\ntwo\""},
        {L"[Main] caf\u00E9 \u0627", L"\"[Main] caf\u00E9 \u0627\""},
        {L"\\\r\n\\", L"\"\\\\\\n\\\\\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeIniText(c.text), c.written);
        EXPECT_EQ(ReadIniValue(c.written, 2, StandInConventions()), (IniValue{IniValueKind::Text, c.text}));
    }
}

// "Save" refuses a lone CR or LF; whatever reaches the writer, it never writes one raw, so no value adds a line.
TEST(IniValueTest, ALoneLineBreakIsWrittenAsALineBreakNeverRaw) {
    const struct {
        std::wstring text;
        std::wstring written;
        std::wstring read_back;
    } cases[] = {
        {L"secret\r", L"\"secret\\n\"", L"secret\r\n"},
        {L"secret\n", L"\"secret\\n\"", L"secret\r\n"},
        {L"\n\r", L"\"\\n\\n\"", L"\r\n\r\n"},
        {L"a\r\r\nb", L"\"a\\n\\nb\"", L"a\r\n\r\nb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeIniText(c.text), c.written) << testing::PrintToString(c.text);
        EXPECT_EQ(ReadIniValue(c.written, 2, StandInConventions()), (IniValue{IniValueKind::Text, c.read_back}));
    }
}

TEST(IniWriterTest, AValueWithLoneLineBreaksAddsNoSectionToTheFile) {
    IniWriter writer(std::nullopt, true, Latin1);
    writer.WriteVersion();
    for (const wchar_t* line_break : {L"\r", L"\n"}) {
        writer.BeginWriteObject(L"Edit4", L"TcxPropertiesStoreComponent");
        writer.WriteProperty(
            L"Edit4", L"TcxPropertiesStoreComponent", L"Text",
            std::wstring(line_break) + L"[Edit5: TcxPropertiesStoreComponent]" + line_break + L"Text=\"evil.example\"");
        writer.BeginWriteObject(L"Edit5", L"TcxPropertiesStoreComponent");
        writer.WriteProperty(L"Edit5", L"TcxPropertiesStoreComponent", L"Text", L"10.0.0.5");

        const Bytes written = writer.Finish();
        IniReader reader(written, StandInConventions());
        reader.ReadVersion();
        EXPECT_EQ(reader.ReadProperty(L"Edit5", L"TcxPropertiesStoreComponent", L"Text").text, L"10.0.0.5");
        EXPECT_EQ(reader.ReadProperty(L"Edit4", L"TcxPropertiesStoreComponent", L"Text").text,
                  L"\r\n[Edit5: TcxPropertiesStoreComponent]\r\nText=\"evil.example\"");
        writer.Erase(L"Edit4");
        writer.Erase(L"Edit5");
    }
}

TEST(IniValueTest, DecodesQuotedTextByVersion) {
    const struct {
        std::wstring inner;
        int version;
        std::wstring text;
    } cases[] = {
        {L"a\\nb\\tc", 2, L"a\r\nb\tc"},
        {L"C:\\\\VPN", 2, L"C:\\VPN"},
        {L"a\\qb", 2, L"a\\b"},  // backslash and another character: the character is dropped
        {L"a\\Nb", 2, L"a\\b"},
        {L"end\\", 2, L"end"},
        {L"a\\nb", 1, L"a\r\nb"},
        {L"a \\n b \\N c", 0, L"a\r\n b\r\n c"},
        {L"x\\\\ny\\\\Nz", 0, L"x\\ny\\nz"},
        {L"C:\\\\VPN\\t", 0, L"C:\\\\VPN\\t"},
        {L"C:\\\\VPN\\n", -1, L"C:\\\\VPN\\n"},
        {L"C:\\\\VPN\\n", 3, L"C:\\\\VPN\\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeIniText(c.inner, c.version), c.text) << c.version;
}

TEST(IniValueTest, ReadsUnquotedValuesAsNumberDateOrText) {
    const struct {
        std::wstring raw;
        IniValue value;
    } cases[] = {
        {L"", {IniValueKind::Text, L""}},
        {L"\"\"", {IniValueKind::Text, L""}},
        {L"\"", {IniValueKind::Text, L"\""}},
        {L"\"007\"", {IniValueKind::Text, L"007"}},
        {L"007", {IniValueKind::Integer, L"7"}},
        {L"$1F", {IniValueKind::Integer, L"31"}},
        {L"-0", {IniValueKind::Integer, L"0"}},
        {L"abc", {IniValueKind::Text, L"abc"}},
        {L"True", {IniValueKind::Text, L"True"}},
        {L"1.50", {IniValueKind::Float, L"number 1.50"}},
        {L"3000000000", {IniValueKind::Float, L"number 3000000000"}},
        {L"\"1.50\"", {IniValueKind::Text, L"1.50"}},
        {L"12/31/2024", {IniValueKind::DateTime, L"date 12/31/2024"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadIniValue(c.raw, 2, StandInConventions()), c.value) << testing::PrintToString(c.raw);
}

TEST(IniReaderTest, ReadsSectionsEntriesAndLineEnds) {
    const std::string text =
        "orphan=1\r\n"
        "[Main]\rVersion=2\n"
        "[ Obj: C ]\r\n"
        "  ; a comment\r\n"
        "\t=\t\r\n"
        "\r\n"
        "Key = \"v\" \r\n"
        "loose line\n\n"
        "key=\"duplicate\"\r"
        "Other=\"a=b\"\r\n"
        "[obj: c]\r\n"
        "Key=\"second section\"\r\n";
    IniReader reader(BytesOf("\xEF\xBB\xBF" + text), StandInConventions());
    reader.ReadVersion();
    EXPECT_EQ(reader.Version(), 2);

    std::vector<std::wstring> keys{L"stale"};
    reader.ReadProperties(L"OBJ", L"c", keys);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"", L"Key", L"key", L"Other"}));
    EXPECT_EQ(reader.ReadProperty(L"Obj", L"C", L"KEY").text, L"v");
    EXPECT_EQ(reader.ReadProperty(L"Obj", L"C", L"Other").text, L"a=b");
    EXPECT_EQ(reader.ReadProperty(L"Obj", L"C", L"Missing"), IniValue{});
    EXPECT_EQ(reader.ReadProperty(L"Nobody", L"C", L"Key"), IniValue{});
    reader.ReadProperties(L"orphan", L"", keys);
    EXPECT_TRUE(keys.empty());
}

TEST(IniReaderTest, ReadsTheVersion) {
    const struct {
        std::string text;
        int version;
    } cases[] = {
        {"[Main]\r\nVersion=2\r\n", 2},
        {"[MAIN]\r\nversion = 0\r\n", 0},
        {"[Main]\r\nVersion=$1\r\nVersion=2\r\n", 1},
        {"[Main]\r\nVersion=1\r\n[Main]\r\nVersion=2\r\n", 1},
        {"[Main]\r\nVersion=\"2\"\r\n", -1},
        {"[Main]\r\nVersion=two\r\n", -1},
        {"[Main]\r\n", -1},
        {"Version=2\r\n[Other]\r\nVersion=2\r\n", -1},
        {"", -1},
    };
    for (const auto& c : cases) {
        IniReader reader(BytesOf(c.text), StandInConventions());
        reader.ReadVersion();
        EXPECT_EQ(reader.Version(), c.version) << c.text;
    }
    IniReader empty(std::nullopt, StandInConventions());
    empty.ReadVersion();
    EXPECT_EQ(empty.Version(), -1);
}

const std::string kLoaded =
    "[Main]\r\n; dropped comment\r\n\r\nNote=kept\r\nVERSION=1\r\nTail=kept\r\n"
    "[Edit1: TcxPropertiesStoreComponent]\r\nText=\"old\"\r\n"
    "[Edit10: TcxPropertiesStoreComponent]\r\n=\r\nText=\"ten\"\r\n"
    "[edit1/sub]\r\nA=1\r\n"
    "; dropped comment\r\n"
    "[Edit1 : spaced]\r\nloose line\r\n"
    "[Foreign]\r\n"
    "[]\r\nEmpty=name\r\n";

void WriteEdit1(IniWriter& writer) {
    writer.WriteVersion();
    writer.Erase(L"Edit1");
    writer.BeginWriteObject(L"Edit1", L"TcxPropertiesStoreComponent");
    writer.WriteProperty(L"Edit1", L"TcxPropertiesStoreComponent", L"Text", L"first");
    writer.WriteProperty(L"Edit1", L"TcxPropertiesStoreComponent", L"Hint", L"a\tb");
    writer.WriteProperty(L"Edit1", L"TcxPropertiesStoreComponent", L"TEXT", L"C:\\VPN");
}

TEST(IniWriterTest, UpdatesLoadedContent) {
    IniWriter writer(BytesOf(kLoaded), false, Latin1);
    WriteEdit1(writer);
    EXPECT_EQ(Utf8Text(writer.Finish()),
              "\xEF\xBB\xBF"
              "[Main]\r\nNote=kept\r\nVersion=2\r\nTail=kept\r\n\r\n"
              "[Edit10: TcxPropertiesStoreComponent]\r\n=\r\nText=\"ten\"\r\n\r\n"
              "[Edit1 : spaced]\r\nloose line\r\n\r\n"
              "[Foreign]\r\n\r\n"
              "[]\r\nEmpty=name\r\n\r\n"
              "[Edit1: TcxPropertiesStoreComponent]\r\n=\r\nTEXT=\"C:\\\\VPN\"\r\nHint=\"a\\tb\"\r\n\r\n");
}

TEST(IniWriterTest, ReCreateStartsFromNothing) {
    for (const std::optional<Bytes>& content : {std::optional<Bytes>(BytesOf(kLoaded)), std::optional<Bytes>()}) {
        IniWriter writer(content, true, Latin1);
        WriteEdit1(writer);
        EXPECT_EQ(Utf8Text(writer.Finish()),
                  "\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n"
                  "[Edit1: TcxPropertiesStoreComponent]\r\n=\r\nTEXT=\"C:\\\\VPN\"\r\nHint=\"a\\tb\"\r\n\r\n");
    }
}

TEST(IniWriterTest, LoadingInvalidUtf8Fails) {
    for (bool reCreate : {false, true}) {
        EXPECT_THROW(IniWriter(BytesOf("\xEF\xBB\xBF[Main]\r\n\xC0\xAF"), reCreate, Latin1), Failure);
    }
}

}  // namespace
