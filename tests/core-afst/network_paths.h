#pragma once

// Test helper: the paths of a small network as texts.

#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace afst_test {

using Network = fst::StdVectorFst;
using Path = std::pair<std::string, std::string>; // input text, output text

// Label 0 is empty; other labels are their symbol text from `table`, or
// "{hex}" when the table has none (numeric labels such as unordered fillers).
inline std::string label_text(const fst::SymbolTable* table, int label) {
    if (label == 0)
        return "";
    if (table) {
        const std::string symbol = table->Find(label);
        if (!symbol.empty())
            return symbol;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "{%x}", static_cast<std::uint32_t>(label));
    return buffer;
}

struct Tables {
    const fst::SymbolTable* lower;
    const fst::SymbolTable* upper;
};

inline void collect(const Network& network, const Tables& tables, int state, std::size_t arcs_left,
                    const Path& so_far, std::set<Path>& out) {
    if (network.Final(state) != fst::TropicalWeight::Zero())
        out.insert(so_far);
    if (arcs_left == 0)
        return;
    for (fst::ArcIterator<Network> it(network, state); !it.Done(); it.Next()) {
        const auto& arc = it.Value();
        collect(network, tables, arc.nextstate, arcs_left - 1,
                {so_far.first + label_text(tables.lower, arc.ilabel),
                 so_far.second + label_text(tables.upper, arc.olabel)},
                out);
    }
}

// Every (input, output) pair spelled by a path of at most `max_arcs` arcs, the
// symbols taken from `tables`.
inline std::set<Path> paths(const Network& network, const Tables& tables,
                            std::size_t max_arcs = 12) {
    std::set<Path> out;
    if (network.Start() != fst::kNoStateId)
        collect(network, tables, network.Start(), max_arcs, {}, out);
    return out;
}

// The same with the network's own tables (those a finished network carries).
inline std::set<Path> paths(const Network& network, std::size_t max_arcs = 12) {
    return paths(network, Tables{network.InputSymbols(), network.OutputSymbols()}, max_arcs);
}

// The outputs of paths whose input spells `input`.
inline std::set<std::string> outputs(const Network& network, const std::string& input,
                                     std::size_t max_arcs = 12) {
    std::set<std::string> result;
    for (const auto& path : paths(network, max_arcs))
        if (path.first == input)
            result.insert(path.second);
    return result;
}

inline bool accepts(const Network& network, const std::string& input, std::size_t max_arcs = 12) {
    return !outputs(network, input, max_arcs).empty();
}

// The words over `alphabet` of at most `max_length` characters whose input
// side the network spells, one symbol per character. Walks the states of
// all words at once, a prefix's states shared by its extensions, so cycles
// and epsilon arcs cost nothing extra.
inline std::set<std::string> recognized_words(const Network& network,
                                              const fst::SymbolTable& lower,
                                              const std::string& alphabet,
                                              std::size_t max_length) {
    std::set<std::string> words;
    if (network.Start() == fst::kNoStateId)
        return words;
    const auto closure = [&](std::set<int> states) {
        std::vector<int> todo(states.begin(), states.end());
        while (!todo.empty()) {
            const int state = todo.back();
            todo.pop_back();
            for (fst::ArcIterator<Network> it(network, state); !it.Done(); it.Next())
                if (it.Value().ilabel == 0 && states.insert(it.Value().nextstate).second)
                    todo.push_back(it.Value().nextstate);
        }
        return states;
    };
    std::vector<std::pair<std::string, std::set<int>>> prefixes = {
        {"", closure({network.Start()})}};
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
        const auto [prefix, states] = prefixes[i];
        for (int state : states)
            if (network.Final(state) != fst::TropicalWeight::Zero()) {
                words.insert(prefix);
                break;
            }
        if (prefix.size() == max_length)
            continue;
        for (char c : alphabet) {
            const auto label = lower.Find(std::string(1, c));
            std::set<int> next;
            for (int state : states)
                for (fst::ArcIterator<Network> it(network, state); !it.Done(); it.Next())
                    if (it.Value().ilabel == label)
                        next.insert(it.Value().nextstate);
            if (!next.empty())
                prefixes.emplace_back(prefix + c, closure(next));
        }
    }
    return words;
}

} // namespace afst_test
