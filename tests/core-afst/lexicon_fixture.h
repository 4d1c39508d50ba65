#pragma once

// Test helper: lexicons built from pattern lines with our own builder, the
// way they reach a lookup (written with both tables and read back).

#include "core-afst/builder.h"
#include "core-afst/pattern_line.h"

#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace afst_test {

inline std::shared_ptr<fst::StdVectorFst> build_lexicon(const std::vector<std::string>& lines) {
    dez::afst::Builder builder;
    for (const auto& line : lines) {
        if (line.empty())
            continue;
        builder.open_rule();
        dez::afst::push_arcs_line(builder, line);
        builder.close_rule();
    }
    builder.applyUnion(0);
    std::stringstream stream;
    builder.write(stream);
    std::shared_ptr<fst::StdVectorFst> network(
        fst::StdVectorFst::Read(stream, fst::FstReadOptions("lexicon")));
    if (!network)
        throw std::runtime_error("lexicon fixture did not read back");
    return network;
}

// The pattern lines of tests/data/lexicons/<name>, one per line.
inline std::vector<std::string> lexicon_lines(const std::string& name) {
    const std::string path = std::string(TRELIX_TEST_DATA) + "/lexicons/" + name;
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("missing fixture " + path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

inline std::shared_ptr<fst::StdVectorFst> load_lexicon(const std::string& name) {
    return build_lexicon(lexicon_lines(name));
}

// A network put together arc by arc, for shapes the builder never makes.
// Labels name symbols; both tables start with "eps" and "EPS".
class HandNetwork {
public:
    HandNetwork() : lower_("lower"), upper_("upper") {
        for (auto* table : {&lower_, &upper_}) {
            table->AddSymbol("eps");
            table->AddSymbol("EPS");
        }
    }
    int add_state(bool final = false) {
        const int state = network_.AddState();
        if (final)
            network_.SetFinal(state, fst::TropicalWeight::One());
        return state;
    }
    void start(int state) { network_.SetStart(state); }
    void arc(int from, int to, const std::string& lower, const std::string& upper) {
        network_.AddArc(from, fst::StdArc(lower_.AddSymbol(lower), upper_.AddSymbol(upper),
                                          fst::TropicalWeight::One(), to));
    }
    void raw_arc(int from, int to, int ilabel, int olabel) {
        network_.AddArc(from, fst::StdArc(ilabel, olabel, fst::TropicalWeight::One(), to));
    }
    std::shared_ptr<fst::StdVectorFst> done() {
        network_.SetInputSymbols(&lower_);
        network_.SetOutputSymbols(&upper_);
        return std::make_shared<fst::StdVectorFst>(network_);
    }

private:
    fst::SymbolTable lower_;
    fst::SymbolTable upper_;
    fst::StdVectorFst network_;
};

} // namespace afst_test
