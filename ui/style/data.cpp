#include "ui/style/data.h"

#include "platform/failure.h"

#include <charconv>
#include <set>
#include <utility>

namespace {

struct ColourKey {
    const wchar_t* key;
    StyleColour StyleColours::*member;
};

const ColourKey kColourKeys[] = {
    {L"window", &StyleColours::window},
    {L"panel", &StyleColours::panel},
    {L"panel.light", &StyleColours::panel_light},
    {L"panel.dark", &StyleColours::panel_dark},
    {L"text", &StyleColours::text},
    {L"text.disabled", &StyleColours::text_disabled},
    {L"accent", &StyleColours::accent},
    {L"frame.active", &StyleColours::frame_active},
    {L"frame.inactive", &StyleColours::frame_inactive},
    {L"caption.active", &StyleColours::caption_active},
    {L"caption.inactive", &StyleColours::caption_inactive},
    {L"caption.text", &StyleColours::caption_text},
    {L"caption.text.inactive", &StyleColours::caption_text_inactive},
    {L"close.hot", &StyleColours::close_hot},
    {L"close.pressed", &StyleColours::close_pressed},
    {L"close.glyph", &StyleColours::close_glyph},
    {L"menubar", &StyleColours::menubar},
    {L"menu", &StyleColours::menu},
    {L"menu.border", &StyleColours::menu_border},
    {L"menu.hot", &StyleColours::menu_hot},
    {L"menu.hot.text", &StyleColours::menu_hot_text},
    {L"menu.separator", &StyleColours::menu_separator},
    {L"button", &StyleColours::button},
    {L"button.hot", &StyleColours::button_hot},
    {L"button.pressed", &StyleColours::button_pressed},
    {L"button.pressed.text", &StyleColours::button_pressed_text},
    {L"button.border", &StyleColours::button_border},
    {L"field", &StyleColours::field},
    {L"field.border", &StyleColours::field_border},
    {L"field.border.focused", &StyleColours::field_border_focused},
    {L"selection", &StyleColours::selection},
    {L"selection.text", &StyleColours::selection_text},
    {L"caret", &StyleColours::caret},
    {L"check.box", &StyleColours::check_box},
    {L"check.border", &StyleColours::check_border},
    {L"check.tick", &StyleColours::check_tick},
    {L"focus", &StyleColours::focus},
};

struct MetricKey {
    const wchar_t* key;
    int StyleMetrics::*member;
};

const MetricKey kMetricKeys[] = {
    {L"button.border", &StyleMetrics::button_border},
    {L"field.border", &StyleMetrics::field_border},
    {L"check.size", &StyleMetrics::check_size},
    {L"check.gap", &StyleMetrics::check_gap},
    {L"menu.item.height", &StyleMetrics::menu_item_height},
    {L"menu.padding", &StyleMetrics::menu_padding},
    {L"menu.separator.height", &StyleMetrics::menu_separator_height},
    {L"caption.padding", &StyleMetrics::caption_padding},
    {L"close.glyph", &StyleMetrics::close_glyph},
    {L"caret.width", &StyleMetrics::caret_width},
};

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t' || s.front() == L'\uFEFF')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t' || s.back() == L'\r')) s.remove_suffix(1);
    return s;
}

// One meaningful line: a section header or a key with its value.
struct StyleLine {
    int number = 0;
    std::wstring section;  // set for "[section]"
    std::wstring key;
    std::wstring_view value;
};

class StyleReader {
public:
    StyleReader(std::wstring_view text, std::wstring_view source) : text_(text), source_(source) {}

    // The next line that is not blank or a comment; false at the end.
    bool Next(StyleLine& line) {
        while (pos_ <= text_.size()) {
            size_t end = text_.find(L'\n', pos_);
            if (end == std::wstring_view::npos) end = text_.size();
            std::wstring_view body = Trim(text_.substr(pos_, end - pos_));
            pos_ = end + 1;
            ++number_;
            if (body.empty() || body.front() == L'#') continue;
            line = StyleLine{number_, {}, {}, {}};
            if (body.front() == L'[') {
                if (body.back() != L']' || body.size() < 3) Fail(number_, L"a section is written [name]");
                line.section = std::wstring(Trim(body.substr(1, body.size() - 2)));
                return true;
            }
            size_t equals = body.find(L'=');
            if (equals == std::wstring_view::npos) Fail(number_, L"expected \"key = value\"");
            line.key = std::wstring(Trim(body.substr(0, equals)));
            line.value = Trim(body.substr(equals + 1));
            if (line.key.empty()) Fail(number_, L"a value needs a key");
            return true;
        }
        return false;
    }

    [[noreturn]] void Fail(int line, std::wstring_view what) const {
        throw Failure(L"Style " + std::wstring(source_) + L", line " + std::to_wstring(line) + L": " +
                      std::wstring(what));
    }

    std::wstring Text(const StyleLine& line) const {
        std::wstring_view v = line.value;
        if (v.size() < 2 || v.front() != L'"' || v.back() != L'"')
            Fail(line.number, line.key + L" must be a quoted text");
        v = v.substr(1, v.size() - 2);
        if (v.find(L'"') != std::wstring_view::npos) Fail(line.number, line.key + L" must be a quoted text");
        return std::wstring(v);
    }

    int Number(const StyleLine& line) const {
        std::string digits;
        for (wchar_t c : line.value) {
            if (c > 0x7F) Fail(line.number, line.key + L" must be a whole number");
            digits += static_cast<char>(c);
        }
        int value = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            Fail(line.number, line.key + L" must be a whole number");
        return value;
    }

    StyleColour Colour(const StyleLine& line) const {
        std::wstring_view v = line.value;
        auto hex = [](wchar_t c) -> int {
            if (c >= L'0' && c <= L'9') return c - L'0';
            if (c >= L'a' && c <= L'f') return c - L'a' + 10;
            if (c >= L'A' && c <= L'F') return c - L'A' + 10;
            return -1;
        };
        bool valid = v.size() == 7 && v.front() == L'#';
        for (size_t i = 1; valid && i < 7; ++i) valid = hex(v[i]) >= 0;
        if (!valid) Fail(line.number, line.key + L" must be a colour written #RRGGBB");
        auto byte = [&](size_t i) { return static_cast<std::uint8_t>(hex(v[i]) * 16 + hex(v[i + 1])); };
        return {byte(1), byte(3), byte(5)};
    }

private:
    std::wstring_view text_;
    std::wstring_view source_;
    size_t pos_ = 0;
    int number_ = 0;
};

}  // namespace

std::optional<std::wstring> DeclaredStyleName(std::wstring_view text) {
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view body = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (body.empty() || body.front() == L'#') continue;
        size_t equals = body.find(L'=');
        if (equals == std::wstring_view::npos || Trim(body.substr(0, equals)) != L"style") return std::nullopt;
        std::wstring_view value = Trim(body.substr(equals + 1));
        if (value.size() < 3 || value.front() != L'"' || value.back() != L'"') return std::nullopt;
        value = value.substr(1, value.size() - 2);
        if (value.find(L'"') != std::wstring_view::npos) return std::nullopt;
        return std::wstring(value);
    }
    return std::nullopt;
}

StyleData ParseStyle(std::wstring_view text, std::wstring_view source) {
    StyleReader reader(text, source);
    StyleData style;
    StyleLine line;
    if (!reader.Next(line) || line.key != L"style") reader.Fail(line.number, L"a style starts with style = \"Name\"");
    style.name = reader.Text(line);
    if (style.name.empty()) reader.Fail(line.number, L"the style needs a name");

    std::wstring section;
    std::set<std::wstring> seen;  // "section/key", so no value is given twice
    bool have_version = false, have_font_name = false, have_font_height = false;
    while (reader.Next(line)) {
        if (!line.section.empty()) {
            section = line.section;
            if (section != L"colours" && section != L"font" && section != L"metrics")
                reader.Fail(line.number, L"unknown section [" + section + L"]");
            continue;
        }
        if (!seen.insert(section + L"/" + line.key).second) reader.Fail(line.number, line.key + L" is given twice");
        bool known = false;
        if (section.empty()) {
            if (line.key == L"version") {
                style.version = reader.Text(line);
                known = have_version = true;
            }
        } else if (section == L"colours") {
            for (const ColourKey& c : kColourKeys)
                if (line.key == c.key) {
                    style.colours.*c.member = reader.Colour(line);
                    known = true;
                }
        } else if (section == L"font") {
            if (line.key == L"name") {
                style.font.name = reader.Text(line);
                known = have_font_name = true;
            } else if (line.key == L"height") {
                style.font.height = reader.Number(line);
                known = have_font_height = true;
            } else if (line.key == L"caption.weight") {
                style.font.caption_weight = reader.Number(line);
                known = true;
            }
        } else {
            for (const MetricKey& m : kMetricKeys)
                if (line.key == m.key) {
                    int value = reader.Number(line);
                    if (value < 0 || value > 64) reader.Fail(line.number, line.key + L" must be between 0 and 64");
                    style.metrics.*m.member = value;
                    known = true;
                }
        }
        if (!known) reader.Fail(line.number, L"unknown key " + line.key);
    }

    int end = line.number;
    if (!have_version) reader.Fail(end, L"the style needs a version");
    if (!have_font_name || !have_font_height) reader.Fail(end, L"the style needs a font name and height");
    for (const ColourKey& c : kColourKeys)
        if (!seen.count(std::wstring(L"colours/") + c.key))
            reader.Fail(end, std::wstring(L"the colour ") + c.key + L" is missing");
    return style;
}

std::wstring StyleNotFoundText(std::wstring_view name) { return L"Style '" + std::wstring(name) + L"' not found"; }
