#pragma once

#include <functional>
#include <string>

#include "document/attributes.h"

namespace dez::trelix {

class Blackboard;

namespace runtime {
struct Context;
}

// The text of a format holding at least one format section, as the
// analyzer's resolving plugin function answers it for the context; the empty
// text for any other format.
std::string resolve_attribute(Blackboard& document, const std::string& format,
                              runtime::Context& context);

// Resolves the unresolved format values of the list in place. A format
// without any format section keeps its own text. A format that cannot be
// resolved (plugins not allowed, an empty answer, or a failing plugin, which
// is logged) is removed; the other entries keep their order.
void resolve_attributes(Blackboard& document, Attributes& attributes, runtime::Context& context);

// The same with the resolving step given.
using AttributeResolver =
    std::function<std::string(Blackboard&, const std::string&, runtime::Context&)>;
void resolve_attributes(Blackboard& document, Attributes& attributes, runtime::Context& context,
                        const AttributeResolver& resolve);

} // namespace dez::trelix
