// The command lines: whatever the user typed, each parameter comes back as one argument, exactly, when the
// started program splits its command line by Windows' argument rules.
#include "fuzz/fuzz_text.h"
#include "launcher/command_lines.h"
#include "tests/support/argument_splitter.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Expect(const std::wstring& parameters, const std::vector<std::wstring>& values) {
    if (SplitArguments(parameters) != values) std::abort();
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
    // With user and password both empty, the entry goes alone.
    Expect(DialParameters(values[0], values[1], values[2]),
           values[1].empty() && values[2].empty() ? std::vector<std::wstring>{values[0]} : values);
    return 0;
}
