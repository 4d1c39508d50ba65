#pragma once

#include <map>
#include <ostream>
#include <string>

#include <boost/any.hpp>

namespace dez::log::inline_logger {

// One trace record, composed key by key and written when it goes away (the
// derived class decides how). Only debug traces asked for by option use it.
class BaseLogger {
public:
    BaseLogger() = default;
    BaseLogger(const BaseLogger&) = delete;
    BaseLogger& operator=(const BaseLogger&) = delete;
    virtual ~BaseLogger() = default;

    BaseLogger& operator()(const std::string& key, const boost::any& value) {
        values[key] = value;
        return *this;
    }

    std::map<std::string, boost::any> values;
};

// The logger type of a traced code path that writes nothing: code written
// against it compiles the records away.
struct CodeNotThere {};

// Writes a string, a NUL-terminated character pointer, an int, an unsigned
// long or an unsigned int; anything else, and an empty value, writes
// nothing. A null character pointer writes nothing and leaves the stream as
// it was (a trace must never silence the stream it writes to).
std::ostream& print_variable(std::ostream& out, const boost::any& value);

} // namespace dez::log::inline_logger
