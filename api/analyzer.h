#pragma once

#include <memory>

#include "analysis/analyzer_interface.h"
#include "api/object.h"
#include "foundation/options.h"

namespace dez::trelix {
class Analyzer;
class EngineInterface;
class LanguageModule;
} // namespace dez::trelix

namespace dez::api {

// The public analyzer handle: it owns the analyzer, which documents share.
class Analyzer : public Object, public AnalyzerInterface {
public:
    Analyzer(std::shared_ptr<dez::trelix::EngineInterface> engine,
             std::shared_ptr<dez::trelix::LanguageModule> language_module,
             std::shared_ptr<dez::IOptions> options);
    ~Analyzer() override;

    std::shared_ptr<dez::trelix::Analyzer> analyzer;
};

} // namespace dez::api
