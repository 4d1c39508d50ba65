#include "engine/language_cache_key.h"

#include <filesystem>
#include <system_error>

namespace dez::trelix {

std::string language_cache_key(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code error;
    std::filesystem::path key = std::filesystem::weakly_canonical(path, error);
    if (error)
        return path;
    return key.string();
}

} // namespace dez::trelix
