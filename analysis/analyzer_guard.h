#pragma once

#include <memory>
#include <utility>

namespace dez::trelix {

class Analyzer;
class Blackboard;

// Keeps an analyzer alive for as long as a document uses it.
class AnalyzerGuard {
public:
    explicit AnalyzerGuard(std::shared_ptr<Analyzer> analyzer) : analyzer(std::move(analyzer)) {}

    std::shared_ptr<Analyzer> analyzer;
};

// Attaches an analyzer to a document (with its engine and language module)
// and keeps it alive while the guard lives.
class SetAnalyzerGuard {
public:
    SetAnalyzerGuard(std::shared_ptr<Analyzer> analyzer, Blackboard* document);

    std::shared_ptr<Analyzer> analyzer;
    Blackboard* document;
};

} // namespace dez::trelix
