#include "document/blackboard_options.h"

#include "document/blackboard.h"

namespace dez::trelix {

BlackboardOptions::BlackboardOptions(const Blackboard& blackboard)
    : OptionAnywhere(blackboard), detect_headers(get_bool("detect_headers", true)),
      initial_lower_casing(get_bool("initial_lower_casing", true)),
      rule_trigger(blackboard.dbg_options["rule_trigger"]),
      rule_info(blackboard.dbg_options["rule_info"] || blackboard.dbg_options["rule_info_short"]),
      rule_info_short(blackboard.dbg_options["rule_info_short"]) {}

} // namespace dez::trelix
