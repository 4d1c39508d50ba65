#pragma once

#include "core-afst/afst.h"
#include "core-afst/arc_matcher.h"
#include "core-afst/walk_input.h"

#include <string>
#include <vector>

namespace dez::afst {

// The walk loop over one transducer with its own stack (room for 50 entries
// reserved once), for the arc-rule bundle `Matcher`. The AFst must outlive it.
template <class Matcher> class BaseMatcher {
public:
    using Input = typename Matcher::Input;
    using Collector = typename Matcher::Collector;
    using Scratch = WalkScratch<typename Input::Position>;

    explicit BaseMatcher(const AFst& afst) : network_(afst.network()) {
        scratch_.stack.reserve(50);
    }

    // Walks `input` from the start state; every result goes to `collector`.
    void match(const Input& input, Collector& collector) {
        detail::Walk<Matcher>::run(network_, scratch_, input, collector);
    }

protected:
    const WalkNetwork& network_;
    Scratch scratch_;
};

// The whole-word walk, entered with a word.
template <class Matcher> class AFSTBaseMatcher : public BaseMatcher<Matcher> {
public:
    using BaseMatcher<Matcher>::BaseMatcher;
    using BaseMatcher<Matcher>::match;

    void match(const std::string& word, typename Matcher::Collector& collector) {
        match(Utf8Input(word.data(), word.data() + word.size()), collector);
    }
};

} // namespace dez::afst
