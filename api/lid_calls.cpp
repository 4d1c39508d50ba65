// The language-identification calls of the C interface.

#include <memory>
#include <string>

#include "analysis/lid.h"
#include "analysis/lid_result.h"
#include "api/api_arguments.h"
#include "api/copy_out.h"
#include "api/dez_api.h"
#include "api/engine.h"
#include "api/error_frame.h"
#include "engine/engine.h"

using dez::api::error_frame;
using dez::api::expect_handle;
using dez::api::HandleKind;

namespace {

constexpr const char* no_lid = "Lid engine not initialized.";

const dez::trelix::Lid& lid_of(dez_object* handle) {
    return expect_handle<dez::trelix::Lid>(handle, HandleKind::lid, no_lid);
}

} // namespace

extern "C" {

dez_object* dez_api_get_lid_engine(dez_object* engine, const char* options, size_t options_length,
                                   dez_exception* error) {
    return error_frame<dez_object*>(error, nullptr, [&]() -> dez_object* {
        // The identifier keeps the engine's lid.fst, not the engine: it stays
        // usable after the engine handle is released.
        return new dez::trelix::Lid(&dez::api::engine_of(engine),
                                    dez::api::options_argument(options, options_length));
    });
}

size_t dez_api_language_identification(dez_object* lid, const char* text, size_t text_length,
                                       char* output, size_t output_size, dez_exception* error) {
    return error_frame<size_t>(error, 0, [&] {
        const dez::trelix::Lid& identifier = lid_of(lid);
        const std::string language =
            identifier.lid(dez::api::text_in_place(text, text_length), text_length);
        return dez::api::bounded_copy(language, output, output_size);
    });
}

dez_object* dez_api_language_identification_section(dez_object* lid, const char* text,
                                                    size_t text_length, dez_exception* error) {
    return error_frame<dez_object*>(error, nullptr, [&]() -> dez_object* {
        const dez::trelix::Lid& identifier = lid_of(lid);
        auto sections = std::make_unique<dez::trelix::LidResult>();
        sections->text =
            identifier.language_sections(dez::api::text_in_place(text, text_length), text_length);
        return sections.release();
    });
}

const char* dez_api_language_identification_section_json(dez_object* sections) {
    auto* result = dez::api::handle_cast<dez::trelix::LidResult>(sections, HandleKind::lid_result);
    return result ? result->text.c_str() : nullptr;
}

} // extern "C"
