#include "api/engine.h"

#include "engine/engine.h"
#include "foundation/exception.h"

namespace dez::api {

Engine::Engine(std::shared_ptr<dez::trelix::Engine> engine)
    : Object(HandleKind::engine), engine(std::move(engine)) {}

Engine::~Engine() = default;

dez::trelix::Engine& engine_of(dez_object* handle) {
    constexpr const char* no_engine = "Engine has not been initialized.";
    auto& object = expect_handle<Engine>(handle, HandleKind::engine, no_engine);
    if (!object.engine)
        throw dez::Exception(no_engine);
    return *object.engine;
}

} // namespace dez::api
