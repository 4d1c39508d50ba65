// The engine and analysis calls of the C interface.

#include <memory>
#include <string>

#include "analysis/analyzer.h"
#include "api/analyzer.h"
#include "api/api_arguments.h"
#include "api/blackboard.h"
#include "api/copy_out.h"
#include "api/dez_api.h"
#include "api/engine.h"
#include "api/error_frame.h"
#include "api/thread_buffers.h"
#include "engine/engine.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"

using dez::api::answer_text;
using dez::api::engine_of;
using dez::api::error_frame;
using dez::api::expect_handle;
using dez::api::HandleKind;
using dez::api::result_of;

namespace {

constexpr const char* no_analyzer = "Analyzer has not been initialized.";

dez::api::Analyzer& analyzer_of(dez_object* handle) {
    auto& object = expect_handle<dez::api::Analyzer>(handle, HandleKind::analyzer, no_analyzer);
    if (!object.analyzer)
        throw dez::Exception(no_analyzer);
    return object;
}

} // namespace

extern "C" {

dez_object* dez_api_get_engine(const char* options, size_t options_length, dez_exception* error) {
    return error_frame<dez_object*>(error, nullptr, [&]() -> dez_object* {
        auto engine = std::make_shared<dez::trelix::Engine>(
            dez::api::options_argument(options, options_length));
        return new dez::api::Engine(std::move(engine));
    });
}

const char* dez_api_engine_info(dez_object* engine, size_t* length, dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        return answer_text(dez::api::thread_buffers().engine_info_data = engine_of(engine).info(),
                           length);
    });
}

const char* dez_api_engine_languages(dez_object* engine, size_t* length, dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        return answer_text(dez::api::thread_buffers().tl_languages = engine_of(engine).languages(),
                           length);
    });
}

size_t dez_api_engine_property(dez_object* engine, const char* key, size_t key_length, char* output,
                               size_t output_size, dez_exception* error) {
    return error_frame<size_t>(error, 0, [&] {
        dez::trelix::Engine& inner = engine_of(engine);
        const std::string value = inner.property(dez::api::text_argument(key, key_length));
        return dez::api::bounded_copy(value, output, output_size);
    });
}

bool dez_api_engine_release_domain(dez_object* engine, const char* name, size_t name_length,
                                   dez_exception* error) {
    return error_frame<bool>(error, false, [&] {
        dez::trelix::Engine& inner = engine_of(engine);
        return inner.release_domain(dez::api::text_argument(name, name_length));
    });
}

bool dez_api_engine_purge_domains(dez_object* engine, const char* settings, size_t settings_length,
                                  dez_exception* error) {
    return error_frame<bool>(error, false, [&] {
        dez::trelix::Engine& inner = engine_of(engine);
        return inner.purge_domains(dez::api::text_argument(settings, settings_length));
    });
}

void dez_api_engine_init_plugins(dez_object* engine, dez_exception* error) {
    dez::api::error_frame_void(error, [&] { engine_of(engine).init_plugins(); });
}

dez_object* dez_api_get_analyzer(dez_object* engine, const char* options, size_t options_length,
                                 dez_exception* error) {
    return error_frame<dez_object*>(error, nullptr, [&]() -> dez_object* {
        dez::trelix::Engine& inner = engine_of(engine);
        auto bag = dez::api::options_argument(options, options_length);
        auto module = inner.get_language_module(bag);
        std::shared_ptr<dez::trelix::Engine> shared = inner.shared_from_this();
        return new dez::api::Analyzer(std::move(shared), std::move(module), std::move(bag));
    });
}

dez_object* dez_api_analyze_document(dez_object* analyzer, const char* text, size_t text_length,
                                     const char* options, size_t options_length,
                                     dez_exception* error) {
    return error_frame<dez_object*>(error, nullptr, [&]() -> dez_object* {
        dez::api::Analyzer& handle = analyzer_of(analyzer);
        auto bag = dez::api::options_argument(options, options_length);
        const char* input = dez::api::text_in_place(text, text_length);
        auto result = std::make_unique<dez::api::Blackboard>(&handle, bag, input, text_length);
        handle.analyzer->generate(*result->blackboard, input, text_length);
        return result.release();
    });
}

dez_object* dez_api_analyze_result(dez_object* analyzer, dez_object* result, dez_exception* error) {
    return error_frame<dez_object*>(error, nullptr, [&]() -> dez_object* {
        dez::api::Analyzer& handle = analyzer_of(analyzer);
        dez::api::Blackboard& document = result_of(result);
        handle.analyzer->generate(*document.blackboard);
        return result;
    });
}

bool dez_api_analyze_filename(dez_object* analyzer, char* buffer, size_t* size,
                              dez_exception* error) {
    return error_frame<bool>(error, false, [&] {
        const dez::trelix::Analyzer& inner = *analyzer_of(analyzer).analyzer;
        // The file of the analyzer's language module.
        const dez::trelix::LanguageModule* module = inner.language_module.get();
        const std::string name =
            module && module->data ? module->data->config_filename : std::string();
        return dez::api::copy_to_host_buffer(name, buffer, size);
    });
}

} // extern "C"
