#include "analysis/dictionary_lookup.h"

namespace dez::trelix {

// Stand-ins until the morphology attachment work lands: no readings yet.
void add_dictionary_lookup_information(Blackboard&) {}
void additional_dictionary_lookup_information(Blackboard&) {}

} // namespace dez::trelix
