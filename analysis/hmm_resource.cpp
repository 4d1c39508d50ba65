#include "analysis/hmm_resource.h"

namespace dez::trelix::core::hmm {

// Stand-in: empty tables, so the tagger does not run. The HMM tagger work
// reads the "start-hmm", "emission-hmm" and "transmission-hmm" rows here.
Resource load(const std::string& /*path*/) {
    return Resource();
}

} // namespace dez::trelix::core::hmm
