#include "analysis/analyzer_guard.h"

#include "document/blackboard.h"

namespace dez::trelix {

SetAnalyzerGuard::SetAnalyzerGuard(std::shared_ptr<Analyzer> analyzer, Blackboard* document)
    : analyzer(std::move(analyzer)), document(document) {
    if (this->document)
        this->document->set_analyzer(this->analyzer);
}

} // namespace dez::trelix
