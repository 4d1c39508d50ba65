#include "analysis/disambiguation.h"

namespace dez::trelix {

// Stand-ins until the disambiguation work lands: readings stay as they are.
bool disambiguate(Blackboard&) { return true; }
bool auto_disambiguate(Blackboard&) { return true; }

} // namespace dez::trelix
