#include "platform/locale_values.h"

#include "platform/system_library.h"

#include <windows.h>
#include <oleauto.h>

namespace {

// oleaut32.dll is only needed for a file somebody edited by hand, so it is loaded then, not at every start.
struct Automation {
    using ParseNumber = HRESULT(WINAPI*)(OLECHAR*, LCID, ULONG, NUMPARSE*, BYTE*);
    using NumberFromParse = HRESULT(WINAPI*)(NUMPARSE*, BYTE*, ULONG, VARIANT*);
    using DateFromText = HRESULT(WINAPI*)(OLECHAR*, LCID, ULONG, DATE*);
    using TextFromNumber = HRESULT(WINAPI*)(DOUBLE, LCID, ULONG, BSTR*);
    using TextFromDate = HRESULT(WINAPI*)(DATE, LCID, ULONG, BSTR*);
    using AllocateText = BSTR(WINAPI*)(const OLECHAR*, UINT);
    using FreeText = void(WINAPI*)(BSTR);

    SystemLibrary library{L"oleaut32.dll"};
    // Each named after the function it holds.
    // NOLINTBEGIN(readability-identifier-naming)
    ParseNumber VarParseNumFromStr = library.Find<ParseNumber>("VarParseNumFromStr");
    NumberFromParse VarNumFromParseNum = library.Find<NumberFromParse>("VarNumFromParseNum");
    DateFromText VarDateFromStr = library.Find<DateFromText>("VarDateFromStr");
    TextFromNumber VarBstrFromR8 = library.Find<TextFromNumber>("VarBstrFromR8");
    TextFromDate VarBstrFromDate = library.Find<TextFromDate>("VarBstrFromDate");
    AllocateText SysAllocStringLen = library.Find<AllocateText>("SysAllocStringLen");
    FreeText SysFreeString = library.Find<FreeText>("SysFreeString");
    // NOLINTEND(readability-identifier-naming)

    bool Complete() const {
        return VarParseNumFromStr && VarNumFromParseNum && VarDateFromStr && VarBstrFromR8 && VarBstrFromDate &&
               SysAllocStringLen && SysFreeString;
    }
};

// Without oleaut32 (never the case on Windows) nothing is a number or a date, and a value stays the text it is.
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
    std::wstring Text() const { return text_ ? std::wstring(text_) : std::wstring(); }

private:
    const Automation& automation_;
    BSTR text_;
};

// The conversions read up to the first null character, so a text holding one is neither a number nor a date.
std::optional<AutomationText> InputText(const Automation& automation, std::wstring_view text) {
    if (text.find(L'\0') != std::wstring_view::npos) return std::nullopt;
    BSTR copy = automation.SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!copy) return std::nullopt;
    return std::optional<AutomationText>(std::in_place, automation, copy);
}

}  // namespace

std::optional<std::wstring> UserLocaleNumberText(std::wstring_view text) {
    const Automation* automation = LoadedAutomation();
    if (!automation) return std::nullopt;
    const std::optional<AutomationText> in = InputText(*automation, text);
    if (!in) return std::nullopt;
    // The forms VarR8FromStr reads, but for digit grouping: a dotted address or date ("10.0.0.5", "31.12.2024"
    // where "." groups digits) must not turn into one large number.
    BYTE digits[1024];
    NUMPARSE parse{};
    parse.cDig = static_cast<INT>(sizeof digits);
    parse.dwInFlags = NUMPRS_STD & ~NUMPRS_THOUSANDS;
    VARIANT number{};  // VT_EMPTY
    if (FAILED(automation->VarParseNumFromStr(in->get(), LOCALE_USER_DEFAULT, 0, &parse, digits)) ||
        parse.cchUsed != static_cast<INT>(text.size()) ||
        FAILED(automation->VarNumFromParseNum(&parse, digits, VTBIT_R8, &number)) || number.vt != VT_R8)
        return std::nullopt;
    AutomationText out(*automation, nullptr);
    if (FAILED(automation->VarBstrFromR8(number.dblVal, LOCALE_USER_DEFAULT, 0, out.put())) || !out.get())
        return std::nullopt;
    return out.Text();
}

std::optional<std::wstring> UserLocaleDateText(std::wstring_view text) {
    const Automation* automation = LoadedAutomation();
    if (!automation) return std::nullopt;
    const std::optional<AutomationText> in = InputText(*automation, text);
    DATE date = 0;
    if (!in || FAILED(automation->VarDateFromStr(in->get(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
    AutomationText out(*automation, nullptr);
    // Written in the Gregorian calendar with the century, whatever calendar and short-date pattern Region settings
    // choose: a Persian or Buddhist year, or a two-digit one, would read back as another date.
    if (FAILED(automation->VarBstrFromDate(date, LOCALE_USER_DEFAULT, VAR_CALENDAR_GREGORIAN | VAR_FOURDIGITYEARS,
                                           out.put())) ||
        !out.get())
        return std::nullopt;
    return out.Text();
}
