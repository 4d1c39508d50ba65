#include "document/token.h"

#include <algorithm>

namespace dez::trelix {

void Token::push(uint32_t const& id) {
    encoded_ids.insert(std::upper_bound(encoded_ids.begin(), encoded_ids.end(), id), id);
}

bool Token::has(uint32_t const& id) const {
    return std::binary_search(encoded_ids.begin(), encoded_ids.end(), id);
}

} // namespace dez::trelix
