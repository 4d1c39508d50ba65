#pragma once

#include <stdexcept>
#include <string>

#include "api/dez_api.h"
#include "qvr_exception.h"

namespace qvr::common {

// Turns a filled error record of the C interface into the exception its code
// stands for; a record with code 0, or any code it does not know, raises
// nothing. The message is the record's, unchanged.
inline void handle_exception(const dez_exception& error) {
    switch (error.code) {
    case 1:
        throw Exception(error.message);
    case 2:
    case 3:
        throw std::runtime_error(error.message);
    case 4:
        throw std::logic_error(error.message);
    case 5:
        throw JsonException(error.message);
    default:
        break;
    }
}

} // namespace qvr::common
