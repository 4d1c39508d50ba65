#include "analysis/markup_info.h"

#include <string>

#include "document/token.h"

namespace dez::trelix {

void add_markup_info(Token* token) {
    const std::string& literal = token->literal;
    const std::size_t space = literal.find(' ');
    token->readings.emplace_back(
        "Markup", space == std::string::npos ? literal : literal.substr(0, space) + '>', 1.0);
}

} // namespace dez::trelix
