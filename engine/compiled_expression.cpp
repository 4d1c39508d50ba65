#include "engine/compiled_expression.h"

#include "foundation/convert_range.h"
#include "foundation/regex.h"

namespace dez::trelix {

CompiledExpression::CompiledExpression() = default;
CompiledExpression::~CompiledExpression() = default;

std::shared_ptr<dez::Regex> CompiledExpression::get(const std::string& expression) const {
    if (expression.empty())
        return nullptr;
    if (const Compiled* current = current_.load(std::memory_order_acquire);
        current && current->from == expression)
        return current->regex;
    std::lock_guard<std::mutex> lock(mutex_);
    const Compiled* current = current_.load(std::memory_order_relaxed);
    if (current && current->from == expression)
        return current->regex;
    auto compiled = std::make_unique<Compiled>();
    compiled->regex = std::make_shared<dez::Regex>(dez::tlx::convert_range(expression), false);
    compiled->from = expression;
    compiled_.push_back(std::move(compiled));
    current_.store(compiled_.back().get(), std::memory_order_release);
    return compiled_.back()->regex;
}

} // namespace dez::trelix
