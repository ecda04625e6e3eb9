#include "platform/locale_values.h"

#include "platform/system_library.h"

#include <windows.h>
#include <oleauto.h>

namespace {

// oleaut32.dll is only needed for a file somebody edited by hand, so it is loaded then, not at every start.
struct Automation {
    using NumberFromText = HRESULT(WINAPI*)(OLECHAR*, LCID, ULONG, DOUBLE*);
    using DateFromText = HRESULT(WINAPI*)(OLECHAR*, LCID, ULONG, DATE*);
    using TextFromNumber = HRESULT(WINAPI*)(DOUBLE, LCID, ULONG, BSTR*);
    using TextFromDate = HRESULT(WINAPI*)(DATE, LCID, ULONG, BSTR*);
    using AllocateText = BSTR(WINAPI*)(const OLECHAR*, UINT);
    using FreeText = void(WINAPI*)(BSTR);

    SystemLibrary library{L"oleaut32.dll"};
    NumberFromText R8FromStr = library.Find<NumberFromText>("VarR8FromStr");
    DateFromText DateFromStr = library.Find<DateFromText>("VarDateFromStr");
    TextFromNumber BstrFromR8 = library.Find<TextFromNumber>("VarBstrFromR8");
    TextFromDate BstrFromDate = library.Find<TextFromDate>("VarBstrFromDate");
    AllocateText SysAllocStringLen = library.Find<AllocateText>("SysAllocStringLen");
    FreeText SysFreeString = library.Find<FreeText>("SysFreeString");

    bool Complete() const {
        return R8FromStr && DateFromStr && BstrFromR8 && BstrFromDate && SysAllocStringLen && SysFreeString;
    }
};

const Automation* LoadedAutomation() {
    static const Automation automation;
    return automation.Complete() ? &automation : nullptr;
}

// A BSTR with its owner.
class AutomationText {
public:
    AutomationText(const Automation& automation, BSTR text) : automation_(automation), text_(text) {}
    ~AutomationText() {
        if (text_) automation_.SysFreeString(text_);
    }
    AutomationText(const AutomationText&) = delete;
    AutomationText& operator=(const AutomationText&) = delete;
    BSTR get() const { return text_; }
    BSTR* put() { return &text_; }

private:
    const Automation& automation_;
    BSTR text_;
};

// Reads `text` with `read` into a value and writes that back with `write`, both in the user's locale.
// Without oleaut32 (never the case on Windows) nothing is a number or a date, and the value stays the text it is.
template <typename Value, typename Read, typename Write>
std::optional<std::wstring> Converted(std::wstring_view text, Read Automation::*read, Write Automation::*write) {
    const Automation* automation = LoadedAutomation();
    // The conversions read up to the first null character; a text holding one is not a number or a date.
    if (!automation || text.find(L'\0') != std::wstring_view::npos) return std::nullopt;
    const AutomationText in(*automation, automation->SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    Value value{};
    if (!in.get() || FAILED((automation->*read)(in.get(), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
    AutomationText out(*automation, nullptr);
    if (FAILED((automation->*write)(value, LOCALE_USER_DEFAULT, 0, out.put())) || !out.get()) return std::nullopt;
    return std::wstring(out.get());
}

}  // namespace

std::optional<std::wstring> UserLocaleNumberText(std::wstring_view text) {
    return Converted<DOUBLE>(text, &Automation::R8FromStr, &Automation::BstrFromR8);
}

std::optional<std::wstring> UserLocaleDateText(std::wstring_view text) {
    return Converted<DATE>(text, &Automation::DateFromStr, &Automation::BstrFromDate);
}
