#include "api/blackboard.h"

#include "api/analyzer.h"
#include "document/blackboard.h"
#include "foundation/exception.h"

namespace dez::api {

Blackboard::Blackboard(Analyzer* analyzer, const std::shared_ptr<dez::IOptions>& options,
                       const char* text, std::size_t length)
    : Object(HandleKind::result),
      blackboard(std::make_shared<dez::trelix::Blackboard>(analyzer, options, text, length)) {}

Blackboard::~Blackboard() = default;

Blackboard& result_of(dez_object* handle) {
    constexpr const char* no_result = "Result Object has not been initialized.";
    auto& object = expect_handle<Blackboard>(handle, HandleKind::result, no_result);
    if (!object.blackboard)
        throw dez::Exception(no_result);
    return object;
}

} // namespace dez::api
