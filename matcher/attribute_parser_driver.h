#pragma once

// Shared by the attribute grammars' translation units only: it pulls in
// Spirit, which the public headers keep out.

#include <iostream>
#include <string>

#include <boost/spirit/include/qi_parse.hpp>

#include "document/attributes.h"
#include "foundation/logger.h"

namespace dez::trelix {

// White space of the attribute texts: the Unicode White_Space code points
// below 256, tested byte by byte. In Spirit's character-set notation for the
// grammars, and as a plain test for the driver; keep the two alike.
constexpr const char* attribute_white_space_set = "\t-\r \x85\xa0";

inline bool is_attribute_white_space(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x20 || byte == 0x85 || byte == 0xA0;
}

// Runs one grammar over the whole text. Expectation failures of the grammar
// are not caught: the caller decides what a broken value costs.
template <typename Grammar> Attributes parse_attributes_with_grammer(const std::string& text) {
    Attributes result;
    if (text.empty())
        return result;

    // Built once and shared: the rules hold no state between parses, and
    // building them costs more than parsing a typical attribute text.
    static const Grammar grammar;
    auto first = text.cbegin();
    const auto last = text.cend();
    while (first != last && is_attribute_white_space(*first))
        ++first;
    const bool parsed = boost::spirit::qi::parse(first, last, grammar, result);
    while (first != last && is_attribute_white_space(*first))
        ++first;

    if (!parsed || first != last) {
        std::cout << "ERROR:[" << text << "]" << std::endl;
        // Standard output alone goes unseen in hosts that only read the log.
        TRELIX_LOG(wlog::channel_runtime, wlog::level_error,
                   "could not parse the attribute text [" << text << "]");
    }
    return result;
}

} // namespace dez::trelix
