#include "matcher/plugin_error.h"

#include <cstring>
#include <stdexcept>

#include "foundation/qvr_exception.h"

namespace dez::trelix::plugins {

std::string plugin_error_message(const dez_exception& record) {
    return std::string(record.message, ::strnlen(record.message, sizeof record.message));
}

void raise_plugin_error(const dez_exception& record) {
    switch (record.code) {
    case 1:
        throw qvr::common::Exception(plugin_error_message(record));
    case 2:
    case 3:
        throw std::runtime_error(plugin_error_message(record));
    case 4:
        throw std::logic_error(plugin_error_message(record));
    case 5:
        throw qvr::common::JsonException(plugin_error_message(record));
    default:
        break;
    }
}

} // namespace dez::trelix::plugins
