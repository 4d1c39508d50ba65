#include "document/sentence.h"

namespace dez::trelix {

Sentence::~Sentence() {
    encoded_ids.clear();
    annotations.clear();
}

} // namespace dez::trelix
