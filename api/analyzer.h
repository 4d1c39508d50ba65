#pragma once

#include <memory>

#include "analysis/analyzer_interface.h"
#include "foundation/options.h"

namespace dez::trelix {
class Analyzer;
class EngineInterface;
class LanguageModule;
} // namespace dez::trelix

namespace dez::api {

// The public analyzer handle: it owns the analyzer, which documents share.
// The C-interface work puts the handle header (with its reference count)
// first among its bases.
class Analyzer : public AnalyzerInterface {
public:
    Analyzer(std::shared_ptr<dez::trelix::EngineInterface> engine,
             std::shared_ptr<dez::trelix::LanguageModule> language_module,
             std::shared_ptr<dez::IOptions> options);
    ~Analyzer() override;

    std::shared_ptr<dez::trelix::Analyzer> analyzer;
};

} // namespace dez::api
