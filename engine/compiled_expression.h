#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace dez {
class Regex;
}

namespace dez::trelix {

// A language's word-list expression, compiled on first use and then shared by
// every document of the module. Thread-safe.
class CompiledExpression {
public:
    // Null for an empty expression; compiles again only when the expression
    // differs from the one compiled last. A compile error propagates and
    // keeps nothing.
    std::shared_ptr<dez::Regex> get(const std::string& expression) const;

private:
    mutable std::mutex mutex_;
    mutable std::string compiled_from_;
    mutable std::shared_ptr<dez::Regex> regex_;
};

} // namespace dez::trelix
