#pragma once

#include <memory>

#include "api/object.h"

namespace dez::trelix {
class Engine;
}

namespace dez::api {

// The public engine handle.
class Engine : public Object {
public:
    explicit Engine(std::shared_ptr<dez::trelix::Engine> engine);
    ~Engine() override;

    std::shared_ptr<dez::trelix::Engine> engine;
};

// The engine behind a host handle; dez::Exception "Engine has not been
// initialized." for a null handle or one without an engine, and the handle
// check's error for a handle of another kind.
dez::trelix::Engine& engine_of(dez_object* handle);

} // namespace dez::api
