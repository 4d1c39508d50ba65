#pragma once

#include "foundation/input_provider.h"

#include <deque>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace dez {

// The sources of one compilation, handed out first in, first out.
class InputPool {
public:
    // A handed-out provider: a text (empty), the provider and a flag (false),
    // the text and flag for the consumer to fill in.
    using Entry = std::tuple<std::string, std::shared_ptr<IInputProvider>, bool>;

    void add_data(const std::string& id, const std::string& data);
    void add_data(const std::string& data);
    void add_file(const std::string& path);

    // The next provider's entry, recorded in `taken`; empty when none is left.
    std::shared_ptr<Entry> get();

    // Providers not yet taken, in the order they were added. The compile
    // driver reads it directly while nobody adds to the pool. A deque, so
    // taking from the front stays cheap for large pools.
    std::deque<std::shared_ptr<IInputProvider>> inputs;
    // One entry per provider handed out, in hand-out order.
    std::vector<std::shared_ptr<Entry>> taken;
};

} // namespace dez
