#include "domain/regular_files_by_name.h"

#include <algorithm>

namespace dez::trelix::core {

namespace fs = std::filesystem;

std::vector<std::string> regular_files_by_name(const fs::path& folder, std::error_code& ec) {
    std::vector<std::string> names;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_regular_file(type_ec))
            names.push_back(it->path().filename().string());
    }
    if (ec)
        names.clear();
    else
        std::sort(names.begin(), names.end());
    return names;
}

} // namespace dez::trelix::core
