#pragma once

#include <map>
#include <string>
#include <utility>

#include "api/dez_api.h"
#include "handle_exception.h"
#include "object.h"
#include "options_to_string.h"

namespace qvr::engine {

// An engine handle made from an options map, and the map it was made with.
class Engine : public common::Object {
public:
    explicit Engine(const std::map<std::string, std::string>& engine_options)
        : common::Object(create(engine_options)), options(engine_options) {}

    Engine(const Engine&) = default;
    // The source is left without a handle.
    Engine(Engine&&) noexcept = default;
    Engine& operator=(Engine other) noexcept {
        swap(other);
        return *this;
    }
    ~Engine() override = default;

    void swap(Engine& other) noexcept {
        common::Object::swap(other);
        options.swap(other.options);
    }

    const std::map<std::string, std::string>& engine_options() const { return options; }

private:
    static dez_object* create(const std::map<std::string, std::string>& engine_options) {
        const std::string text = common::options_to_string(engine_options);
        dez_exception error;
        error.code = 0;
        dez_object* handle = dez_api_get_engine(text.data(), text.size(), &error);
        common::handle_exception(error);
        return handle;
    }

    std::map<std::string, std::string> options;
};

} // namespace qvr::engine
