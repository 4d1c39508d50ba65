#pragma once

#include <cstdint>

#include "document/annotation.h"
#include "document/sentence.h"

namespace dez::trelix {

// The sentence n steps along the document's sentence list; null when the list
// ends first or the start is null.
Sentence* move_forward_sentence(Sentence* sentence, int n);
Sentence* move_backward_sentence(Sentence* sentence, int n);
// n < 0 moves back, 0 stays, n > 0 moves forward.
Sentence* move_to_sentence(Sentence* sentence, int n);

// The tokens from `from` up to, not including, `to` (reachable from `from`).
uint32_t count_tokens(RawPtrIterator from, RawPtrIterator to);

// n = 0: `at`; n > 0: n annotations further (any kind), or the end; n < 0: the
// token reached walking back from `at` (inclusive) after -n tokens were met.
// The list's first annotation is never examined: reaching it gives the end.
RawPtrIterator move_to_token(qvr::common::RawPtrList<Annotation> const& list, RawPtrIterator at,
                             int n);

} // namespace dez::trelix
