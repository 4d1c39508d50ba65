#pragma once

#include <stdexcept>
#include <string>

#include "domain/pipeline_component.h"

namespace dez::pipeline {

// A component the expansion rejects as a whole; carries the component so the
// failure can name it.
class pipeline_error : public std::runtime_error {
public:
    pipeline_error(const std::string& message, const Component& component)
        : std::runtime_error(message), component(component) {}

    Component component;
};

} // namespace dez::pipeline
