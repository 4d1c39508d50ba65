#pragma once

#include "core-afst/walk_network.h"

#include <fst/fst-decl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

// A lexicon (or any network of ours) loaded for lookup: the transducer with
// the texts of its input ("lower") and output ("upper") symbols indexed by
// label, a final flag per state, and the walk form of its arcs. Read-only
// after construction, so lookups on several threads may share one.
class AFst {
public:
    // Refuses (std::invalid_argument) a null transducer or one without both
    // symbol tables.
    explicit AFst(std::shared_ptr<::fst::StdVectorFst> transducer);
    AFst(const AFst&) = delete;
    AFst& operator=(const AFst&) = delete;

    const std::shared_ptr<::fst::StdVectorFst>& transducer() const { return transducer_; }
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

    // Write time of the file the transducer came from, in whole seconds since
    // the epoch; -1 until the engine's shared-transducer cache records it.
    int64_t timestamp = -1;

private:
    std::shared_ptr<::fst::StdVectorFst> transducer_;
    std::vector<std::string> input_texts_;
    std::vector<std::string> output_texts_;
    std::vector<bool> final_flags_;
    WalkNetwork network_;
};

} // namespace dez::afst
