#include "app/title_rule.h"

std::wstring ApplicationTitle(std::wstring_view module_path,
                              const std::function<std::wstring(std::wstring)>& to_lower) {
    std::wstring_view path = module_path.substr(0, 255);
    size_t backslash = path.rfind(L'\\');
    std::wstring_view name = backslash == std::wstring_view::npos ? path : path.substr(backslash + 1);
    name = name.substr(0, name.find(L'.'));
    if (name.empty()) return {};
    std::wstring title(1, name.front());  // appended, not added: the sum draws a false -Wrestrict from GCC 12
    title.append(to_lower(std::wstring(name.substr(1))));
    return title;
}
