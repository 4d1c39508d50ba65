#pragma once

// The OpenFst algorithms that several of the builder's operations share, each
// compiled in a file of its own (builder_<algorithm>.cpp). Only .cpp files of
// core-afst include this.

#include <fst/fst-decl.h>

#include <cstddef>

namespace dez::afst::detail {

// Quantisation delta of every optimisation.
constexpr float builder_delta = 1.0f / 1024;

// Determinises `source` into `target` over encoded (input, output) label
// pairs. A result of more than `Builder::max_expansion_states` states and
// more than twice `source`'s states is refused with AFSTException.
void determinize_into(const fst::StdVectorFst& source, fst::StdVectorFst& target);

// OpenFst's epsilon removal in place; arcs that write on an empty input stay.
void remove_epsilon(fst::StdVectorFst& network);

} // namespace dez::afst::detail
