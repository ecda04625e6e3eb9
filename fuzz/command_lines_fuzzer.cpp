// The command lines: whatever the user typed, each parameter comes back as one argument, exactly, when the
// started program splits its command line by Windows' argument rules.
#include "fuzz/fuzz_text.h"
#include "launcher/command_lines.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The arguments after the program name, by the rules Microsoft documents for CommandLineToArgvW and the C
// runtime: white space separates arguments outside quotes; 2n backslashes before a quote give n backslashes and the
// quote opens or closes quoting; 2n+1 give n backslashes and a literal quote; other backslashes are literal; inside
// quotes, "" gives a literal quote.
std::vector<std::wstring> ArgumentsOf(const std::wstring& line) {
    std::vector<std::wstring> arguments;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
        if (i == line.size()) return arguments;
        std::wstring argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == L'\\') ++backslashes, ++i;
            if (i < line.size() && line[i] == L'"') {
                argument.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    argument += L'"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    argument += L'"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, L'\\');
                if (backslashes == 0) argument += line[i++];
            }
        }
        arguments.push_back(argument);
    }
}

void Expect(const std::wstring& parameters, const std::vector<std::wstring>& values) {
    if (ArgumentsOf(parameters) != values) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Three values split at the byte 0xFF, each as UTF-16 text; a value has no NUL (a Windows string ends there).
    std::vector<std::wstring> values(3);
    std::size_t value = 0, start = 0;
    for (std::size_t i = 0; i <= size && value < 3; ++i) {
        if (i == size || data[i] == 0xFF) {
            values[value++] = WideTextOf(data + start, i - start);
            start = i + 1;
        }
    }
    for (std::wstring& v : values) std::erase(v, L'\0');
    Expect(QuoteArgument(values[0]), {values[0]});
    Expect(DialParameters(values[0], values[1], values[2]), values);
    return 0;
}
