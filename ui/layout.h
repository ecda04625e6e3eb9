#pragma once
// A form's layout as text: nested objects, each with ordered properties.
//
//   form Form1                      <- an object: kind, then name
//     Caption = "ارتباط با شرکت"     <- a property: key = value
//     panel Panel1                  <- a child object, two spaces deeper
//       Left = 0
//
// Values are quoted texts ("..." with \" and \\ inside) or bare words and numbers.
// A key may repeat (a memo's Lines); lines starting with # are comments.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct LayoutProperty {
    std::wstring key;
    std::wstring value;
    int line = 0;
};

struct LayoutObject {
    std::wstring kind;
    std::wstring name;
    int line = 0;
    std::vector<LayoutProperty> properties;
    std::vector<LayoutObject> children;

    const LayoutProperty* Find(std::wstring_view key) const;
    std::wstring Text(std::wstring_view key, std::wstring_view fallback = L"") const;
    // An integer property; a value that is not a number fails naming the line.
    std::optional<int> Number(std::wstring_view key, std::wstring_view layout_name) const;
    // Its Lines, each followed by CR LF: the text of a memo.
    std::wstring LinesText() const;
};

// Parses the UTF-16 layout text. Fails with "Layout <layout_name>, line N: ..." on malformed text.
LayoutObject ParseLayout(std::wstring_view text, std::wstring_view layout_name);

std::wstring LayoutError(std::wstring_view layout_name, int line, std::wstring_view what);
