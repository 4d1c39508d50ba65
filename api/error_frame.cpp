#include "api/error_frame.h"

#include <cstring>

namespace dez::api {

void fill_error(dez_exception* error, int32_t code, const char* message) {
    if (!error)
        return;
    error->code = code;
    const std::size_t room = sizeof(error->message) - 1;
    const std::size_t length = message ? ::strnlen(message, room) : 0;
    if (length)
        std::memcpy(error->message, message, length);
    std::memset(error->message + length, 0, sizeof(error->message) - length);
}

} // namespace dez::api
