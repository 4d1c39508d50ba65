#include "foundation/inline_logger.h"

#include <cstdint>

namespace dez::log::inline_logger {

std::ostream& print_variable(std::ostream& out, const boost::any& value) {
    if (value.empty())
        return out;
    const std::type_info& type = value.type();
    if (type == typeid(std::string))
        out << boost::any_cast<const std::string&>(value);
    else if (type == typeid(const char*)) {
        if (const char* text = boost::any_cast<const char*>(value))
            out << text;
    } else if (type == typeid(char*)) {
        if (const char* text = boost::any_cast<char*>(value))
            out << text;
    } else if (type == typeid(int))
        out << boost::any_cast<int>(value);
    else if (type == typeid(unsigned long))
        out << boost::any_cast<unsigned long>(value);
    else if (type == typeid(unsigned int))
        out << boost::any_cast<unsigned int>(value);
    return out;
}

} // namespace dez::log::inline_logger
