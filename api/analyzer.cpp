#include "api/analyzer.h"

#include "analysis/analyzer.h"

namespace dez::api {

Analyzer::Analyzer(std::shared_ptr<dez::trelix::EngineInterface> engine,
                   std::shared_ptr<dez::trelix::LanguageModule> language_module,
                   std::shared_ptr<dez::IOptions> options)
    : Object(HandleKind::analyzer),
      analyzer(std::make_shared<dez::trelix::Analyzer>(
          std::move(engine), std::move(language_module), std::move(options))) {}

Analyzer::~Analyzer() = default;

} // namespace dez::api
