#include "api/attribute_name_filters.h"

#include "document/blackboard.h"

namespace dez::trelix::v2 {

namespace {

bool inherited(const std::string& name) {
    return name.compare(0, 7, "inherit") == 0;
}

} // namespace

bool json_printer_attribute_filter::operator()(const std::string& name) const {
    return (name.empty() || name[0] != '_') && !inherited(name);
}

bool json_printer_attribute_filter_dbg::operator()(const std::string& name) const {
    return !inherited(name);
}

bool json_printer_attribute_filter_none::operator()(const std::string&) const {
    return true;
}

AttributeNameFilter get_filter(Blackboard& document) {
    if (document.blackboard_options.rule_info)
        return json_printer_attribute_filter_dbg();
    return json_printer_attribute_filter();
}

} // namespace dez::trelix::v2
