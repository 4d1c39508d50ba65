#include "api/engine.h"

#include "engine/engine.h"

namespace dez::api {

Engine::Engine(std::shared_ptr<dez::trelix::Engine> engine)
    : Object(HandleKind::engine), engine(std::move(engine)) {}

Engine::~Engine() = default;

} // namespace dez::api
