// The settings file: any bytes read without a crash or a hang (a damaged file may fail only with a Failure), and a
// value the writer writes reads back exactly.
#include "fuzz/fuzz_text.h"
#include "platform/failure.h"
#include "settings/ini_file.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (unsigned char c : bytes) text += static_cast<wchar_t>(c);
    return text;
}

IniConventions Conventions() {
    return {Latin1, [](std::wstring_view) -> std::optional<std::wstring> { return std::nullopt; },
            [](std::wstring_view) -> std::optional<std::wstring> { return std::nullopt; }};
}

void ReadAnything(const std::vector<std::uint8_t>& bytes) {
    try {
        IniReader reader(bytes, Conventions());
        reader.Start();
        std::vector<std::wstring> keys;
        reader.ReadProperties(L"Edit1", L"TcxPropertiesStoreComponent", keys);
        for (const std::wstring& key : keys) reader.ReadProperty(L"Edit1", L"TcxPropertiesStoreComponent", key);
    } catch (const Failure&) {}
}

void WriteAndReadBack(const std::wstring& value) {
    IniWriter writer(std::nullopt, true, Latin1);
    writer.Start();
    writer.Erase(L"Edit1");
    writer.BeginWriteObject(L"Edit1", L"TcxPropertiesStoreComponent");
    writer.WriteProperty(L"Edit1", L"TcxPropertiesStoreComponent", L"Text", value);
    IniReader reader(writer.Finish(), Conventions());
    reader.Start();
    const IniValue read = reader.ReadProperty(L"Edit1", L"TcxPropertiesStoreComponent", L"Text");
    if (read.kind != IniValueKind::Text || read.text != value) std::abort();
}

// Only CR LF is escaped in the file (as \n), as the format has it: a lone CR or LF, which no edit box of the
// program gives, is left out of the values written.
std::wstring WithoutLoneLineBreaks(const std::wstring& text) {
    std::wstring kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            kept += L"\r\n";
            ++i;
        } else if (text[i] != L'\r' && text[i] != L'\n') {
            kept += text[i];
        }
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadAnything(std::vector<std::uint8_t>(data, data + size));
    WriteAndReadBack(WithoutLoneLineBreaks(WideTextOf(data, size)));
    return 0;
}
