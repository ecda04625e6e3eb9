#include "platform/text_decoding.h"

#include "tests/support/latin1.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(TextFileEncoding, ByItsMarkElseByItsBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::size_t mark_length;
        std::wstring text;
    };
    using enum TextEncoding;
    const Case cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBFk\xC3\xA9", Utf8, 3, L"k\u00E9"},
        {"UTF-16 LE mark", std::string("\xFF\xFEk\0", 4), Utf16Le, 2, L"k"},
        {"UTF-16 BE mark", std::string("\xFE\xFF\0k", 4), Utf16Be, 2, L"k"},
        // Without a mark, NULs tell UTF-16 and where they stand its byte order.
        {"UTF-16 LE", std::string("a\0b\0", 4), Utf16Le, 0, L"ab"},
        {"UTF-16 BE", std::string("\0a\0b", 4), Utf16Be, 0, L"ab"},
        {"UTF-16 LE with a character of U+xx00",
         std::string("\0\x06"
                     "a\0b\0",
                     6),
         Utf16Le, 0, L"\u0600ab"},
        {"valid UTF-8", "k\xC3\xA9", Utf8, 0, L"k\u00E9"},
        {"ASCII", "key:s:value", Utf8, 0, L"key:s:value"},
        {"not UTF-8: the code page", "caf\xE9", Ansi, 0, L"caf\u00E9"},
        {"an overlong form: the code page", "\xC0\xAF", Ansi, 0, L"\u00C0\u00AF"},
        {"empty", "", Utf8, 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = BytesOf(c.bytes);
        const DetectedEncoding detected = EncodingOfTextFile(bytes);
        EXPECT_EQ(detected.encoding, c.encoding);
        EXPECT_EQ(detected.mark_length, c.mark_length);
        EXPECT_EQ(DecodeText(bytes, detected, Latin1), c.text);
    }
}

TEST(TextFileEncoding, TheMarkAloneLeavesUnmarkedBytesToTheCodePage) {
    EXPECT_EQ(EncodingByMark(BytesOf("k\xC3\xA9")).encoding, TextEncoding::Ansi);
    EXPECT_EQ(EncodingByMark(BytesOf(std::string("a\0", 2))).encoding, TextEncoding::Ansi);
    EXPECT_EQ(DecodeText(BytesOf("\xEF\xBB\xBF\xC3("), EncodingByMark(BytesOf("\xEF\xBB\xBF")), Latin1), std::nullopt)
        << "invalid UTF-8 after its mark";
}

}  // namespace
