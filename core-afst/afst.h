#pragma once

#include "core-afst/walk_network.h"

#include <fst/fst-decl.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dez::afst {

// A lexicon (or any network of ours) loaded for lookup: the texts of its
// input ("lower") and output ("upper") symbols indexed by label, a final flag
// per state, and the walk form of its arcs. Read-only after construction, so
// lookups on several threads may share one.
//
// The walk form keeps everything the transducer holds, so the AFst does not
// keep the OpenFst network alive: a loaded lexicon would otherwise take its
// memory twice. transducer() hands back the network it was made from while
// someone else still holds it, and otherwise rebuilds it once (for readers
// of arcs in stored order, such as the guesser).
class AFst {
public:
    // Refuses (std::invalid_argument) a null transducer or one without both
    // symbol tables.
    explicit AFst(std::shared_ptr<::fst::StdVectorFst> transducer);
    AFst(const AFst&) = delete;
    AFst& operator=(const AFst&) = delete;
    ~AFst();

    const std::shared_ptr<::fst::StdVectorFst>& transducer() const;
    // Text of every label id below the table's symbol count; "" for an id
    // the table does not hold.
    const std::vector<std::string>& input_texts() const { return input_texts_; }
    const std::vector<std::string>& output_texts() const { return output_texts_; }
    // One per state: the final weight is not the semiring zero.
    const std::vector<bool>& final_flags() const { return final_flags_; }
    bool is_final(int state) const {
        return state >= 0 && static_cast<std::size_t>(state) < final_flags_.size() &&
               final_flags_[state];
    }
    const WalkNetwork& network() const { return network_; }
    std::size_t state_count() const { return network_.state_nodes.size(); }

    // Write time of the file the transducer came from, in whole seconds since
    // the epoch; -1 until the engine's shared-transducer cache records it.
    int64_t timestamp = -1;

private:
    void rebuild_transducer() const;

    std::vector<std::string> input_texts_;
    std::vector<std::string> output_texts_;
    std::vector<bool> final_flags_;
    WalkNetwork network_;

    // What the walk form does not say about the network.
    std::weak_ptr<::fst::StdVectorFst> original_;
    std::unique_ptr<::fst::SymbolTable> input_table_;
    std::unique_ptr<::fst::SymbolTable> output_table_;
    uint64_t properties_ = 0;
    int start_ = -1;
    // Targets of the arcs that lead to no state, in state and arc order.
    std::vector<int> stray_targets_;

    mutable std::once_flag transducer_once_;
    mutable std::shared_ptr<::fst::StdVectorFst> transducer_;
};

} // namespace dez::afst
