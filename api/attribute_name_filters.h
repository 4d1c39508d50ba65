#pragma once

#include <functional>
#include <string>

namespace dez::trelix {
class Blackboard;
}

namespace dez::trelix::v2 {

// Which attribute names the result writers print (true: print it).
using AttributeNameFilter = std::function<bool(const std::string&)>;

// The default: no name starting with '_' or "inherit".
struct json_printer_attribute_filter {
    bool operator()(const std::string& name) const;
};

// With rule information: '_' names too, still no "inherit" ones.
struct json_printer_attribute_filter_dbg {
    bool operator()(const std::string& name) const;
};

// Every name (the flags object of the internal form).
struct json_printer_attribute_filter_none {
    bool operator()(const std::string& name) const;
};

// The document's filter: the debug one when its rule-information flag is on.
AttributeNameFilter get_filter(Blackboard& document);

} // namespace dez::trelix::v2
