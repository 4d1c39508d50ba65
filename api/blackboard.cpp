#include "api/blackboard.h"

#include "api/analyzer.h"
#include "document/blackboard.h"

namespace dez::api {

Blackboard::Blackboard(Analyzer* analyzer, const std::shared_ptr<dez::IOptions>& options,
                       const char* text, std::size_t length)
    : Object(HandleKind::result),
      blackboard(std::make_shared<dez::trelix::Blackboard>(analyzer, options, text, length)) {}

Blackboard::~Blackboard() = default;

} // namespace dez::api
