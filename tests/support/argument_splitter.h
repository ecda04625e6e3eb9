#pragma once
// Reads a command line back into its arguments by the rules Microsoft documents for the C runtime and
// CommandLineToArgvW ("Parsing C++ command-line arguments"), written from those rules alone, apart from the code
// that quotes: blanks and tabs separate arguments outside quotes; 2n backslashes before a quote give n backslashes
// and the quote opens or closes quoting; 2n+1 give n backslashes and a literal quote; other backslashes are literal;
// inside quotes, "" gives a literal quote. No Windows header: the native tests and the fuzzer read back with it.
#include <cstddef>
#include <string>
#include <vector>

// The arguments of `line`, which holds no program name (that first one follows rules of its own).
inline std::vector<std::wstring> SplitArguments(const std::wstring& line) {
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
