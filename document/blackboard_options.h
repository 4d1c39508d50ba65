#pragma once

#include "document/option_anywhere.h"

namespace dez::trelix {

// Five settings of a document, read once when it is made.
class BlackboardOptions : public OptionAnywhere {
public:
    // Reads through the document's option view and its analyzer's debug
    // flags, which must exist by then.
    explicit BlackboardOptions(const Blackboard& blackboard);

    // Option "detect_headers"; the language's setting when no options set it.
    bool detect_headers;
    bool initial_lower_casing;
    // Debug flags.
    bool rule_trigger;
    // Also set by rule_info_short.
    bool rule_info;
    bool rule_info_short;
};

} // namespace dez::trelix
