#include "api/copy_out.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace dez::api {

bool copy_to_host_buffer(const std::string& text, char* buffer, std::size_t* size) {
    if (!size)
        throw std::logic_error("The size pointer is null.");
    if (text.size() > *size) {
        *size = text.size();
        return false;
    }
    if (!buffer)
        throw std::logic_error("The output buffer is null.");
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    *size = text.size();
    return true;
}

std::size_t bounded_copy(const std::string& text, char* buffer, std::size_t size) {
    if (size == 0)
        return text.size();
    if (!buffer)
        throw std::logic_error("The output buffer is null.");
    const std::size_t copied = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), copied);
    std::memset(buffer + copied, 0, size - copied);
    return text.size();
}

const char* answer_text(const std::string& text, std::size_t* length) {
    if (length)
        *length = text.size();
    return text.c_str();
}

} // namespace dez::api
