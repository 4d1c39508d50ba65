#pragma once

#include <memory>
#include <set>
#include <string>

#include "foundation/options.h"

namespace dez::args {

// The comma-separated value of `key` (or `default_value` when the key is
// absent) split into `out`; an empty value adds nothing.
void parse_option_collection(std::set<std::string>& out,
                             const std::shared_ptr<dez::IOptions>& options, const std::string& key,
                             std::string default_value);

} // namespace dez::args
