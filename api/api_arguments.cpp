#include "api/api_arguments.h"

#include <cstring>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "foundation/exception.h"

namespace dez::api {

namespace {

// Short enough that the JSON message survives the error record's cut.
constexpr std::size_t max_detail = 400;

[[noreturn]] void refuse_options(const std::string& detail) {
    const nlohmann::json message = {
        {"exception_type", "invalid_options"},
        {"exception_msg", "Invalid json stream: " + detail.substr(0, max_detail)}};
    throw dez::JSONThrowException(
        message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

} // namespace

void require_text(const char* text) {
    if (!text)
        throw std::logic_error("basic_string::_S_construct null not valid");
}

const char* text_in_place(const char* text, std::size_t length) {
    if (length)
        require_text(text);
    return text ? text : "";
}

std::string text_argument(const char* text, std::size_t length) {
    if (length == 0)
        return std::string();
    require_text(text);
    return std::string(text, length);
}

std::shared_ptr<dez::IOptions> options_argument(const char* text, std::size_t length) {
    auto options = std::make_shared<dez::Options>();
    *options->json = nlohmann::json::object();
    if (!text)
        return options;
    const std::string json_text(text, length ? length : std::strlen(text));
    if (json_text.empty())
        return options;
    nlohmann::json value;
    try {
        value = nlohmann::json::parse(json_text);
    } catch (const nlohmann::json::exception& e) {
        refuse_options(e.what());
    }
    if (!value.is_object())
        refuse_options("the options must be a JSON object, not " + std::string(value.type_name()));
    *options->json = std::move(value);
    return options;
}

} // namespace dez::api
