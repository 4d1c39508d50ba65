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

} // namespace dez::api
