#pragma once

// The OpenFst algorithms that several of the builder's operations share, each
// compiled in a file of its own (builder_<algorithm>.cpp). Only .cpp files of
// core-afst (and the builder's equivalence test) include this.

#include <fst/fst-decl.h>

#include <cstddef>
#include <vector>

namespace fst {
struct CacheOptions;
}

namespace dez::afst::detail {

// Options of the delayed operations (compose, intersect, difference): they
// expand at once; OpenFst's cache flag decides whether they collect their
// cache on the way.
fst::CacheOptions delayed_cache_options();

// Quantisation delta of every optimisation.
constexpr float builder_delta = 1.0f / 1024;

// The most states a determinisation (or union of deterministic networks) of
// `input_states` states may make: `Builder::max_expansion_states` or twice
// its input, whichever is more.
std::size_t determinisation_limit(std::size_t input_states);
// AFSTException: a determinisation grew past `limit` states.
[[noreturn]] void refuse_determinisation(std::size_t limit);

// Determinises `source` into `target` over encoded (input, output) label
// pairs. A result beyond determinisation_limit is refused.
void determinize_into(const fst::StdVectorFst& source, fst::StdVectorFst& target);

// OpenFst's epsilon removal in place; arcs that write on an empty input stay.
// A network without epsilon arcs is left as it is.
void remove_epsilon(fst::StdVectorFst& network);

// Attaches copies of `input` and `output` to `network` unless it carries
// tables of the same contents already (each copy is an allocation, and
// every entry of a lexicon is handed its tables several times).
void attach_tables(fst::StdVectorFst& network, const fst::SymbolTable* input,
                   const fst::SymbolTable* output);

// Whether every state is reachable from the start and no state has two arcs
// of one (input, output) pair: determinisation over pairs would only
// renumber the states.
bool deterministic_over_pairs(const fst::StdVectorFst& network);

// Whether `network` is one unweighted path 0 -> 1 -> ... -> last, as an
// entry is before anything is built.
bool single_path(const fst::StdVectorFst& network);

// Whether `network` is unweighted, acyclic and deterministic over pairs with
// every state reachable: entries, unions of entries and lexicons.
bool deterministic_acyclic(const fst::StdVectorFst& network);

// union_acyclic and minimize_acyclic both number the states breadth-first
// from the start, each state's arcs sorted by (input, output).

// The minimal network of the union of `members` (each deterministic_acyclic)
// into `target`, in one pass over the members: no state of the plain union
// is ever made. `shared`: some member is not a single_path (so that sets of
// member states can come twice). An empty union is one state that is not
// final.
void union_acyclic(const std::vector<const fst::StdVectorFst*>& members, bool shared,
                   fst::StdVectorFst& target);

// Minimises a deterministic_acyclic network in place (states from which no
// final state is reached go, as in a connected minimisation).
void minimize_acyclic(fst::StdVectorFst& network);

} // namespace dez::afst::detail
