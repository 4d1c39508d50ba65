#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dez {
class Regex;
}

namespace dez::trelix {

// A language's word-list expression, compiled on first use and then shared by
// every document of the module. Thread-safe; documents take no lock once the
// expression is compiled.
class CompiledExpression {
public:
    CompiledExpression();
    ~CompiledExpression();
    CompiledExpression(const CompiledExpression&) = delete;
    CompiledExpression& operator=(const CompiledExpression&) = delete;

    // Null for an empty expression; compiles again only when the expression
    // differs from the one compiled last. A compile error propagates and
    // keeps nothing.
    std::shared_ptr<dez::Regex> get(const std::string& expression) const;

private:
    struct Compiled {
        std::string from;
        std::shared_ptr<dez::Regex> regex;
    };
    mutable std::mutex mutex_;
    // Readers may still hold an earlier compilation while a changed
    // expression is compiled, so every one is kept until destruction (the
    // expression changes only while a module is set up).
    mutable std::vector<std::unique_ptr<Compiled>> compiled_;
    mutable std::atomic<const Compiled*> current_{nullptr};
};

} // namespace dez::trelix
