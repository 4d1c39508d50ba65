#pragma once

// Postaggers for disambiguation tests, built with OpenFst directly: arcs in
// the order given (which decides the first accepting path), any label text,
// cycles included.

#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core-afst/afst.h"

namespace dez::trelix::fixture {

class Postagger {
public:
    Postagger() : lower_("lower"), upper_("upper") {
        lower_.AddSymbol("eps");
        lower_.AddSymbol("EPS");
        upper_.AddSymbol("eps");
        upper_.AddSymbol("EPS");
        start = state();
        network_.SetStart(start);
    }

    int state() { return network_.AddState(); }
    void final(int state) { network_.SetFinal(state, fst::TropicalWeight::One()); }
    // An output of "eps" scores nothing; "#2.5" scores 2.5.
    void arc(int from, int to, const std::string& input, const std::string& output = "eps") {
        network_.AddArc(from, fst::StdArc(static_cast<int>(lower_.AddSymbol(input)),
                                          static_cast<int>(upper_.AddSymbol(output)),
                                          fst::TropicalWeight::One(), to));
    }
    // A chain of (input, output) arcs from the start state to a new final
    // state; the last state is returned.
    int path(const std::vector<std::pair<std::string, std::string>>& arcs) {
        int at = start;
        for (const auto& [input, output] : arcs) {
            const int next = state();
            arc(at, next, input, output);
            at = next;
        }
        final(at);
        return at;
    }
    // Arcs whose input label lies beyond the input table.
    void stray_arc(int from, int to) {
        network_.AddArc(from, fst::StdArc(static_cast<int>(lower_.AvailableKey()) + 5, 0,
                                          fst::TropicalWeight::One(), to));
    }

    std::shared_ptr<fst::StdVectorFst> network() const {
        auto network = std::make_shared<fst::StdVectorFst>(network_);
        network->SetInputSymbols(&lower_);
        network->SetOutputSymbols(&upper_);
        return network;
    }
    std::shared_ptr<dez::afst::AFst> build() const {
        return std::make_shared<dez::afst::AFst>(network());
    }

    int start;

private:
    fst::StdVectorFst network_;
    fst::SymbolTable lower_;
    fst::SymbolTable upper_;
};

} // namespace dez::trelix::fixture
