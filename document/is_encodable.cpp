#include "document/is_encodable.h"

namespace dez::trelix {

void IIsEncodable::push(uint32_t const&) {}

bool IIsEncodable::has(uint32_t const&) const {
    return false;
}

bool IIsEncodable::requires_match() const {
    return false;
}

bool IIsEncodable::requires_match(bool const&) {
    return false;
}

} // namespace dez::trelix
