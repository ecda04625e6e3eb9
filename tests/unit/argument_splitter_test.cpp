// The splitter the native tests read command lines back with agrees with Windows' own CommandLineToArgvW on lines of
// every kind the quoting writes (lines with "" inside quotes left out: there the two differ, and nothing writes one).
#include "tests/support/argument_splitter.h"

#include "tests/support/command_line_support.h"

#include <gtest/gtest.h>

TEST(ArgumentSplitter, ReadsAsCommandLineToArgvW) {
    const wchar_t* const lines[] = {
        L"Work ali secret",
        L"  \tspaced \t out  ",
        LR"("" "" x)",
        LR"("VPN Connection" dom\ali C:\folder\)",
        LR"("a\\\"b" "my folder\\" \\\" a\\\\"b c")",
        LR"(say\"hi "open to the end)",
        LR"(ssid="Cafe \"5G\"" name=a" "b)",
    };
    for (const std::wstring line : lines)
        EXPECT_EQ(SplitArguments(line), ArgumentsOf(line)) << testing::PrintToString(line);
}
