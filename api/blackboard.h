#pragma once

#include <cstddef>
#include <memory>

#include "api/object.h"
#include "document/blackboard_interface.h"
#include "foundation/options.h"

namespace dez::trelix {
class Blackboard;
}

namespace dez::api {

class Analyzer;

// The public result handle: one analysed document. Its blackboard keeps the
// analyzer alive, so the result outlives the analyzer handle.
class Blackboard : public Object, public BlackboardInterface {
public:
    Blackboard(Analyzer* analyzer, const std::shared_ptr<dez::IOptions>& options, const char* text,
               std::size_t length);
    ~Blackboard() override;

    std::shared_ptr<dez::trelix::Blackboard> blackboard;
};

// The result behind a host handle; dez::Exception "Result Object has not been
// initialized." for a null handle or one without a document, and the handle
// check's error for a handle of another kind.
Blackboard& result_of(dez_object* handle);

} // namespace dez::api
