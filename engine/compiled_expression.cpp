#include "engine/compiled_expression.h"

#include "foundation/convert_range.h"
#include "foundation/regex.h"

namespace dez::trelix {

std::shared_ptr<dez::Regex> CompiledExpression::get(const std::string& expression) const {
    if (expression.empty())
        return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!regex_ || compiled_from_ != expression) {
        regex_ = std::make_shared<dez::Regex>(dez::tlx::convert_range(expression), false);
        compiled_from_ = expression;
    }
    return regex_;
}

} // namespace dez::trelix
