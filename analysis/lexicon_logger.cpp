#include "analysis/lexicon_logger.h"

#include <iostream>
#include <string>

namespace dez::trelix {

namespace {

using dez::log::inline_logger::print_variable;

std::string text_of(const boost::any& value) {
    if (value.type() == typeid(std::string))
        return boost::any_cast<const std::string&>(value);
    if (value.type() == typeid(const char*)) {
        const char* text = boost::any_cast<const char*>(value);
        return text ? text : "";
    }
    return {};
}

} // namespace

LexiconLogger::~LexiconLogger() {
    std::ostream& out = std::cerr;
    const boost::any none;
    auto value = [&](const char* key) -> const boost::any& {
        auto it = values.find(key);
        return it == values.end() ? none : it->second;
    };
    auto message = values.find("msg");
    if (message != values.end()) {
        if (message->second.type() == typeid(std::string))
            out << boost::any_cast<const std::string&>(message->second);
        if (values.count("endl"))
            out << std::endl;
        return;
    }
    auto action = values.find("action");
    if (action == values.end())
        return;
    const std::string name = text_of(action->second);
    if (name == "lookup") {
        out << "[";
        print_variable(out, value("input")) << "]:";
        print_variable(out, value("word")) << std::endl;
    } else if (name == "result") {
        out << "[result]:" << std::endl;
        print_variable(out << " - length    :", value("end_match_offset")) << std::endl;
        print_variable(out << " - uri       :", value("uri")) << std::endl;
        print_variable(out << " - total     :", value("total")) << std::endl;
    } else {
        for (const auto& [key, entry] : values)
            print_variable(out << " " << key << ":", entry) << std::endl;
    }
}

} // namespace dez::trelix
