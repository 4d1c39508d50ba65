#include "foundation/file.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace dez::file {

bool exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

bool is_regular_file(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool is_directory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string load(const char* path) {
    try {
        std::ifstream in;
        in.exceptions(std::ifstream::failbit | std::ifstream::badbit);
        in.open(path, std::ios::binary);
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        if (size == 0)
            return std::string();
        std::string data(static_cast<size_t>(size), '\0');
        in.seekg(0, std::ios::beg);
        in.read(data.data(), size);
        return data;
    } catch (const std::exception&) {
        throw std::runtime_error(std::string("can not open file ") + (path ? path : ""));
    }
}

} // namespace dez::file
