#include "analysis/lid.h"

#include "analysis/lid_store.h"
#include "foundation/exception.h"
#include "foundation/options.h"

namespace dez::trelix {

namespace {

[[noreturn]] void not_initialized() {
    throw dez::FatalException("Lid engine not initialized.");
}

} // namespace

Lid::Lid(const EngineInterface* engine, std::shared_ptr<dez::IOptions> options_in)
    : Object(dez::api::HandleKind::lid), options(std::move(options_in)),
      store(dez::lid::createStore(engine, options)) {
    if (!store)
        not_initialized();
}

Lid::~Lid() = default;

std::string Lid::lid(const char* text, std::size_t length) const {
    if (!store)
        not_initialized();
    return store->identify_language(text, length).language;
}

std::string Lid::language_sections(const char* text, std::size_t length) const {
    if (!store)
        not_initialized();
    return store->identify_language_sections(text, length);
}

} // namespace dez::trelix
