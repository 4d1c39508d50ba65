#include "api/quoted_string.h"

#include <ostream>

namespace dez::trelix {

std::ostream& operator<<(std::ostream& os, const quoted_string& quoted) {
    return os << '"' << quoted.text << '"';
}

} // namespace dez::trelix
