#pragma once

#include <memory>
#include <utility>

namespace dez::trelix {

class Analyzer;

// Keeps an analyzer alive for as long as a document uses it.
class AnalyzerGuard {
public:
    explicit AnalyzerGuard(std::shared_ptr<Analyzer> analyzer) : analyzer(std::move(analyzer)) {}

    std::shared_ptr<Analyzer> analyzer;
};

} // namespace dez::trelix
