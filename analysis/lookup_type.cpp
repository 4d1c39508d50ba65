#include "analysis/lookup_type.h"

#include <algorithm>

#include "core-afst/lookup_interface.h"

namespace dez::trelix::core {

int64_t get_lookup_type(const std::string& name) {
    // The type numbers are the names' indexes.
    const std::vector<std::string>& names = dez::afst::lookup_mode_names();
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? int64_t{dez::afst::lookup_not_set} : it - names.begin();
}

} // namespace dez::trelix::core
