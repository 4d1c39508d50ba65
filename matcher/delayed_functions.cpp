#include "matcher/delayed_functions.h"

#include <algorithm>

#include "document/blackboard.h"
#include "document/concept.h"
#include "matcher/runtime_context.h"

namespace dez::trelix {

void apply_delayed_functions(Blackboard& document) {
    auto& queue = document.delayed_functions;
    if (queue.empty())
        return;
    if (queue.size() > 1)
        std::stable_sort(queue.begin(), queue.end(), [](const auto& a, const auto& b) {
            const Concept* x = a.second.concept;
            const Concept* y = b.second.concept;
            if (!x || !y)
                return x == nullptr && y != nullptr;
            if (x->begin != y->begin)
                return x->begin < y->begin;
            return x->end < y->end;
        });
    // By index: a call may append to the queue while it runs.
    const std::size_t count = queue.size();
    for (std::size_t i = 0; i < count; ++i) {
        const auto handler = queue[i].first;
        const runtime::Context context = queue[i].second;
        if (handler)
            handler(context);
    }
    queue.clear();
}

} // namespace dez::trelix
