// The tool calls of the C interface that need no handle: language names,
// pipeline expansion, tokenizer caches and version texts.

#include <string>
#include <vector>

#include "analysis/lid_store.h"
#include "api/api_arguments.h"
#include "api/dez_api.h"
#include "api/error_frame.h"
#include "api/thread_buffers.h"
#include "domain/pipeline_expansion.h"
#include "engine/tokenizer_cache_file.h"
#include "foundation/language_table.h"
#include "foundation/string_utils.h"
#include "foundation/version.h"

using dez::api::error_frame;

extern "C" {

const char* dez_api_language_longname(const char* code, dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        dez::api::require_text(code);
        std::string& buffer = dez::api::thread_buffers().language_return_value;
        buffer = dez::language::longname(code, false);
        // The identifier answers script-block codes the language table lacks
        // (with "long_names" off); their name is the code itself, as the
        // identifier's own long names have it.
        if (buffer == "not-supported")
            buffer = dez::lid::language_long_name(code);
        return buffer.c_str();
    });
}

void dez_api_compile_tokenizer_file(const char* path, dez_exception* error) {
    dez::api::error_frame_void(error, [&] {
        dez::api::require_text(path);
        dez::trelix::create_tokenizer_cache_file(std::string(path));
    });
}

const char* dez_api_expand_pipeline(const char* pipeline, size_t pipeline_length, const char* paths,
                                    size_t paths_length, bool allow_file_access, bool allow_dev,
                                    const char* language, size_t language_length,
                                    dez_exception* error) {
    std::string& buffer = dez::api::thread_buffers().pipline_data;
    const char* expanded = error_frame<const char*>(error, nullptr, [&] {
        const std::string text = dez::api::text_argument(pipeline, pipeline_length);
        const std::vector<std::string> folders =
            dez::string::split_vector(dez::api::text_argument(paths, paths_length), ':', true);
        const std::string third = dez::api::text_argument(language, language_length);
        buffer = dez::pipeline::expand(text, folders, allow_file_access, allow_dev, third);
        return buffer.c_str();
    });
    if (expanded)
        return expanded;
    buffer.clear();
    return buffer.c_str();
}

bool dez_api_is_valid_version_format(const char* text, size_t length, dez_exception* error) {
    return error_frame<bool>(error, false, [&] {
        return dez::version::is_valid_version_format(dez::api::text_argument(text, length));
    });
}

} // extern "C"
