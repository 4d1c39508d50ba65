#include "domain/output_filter.h"

#include "document/regex_filter.h"
#include "foundation/convert_range.h"

namespace dez::trelix {

void OutputFilter::add(const std::string& name) {
    names.insert(name);
}

void OutputFilter::build() {
    std::string joined;
    bool first = true;
    for (const std::string& name : names) {
        if (!first)
            joined += '|';
        joined += name;
        first = false;
    }
    if (joined.size() > 1 && joined.front() == '/' && joined.back() == '/')
        joined = joined.substr(1, joined.size() - 2);
    filter = std::make_shared<RegexFilter>(dez::tlx::convert_range(joined));
}

bool OutputFilter::has(const std::string& name) const {
    return !filter || (*filter)(name);
}

} // namespace dez::trelix
