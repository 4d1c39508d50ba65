#include "foundation/home_path.h"

#include <cstdlib>
#include <vector>

namespace std::filesystem {

namespace {
const std::vector<std::string> home_spellings = {"~", "$HOME", "${HOME}", "$(HOME)"};
}

path resolve_home(const path& p) {
    const std::string text = p.string();
    for (const auto& spelling : home_spellings) {
        if (text.size() >= spelling.size() + 2 && text.compare(0, spelling.size(), spelling) == 0) {
            const char separator = text[spelling.size()];
            if (separator == '/' || separator == '\\')
                return __resolve_name_offset(text, spelling);
        }
    }
    return p;
}

path __resolve_name_offset(const std::string& text, std::string prefix) {
    const char* home = std::getenv("HOME");
    if (!home)
        return path(text);
    return path(home) / text.substr(prefix.size() + 1);
}

std::string chop_filename(const std::string& text, int count) {
    std::vector<path> components;
    for (const auto& component : path(text))
        components.push_back(component);
    const size_t keep = count < 0 ? 0 : static_cast<size_t>(count);
    const size_t first = keep >= components.size() ? 0 : components.size() - keep;
    path result;
    for (size_t i = first; i < components.size(); ++i)
        result /= components[i];
    return result.string();
}

} // namespace std::filesystem
