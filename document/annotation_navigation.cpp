#include "document/annotation_navigation.h"

namespace dez::trelix {

Sentence* move_forward_sentence(Sentence* sentence, int n) {
    for (int i = 0; i < n && sentence; ++i)
        sentence = static_cast<Sentence*>(sentence->next);
    return sentence;
}

Sentence* move_backward_sentence(Sentence* sentence, int n) {
    for (int i = 0; i < n && sentence; ++i)
        sentence = static_cast<Sentence*>(sentence->prev);
    return sentence;
}

Sentence* move_to_sentence(Sentence* sentence, int n) {
    if (n < 0) // in two steps, so that -n cannot overflow
        return move_backward_sentence(move_backward_sentence(sentence, -(n + 1)), 1);
    if (n == 0)
        return sentence;
    return move_forward_sentence(sentence, n);
}

uint32_t count_tokens(RawPtrIterator from, RawPtrIterator to) {
    uint32_t count = 0;
    for (; from != to && from.get(); ++from)
        if (from->type == annotation_token)
            ++count;
    return count;
}

RawPtrIterator move_to_token(qvr::common::RawPtrList<Annotation> const& list, RawPtrIterator at,
                             int n) {
    if (n == 0)
        return at;
    if (n > 0) {
        for (int i = 0; i < n && at.get(); ++i)
            ++at;
        return at;
    }
    // Counted as int64 so that n = INT_MIN cannot overflow.
    const int64_t wanted = -static_cast<int64_t>(n);
    int64_t met = 0;
    for (Annotation* a = at.get(); a && a != list.head; a = a->prev) {
        if (a->type != annotation_token)
            continue;
        if (met == wanted)
            return RawPtrIterator(a);
        ++met;
    }
    return RawPtrIterator();
}

} // namespace dez::trelix
