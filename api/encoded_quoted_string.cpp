#include "api/encoded_quoted_string.h"

#include <ostream>

#include "foundation/json_escape.h"

namespace dez::trelix {

std::ostream& operator<<(std::ostream& os, const encoded_quoted_string& quoted) {
    return os << '"' << dez::json::escape_string(quoted.text) << '"';
}

} // namespace dez::trelix
