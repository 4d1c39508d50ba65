#pragma once

#include <cstddef>
#include <string>

namespace dez::afst::serialization {

// Checks a stored transducer payload before OpenFst reads it: OpenFst trusts
// the counts and lengths of its format, so a corrupt row could make it loop
// over billions of missing bytes, reserve room for billions of states or
// arcs, or hand back arcs into states that do not exist.
//
// The payload must be exactly one VectorFst over the standard arc as OpenFst
// writes it: its header (type "vector", arc type "standard", version 2 or
// later, no unknown flag bits, properties without the error bit or a
// contradiction), the symbol tables the flags announce, then every state
// with its final weight and arcs, and nothing after them. Every length and
// count must fit in the bytes that remain; labels, symbol keys and states
// must not be negative, arcs and the start must lead to existing states (only
// a network without states has no start), and no weight may be NaN or minus
// infinity.
//
// Returns why the payload is refused, or an empty text when it is sound.
std::string check_fsm_payload(const char* data, std::size_t size);

} // namespace dez::afst::serialization
