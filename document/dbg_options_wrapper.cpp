#include "document/dbg_options_wrapper.h"

#include "analysis/analyzer.h"

namespace dez::trelix {

bool dbg_options_wrapper::operator[](const std::string& name) const {
    return analyzer && analyzer->dbg_options.count(name) != 0;
}

} // namespace dez::trelix
