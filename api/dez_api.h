#ifndef TRELIX_DEZ_API_H
#define TRELIX_DEZ_API_H

/* The C interface of libtrelix.so. Plain C: hosts include this header alone
   (with the repository root on the include path, for the error record).

   Handles: every dez_object* a call creates starts with one reference; the
   host releases it with dez_api_dec_ref. A handle of the wrong kind, or a null
   handle, is refused with an error instead of being used.

   Errors: the error record is the last argument of most calls and is written
   only when the call fails (set code to 0 before a call to test it after).
   Codes: 1 library error, 2 other failure (also "unknown exception"),
   3 runtime error, 4 logic error (e.g. a null text given with a length),
   5 JSON error (e.g. malformed options text; the message is a JSON object).
   The message is cut to 1023 bytes and always ends with a zero byte. Failing
   calls return 0, null or false; dez_api_get_byte_offset returns all bits set.

   Options are JSON objects of string values, read for the given length when
   it is non-zero and up to the zero byte otherwise; a null or empty text is
   an empty object.

   Returned texts live in the result object (result JSON, metadata, language)
   or in per-thread buffers that stay valid until the same call runs again on
   the same thread (engine information, languages, document id, language
   long names, expanded pipelines; the internal-JSON and profiling calls share
   one buffer).

   Declared here but not in the library yet (they come with the domain,
   filter, language-identification and compiler work; calling them now fails
   at link time, never with a fake success):
     dez_api_load_domain, dez_api_domain_process, dez_api_domain_info,
     dez_api_domain_filename, dez_api_get_domain_concepts,
     dez_api_get_domain_concept_list, get_domain,
     dez_api_create_filter, dez_api_filter_process, dez_api_filter_info,
     dez_api_get_lid_engine, dez_api_language_identification,
     dez_api_language_identification_section,
     dez_api_language_identification_section_json,
     dez_api_compile_domain. */

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "foundation/dez_exception.h"
#include "foundation/dez_object.h"

#if defined(__GNUC__)
#define DEZ_API __attribute__((visibility("default")))
#else
#define DEZ_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opaque views into a result: the annotation collection and one concept. */
typedef struct dez_annotations dez_annotations;
typedef struct dez_concept dez_concept;

/* Handles. A null handle is ignored; add_ref answers the count before, dec_ref
   the count left (-1 for a refused handle). */
DEZ_API dez_object* dez_api_construct(dez_object* handle, dez_exception* error);
DEZ_API int32_t dez_api_add_ref(dez_object* handle, dez_exception* error);
DEZ_API int32_t dez_api_dec_ref(dez_object* handle, dez_exception* error);

/* The inner object of a handle, for code built with the library's C++
   headers; null for a null handle or one of another kind. */
#ifdef __cplusplus
}
namespace dez::trelix {
class Engine;
class Domain;
class Blackboard;
} // namespace dez::trelix
extern "C" {
DEZ_API dez::trelix::Engine* get_engine(dez_object* handle);
DEZ_API dez::trelix::Domain* get_domain(dez_object* handle);
DEZ_API dez::trelix::Blackboard* get_blackboard(dez_object* handle);
#else
DEZ_API void* get_engine(dez_object* handle);
DEZ_API void* get_domain(dez_object* handle);
DEZ_API void* get_blackboard(dez_object* handle);
#endif

/* Engine. */
DEZ_API dez_object* dez_api_get_engine(const char* options, size_t options_length,
                                       dez_exception* error);
DEZ_API const char* dez_api_engine_info(dez_object* engine, size_t* length, dez_exception* error);
DEZ_API const char* dez_api_engine_languages(dez_object* engine, size_t* length,
                                             dez_exception* error);
/* Copies at most `output_size` bytes of the value and always ends the output
   with a zero byte (the value is cut when it does not fit); answers the
   value's full length, so a result >= output_size means it was cut. */
DEZ_API size_t dez_api_engine_property(dez_object* engine, const char* key, size_t key_length,
                                       char* output, size_t output_size, dez_exception* error);
DEZ_API bool dez_api_engine_release_domain(dez_object* engine, const char* name, size_t name_length,
                                           dez_exception* error);
DEZ_API bool dez_api_engine_purge_domains(dez_object* engine, const char* settings,
                                          size_t settings_length, dez_exception* error);
DEZ_API void dez_api_engine_init_plugins(dez_object* engine, dez_exception* error);

/* Domains (not in the library yet). */
DEZ_API dez_object* dez_api_load_domain(dez_object* engine, const char* name, const char* options,
                                        size_t options_length, dez_exception* error);
DEZ_API dez_object* dez_api_domain_process(dez_object* domain, dez_object* result,
                                           dez_exception* error);
DEZ_API const char* dez_api_domain_info(dez_object* domain, dez_exception* error);
DEZ_API bool dez_api_domain_filename(dez_object* domain, char* buffer, size_t* size,
                                     dez_exception* error);
DEZ_API bool dez_api_get_domain_concepts(const char* domain, char* buffer, int32_t* size,
                                         dez_exception* error);
DEZ_API bool dez_api_get_domain_concept_list(const char* domain, char* buffer, int32_t* size,
                                             dez_exception* error);

/* Analysis. */
DEZ_API dez_object* dez_api_get_analyzer(dez_object* engine, const char* options,
                                         size_t options_length, dez_exception* error);
/* The text need not end with a zero byte. */
DEZ_API dez_object* dez_api_analyze_document(dez_object* analyzer, const char* text,
                                             size_t text_length, const char* options,
                                             size_t options_length, dez_exception* error);
/* Runs the analyzer again over the result; answers the same handle. */
DEZ_API dez_object* dez_api_analyze_result(dez_object* analyzer, dez_object* result,
                                           dez_exception* error);
/* On entry *size is the room for text bytes (the buffer holds one more for
   the zero byte). Answers false with the needed length in *size when the
   name does not fit; true with the length written otherwise. */
DEZ_API bool dez_api_analyze_filename(dez_object* analyzer, char* buffer, size_t* size,
                                      dez_exception* error);

/* Results. */
DEZ_API const char* dez_api_get_result_json_buffer(dez_object* result, size_t* length,
                                                   dez_exception* error);
DEZ_API const char* dez_api_get_result_json_metadata_buffer(dez_object* result, size_t* length,
                                                            dez_exception* error);
DEZ_API const char* dez_api_get_internal_result_json_buffer(dez_object* result, size_t* length,
                                                            dez_exception* error);
DEZ_API const char* dez_api_get_profiling_json_buffer(dez_object* result, size_t* length,
                                                      dez_exception* error);
DEZ_API const char* dez_api_get_result_id_buffer(dez_object* result, size_t* length,
                                                 dez_exception* error);
DEZ_API const char* dez_api_get_result_language_buffer(dez_object* result, size_t* length,
                                                       dez_exception* error);
DEZ_API dez_annotations* dez_api_get_result_annotations(dez_object* result, dez_exception* error);
DEZ_API uint32_t dez_api_get_byte_offset(dez_object* result, uint32_t offset, dez_exception* error);
/* Offsets count characters when `unicode` is true and the document keeps a
   character table, bytes otherwise. */
DEZ_API dez_concept* dez_api_get_concept(dez_object* result, uint32_t begin, uint32_t end,
                                         const char* uri, bool unicode, dez_exception* error);
DEZ_API dez_concept* dez_api_add_concept(dez_object* result, uint32_t begin, uint32_t end,
                                         const char* uri, bool unicode, dez_exception* error);
DEZ_API void dez_api_remove_pos(dez_object* result, uint32_t begin, uint32_t end, const char* pos,
                                bool unicode, dez_exception* error);

/* Language identification (not in the library yet). */
DEZ_API dez_object* dez_api_get_lid_engine(dez_object* engine, const char* options,
                                           size_t options_length, dez_exception* error);
DEZ_API size_t dez_api_language_identification(dez_object* lid, const char* text,
                                               size_t text_length, char* output, size_t output_size,
                                               dez_exception* error);
DEZ_API dez_object* dez_api_language_identification_section(dez_object* lid, const char* text,
                                                            size_t text_length,
                                                            dez_exception* error);
DEZ_API const char* dez_api_language_identification_section_json(dez_object* sections);

/* The English name of a language code. */
DEZ_API const char* dez_api_language_longname(const char* code, dez_exception* error);

/* Filters (not in the library yet). */
DEZ_API dez_object* dez_api_create_filter(const char* definition, size_t length,
                                          dez_exception* error);
DEZ_API dez_object* dez_api_filter_process(dez_object* filter, dez_object* result,
                                           dez_exception* error);
DEZ_API const char* dez_api_filter_info(dez_object* filter, size_t* length, dez_exception* error);

/* Compilation and tools. */
DEZ_API const char* dez_api_compile_domain(const char* options, size_t length,
                                           dez_exception* error);
DEZ_API void dez_api_compile_tokenizer_file(const char* path, dez_exception* error);
/* Answers an empty text (not null) on failure. */
DEZ_API const char* dez_api_expand_pipeline(const char* pipeline, size_t pipeline_length,
                                            const char* paths, size_t paths_length,
                                            bool allow_file_access, bool allow_dev,
                                            const char* language, size_t language_length,
                                            dez_exception* error);
DEZ_API bool dez_api_is_valid_version_format(const char* text, size_t length, dez_exception* error);

/* Logging: levels "error", "info", "warning", "debug", "trace"; the runtime
   logs on channel 256, the compiler on 4096. A null callback is refused. */
DEZ_API int dez_api_add_logger(unsigned short id, const char* level,
                               void (*callback)(unsigned short level, const char* text));
DEZ_API int dez_api_set_logger(unsigned short id, const char* level);
DEZ_API const char* dez_api_level_name(const unsigned short* level);

#ifdef __cplusplus
}
#endif

#endif
