#include "foundation/file.h"

#include <fstream>
#include <stdexcept>

namespace dez::file {

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
