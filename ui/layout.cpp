#include "ui/layout.h"

#include "platform/failure.h"

#include <charconv>

namespace {

bool IsNameChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
}

bool IsName(std::wstring_view s) {
    if (s.empty()) return false;
    for (wchar_t c : s)
        if (!IsNameChar(c)) return false;
    return true;
}

std::wstring_view TrimSpaces(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t' || s.back() == L'\r')) s.remove_suffix(1);
    return s;
}

class Parser {
public:
    Parser(std::wstring_view text, std::wstring_view layout_name) : text_(text), layout_name_(layout_name) {}

    LayoutObject Parse() {
        std::vector<LayoutObject*> stack;  // stack[d] is the object at depth d
        LayoutObject root;
        bool have_root = false;
        int line_number = 0;
        size_t pos = 0;
        while (pos <= text_.size()) {
            size_t end = text_.find(L'\n', pos);
            if (end == std::wstring_view::npos) end = text_.size();
            std::wstring_view line = text_.substr(pos, end - pos);
            pos = end + 1;
            ++line_number;
            if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);

            size_t indent = 0;
            while (indent < line.size() && line[indent] == L' ') ++indent;
            std::wstring_view body = TrimSpaces(line.substr(indent));
            if (body.empty() || body.front() == L'#') continue;
            if (indent < line.size() && line[indent] == L'\t') Fail(line_number, L"tabs are not allowed for indenting");
            if (indent % 2 != 0) Fail(line_number, L"indent by two spaces");
            size_t depth = indent / 2;

            size_t equals = body.find(L'=');
            if (equals != std::wstring_view::npos) {
                if (depth == 0 || depth > stack.size()) Fail(line_number, L"a property outside an object");
                std::wstring_view key = TrimSpaces(body.substr(0, equals));
                if (!IsName(key)) Fail(line_number, L"a property needs a name");
                LayoutObject* owner = stack[depth - 1];
                owner->properties.push_back(
                    {std::wstring(key), Value(TrimSpaces(body.substr(equals + 1)), line_number), line_number});
                continue;
            }

            size_t space = body.find(L' ');
            if (space == std::wstring_view::npos) Fail(line_number, L"expected \"kind Name\" or \"Key = value\"");
            std::wstring_view kind = body.substr(0, space);
            std::wstring_view name = TrimSpaces(body.substr(space + 1));
            if (!IsName(kind) || !IsName(name)) Fail(line_number, L"expected \"kind Name\"");
            LayoutObject object{std::wstring(kind), std::wstring(name), line_number, {}, {}};
            if (depth == 0) {
                if (have_root) Fail(line_number, L"a layout holds one form");
                root = std::move(object);
                have_root = true;
                stack.assign(1, &root);
            } else {
                if (depth > stack.size()) Fail(line_number, L"indented too deep");
                stack.resize(depth);
                LayoutObject* parent = stack.back();
                parent->children.push_back(std::move(object));
                stack.push_back(&parent->children.back());
            }
        }
        if (!have_root) Fail(line_number, L"the layout is empty");
        return root;
    }

private:
    std::wstring Value(std::wstring_view raw, int line_number) {
        if (raw.empty()) Fail(line_number, L"a property needs a value");
        if (raw.front() != L'"') {
            if (raw.find(L'"') != std::wstring_view::npos || raw.find(L' ') != std::wstring_view::npos)
                Fail(line_number, L"quote a value that holds spaces or quotes");
            return std::wstring(raw);
        }
        std::wstring value;
        size_t i = 1;
        for (; i < raw.size(); ++i) {
            wchar_t c = raw[i];
            if (c == L'"') break;
            if (c == L'\\') {
                if (++i == raw.size()) break;
                c = raw[i];
                if (c != L'"' && c != L'\\') Fail(line_number, L"only \\\" and \\\\ may be escaped");
            }
            value += c;
        }
        if (i != raw.size() - 1) Fail(line_number, L"a quoted value must end with its closing quote");
        return value;
    }

    [[noreturn]] void Fail(int line_number, std::wstring_view what) {
        throw Failure(LayoutError(layout_name_, line_number, what));
    }

    std::wstring_view text_;
    std::wstring_view layout_name_;
};

}  // namespace

std::wstring LayoutError(std::wstring_view layout_name, int line, std::wstring_view what) {
    return L"Layout " + std::wstring(layout_name) + L", line " + std::to_wstring(line) + L": " + std::wstring(what);
}

LayoutObject ParseLayout(std::wstring_view text, std::wstring_view layout_name) {
    return Parser(text, layout_name).Parse();
}

const LayoutProperty* LayoutObject::Find(std::wstring_view key) const {
    for (const auto& p : properties)
        if (p.key == key) return &p;
    return nullptr;
}

std::wstring LayoutObject::Text(std::wstring_view key, std::wstring_view fallback) const {
    const LayoutProperty* p = Find(key);
    return p ? p->value : std::wstring(fallback);
}

std::optional<int> LayoutObject::Number(std::wstring_view key, std::wstring_view layout_name) const {
    const LayoutProperty* p = Find(key);
    if (!p) return std::nullopt;
    std::string ascii(p->value.begin(), p->value.end());
    int value = 0;
    bool ok = !p->value.empty();
    for (wchar_t c : p->value)
        if (!((c >= L'0' && c <= L'9') || c == L'-')) ok = false;
    auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (!ok || error != std::errc() || end != ascii.data() + ascii.size())
        throw Failure(LayoutError(layout_name, p->line, std::wstring(key) + L" must be a whole number"));
    return value;
}

std::wstring LayoutObject::LinesText() const {
    std::wstring text;
    for (const auto& p : properties)
        if (p.key == L"Lines") text += p.value + L"\r\n";
    return text;
}
