// The settings file: any bytes read without a crash or a hang (a damaged file may fail only with a Failure), and a
// value the writer writes reads back exactly, adding no line to the file.
#include "fuzz/fuzz_text.h"
#include "platform/failure.h"
#include "settings/ini_file.h"
#include "tests/support/latin1.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

IniConventions Conventions() {
    return {Latin1, [](std::wstring_view) -> std::optional<std::wstring> { return std::nullopt; },
            [](std::wstring_view) -> std::optional<std::wstring> { return std::nullopt; }};
}

void ReadAnything(const std::vector<std::uint8_t>& bytes) {
    try {
        IniReader reader(bytes, Conventions());
        reader.ReadVersion();
        std::vector<std::wstring> keys;
        reader.ReadProperties(L"Edit1", L"TcxPropertiesStoreComponent", keys);
        for (const std::wstring& key : keys) reader.ReadProperty(L"Edit1", L"TcxPropertiesStoreComponent", key);
    } catch (const Failure&) {}
}

// The format keeps a line break in a value only as CR LF (written \n): a lone CR or LF, which "Save" refuses, is
// written as one too, never raw.
std::wstring WithLineBreaksPaired(const std::wstring& text) {
    std::wstring paired;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            paired += L"\r\n";
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            paired += text[i];
        }
    }
    return paired;
}

// Whatever the value, it reads back (its line breaks as CR LF) and adds no line of its own to the file.
void WriteAndReadBack(const std::wstring& value) {
    IniWriter writer(std::nullopt, true, Latin1);
    writer.WriteVersion();
    writer.Erase(L"Edit1");
    writer.BeginWriteObject(L"Edit1", L"TcxPropertiesStoreComponent");
    writer.WriteProperty(L"Edit1", L"TcxPropertiesStoreComponent", L"Text", value);
    const std::vector<std::uint8_t> file = writer.Finish();
    IniReader reader(file, Conventions());
    reader.ReadVersion();
    const IniValue read = reader.ReadProperty(L"Edit1", L"TcxPropertiesStoreComponent", L"Text");
    if (read.kind != IniValueKind::Text || read.text != WithLineBreaksPaired(value)) std::abort();
    const std::vector<IniSection> sections = ParseIniText(DecodeIniBytes(file, Latin1));
    if (sections.size() != 2 || sections[1].lines.size() != 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadAnything(std::vector<std::uint8_t>(data, data + size));
    WriteAndReadBack(WideTextOf(data, size));
    return 0;
}
