/* The C interface as a host uses it, compiled as C against the public header
   alone: the analysis road from engine to result texts, the error record and
   the host-buffer protocols. Argument: the folder of the fixture language. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "api/dez_api.h"

static int failures = 0;

#define CHECK(condition)                                                                      \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            ++failures;                                                                       \
        }                                                                                     \
    } while (0)

static void reset(dez_exception* error) {
    error->code = 0;
    memset(error->message, 'x', sizeof error->message);
    error->message[0] = '\0';
}

static int contains(const char* text, const char* part) {
    return text && strstr(text, part) != NULL;
}

static int starts_with(const char* text, const char* prefix) {
    return text && strncmp(text, prefix, strlen(prefix)) == 0;
}

static dez_object* make_engine(const char* data) {
    char options[4096];
    dez_exception error;
    reset(&error);
    snprintf(options, sizeof options, "{\"root_path\":\"%s\",\"morfex\":\"%s\"}", data, data);
    return dez_api_get_engine(options, 0, &error);
}

/* Engine, analyzer, one document, its three texts, and the releases. */
static void analysis_road(dez_object* engine) {
    dez_exception error;
    const char text[] = "Anna walks to Paris.";
    size_t length = 0;
    const char* json;
    dez_object* analyzer;
    dez_object* result;

    reset(&error);
    analyzer = dez_api_get_analyzer(engine, "{\"language\":\"fixture\"}", 0, &error);
    CHECK(analyzer != NULL);
    CHECK(error.code == 0);
    if (!analyzer)
        return;
    /* Not zero-terminated: only the given length is read. */
    result = dez_api_analyze_document(analyzer, text, 10, "{\"id\":\"doc-1\"}", 0, &error);
    CHECK(result != NULL);
    CHECK(error.code == 0);
    /* The result keeps its analyzer alive. */
    CHECK(dez_api_dec_ref(analyzer, &error) == 0);
    if (!result)
        return;

    json = dez_api_get_result_json_buffer(result, &length, &error);
    CHECK(json != NULL);
    CHECK(length == strlen(json));
    CHECK(starts_with(json, "{\"id\":\"doc-1\",\"language\":\"fixture\",\"sentences\":[ [1,0,10,"));
    CHECK(contains(json, "\"Anna\""));
    CHECK(contains(json, "\"walks\""));
    CHECK(!contains(json, "Paris"));

    json = dez_api_get_result_json_metadata_buffer(result, &length, &error);
    CHECK(json != NULL && strcmp(json, "{}") == 0 && length == 2);

    json = dez_api_get_internal_result_json_buffer(result, &length, &error);
    CHECK(json != NULL);
    CHECK(contains(json, "\"sentences\":[ "));
    CHECK(contains(json, ",\"streams\" : []}"));
    CHECK(length == strlen(json));

    /* The profiling call empties the buffer the internal JSON lives in. */
    CHECK(dez_api_get_profiling_json_buffer(result, &length, &error) == json);
    CHECK(length == 0 && json[0] == '\0');

    json = dez_api_get_result_id_buffer(result, &length, &error);
    CHECK(json != NULL && strcmp(json, "doc-1") == 0 && length == 5);
    json = dez_api_get_result_language_buffer(result, &length, &error);
    CHECK(json != NULL && strcmp(json, "fixture") == 0 && length == 7);
    CHECK(dez_api_get_byte_offset(result, 5, &error) == 5);
    CHECK(error.code == 0);

    CHECK(dez_api_add_ref(result, &error) == 1);
    CHECK(dez_api_dec_ref(result, &error) == 1);
    CHECK(dez_api_dec_ref(result, &error) == 0);
}

/* The error record: codes, the guard messages, the cut, and a record left
   alone by calls that succeed. */
static void error_record(dez_object* engine) {
    dez_exception error;
    char key[2001];
    char output[8];
    dez_object* analyzer;

    reset(&error);
    CHECK(dez_api_get_analyzer(NULL, "{}", 0, &error) == NULL);
    CHECK(error.code == 1);
    CHECK(strcmp(error.message, "Engine has not been initialized.") == 0);
    /* Every byte after the message is zero. */
    CHECK(error.message[sizeof error.message - 1] == '\0' &&
          error.message[strlen(error.message) + 1] == '\0');

    /* A later success leaves the stale record as it was. */
    CHECK(dez_api_is_valid_version_format("1.2", 3, &error));
    CHECK(error.code == 1);

    reset(&error);
    CHECK(dez_api_analyze_document(NULL, "a", 1, "{}", 0, &error) == NULL);
    CHECK(error.code == 1);
    CHECK(strcmp(error.message, "Analyzer has not been initialized.") == 0);

    /* A handle of another kind is refused, not used. */
    reset(&error);
    CHECK(dez_api_analyze_document(engine, "a", 1, "{}", 0, &error) == NULL);
    CHECK(error.code == 1);
    CHECK(strcmp(error.message, "Invalid handle: not an analyzer.") == 0);

    reset(&error);
    CHECK(dez_api_get_analyzer(engine, "{\"language\":", 0, &error) == NULL);
    CHECK(error.code == 5);
    CHECK(error.message[0] == '{' && contains(error.message, "Invalid json stream:"));

    /* Only the given length of the options is read. */
    reset(&error);
    analyzer = dez_api_get_analyzer(engine, "{\"language\":\"fixture\"} trailing", 22, &error);
    CHECK(analyzer != NULL && error.code == 0);

    reset(&error);
    CHECK(dez_api_get_analyzer(engine, "{\"language\":3}", 0, &error) == NULL);
    CHECK(error.code == 2);

    reset(&error);
    CHECK(dez_api_analyze_document(analyzer, NULL, 4, "{}", 0, &error) == NULL);
    CHECK(error.code == 4);
    CHECK(strcmp(error.message, "basic_string::_S_construct null not valid") == 0);

    /* A message of more than 1023 bytes keeps its first 1023. */
    memset(key, 'k', sizeof key - 1);
    key[sizeof key - 1] = '\0';
    reset(&error);
    CHECK(dez_api_engine_property(engine, key, sizeof key - 1, output, sizeof output, &error) ==
          0);
    CHECK(error.code == 1);
    CHECK(strlen(error.message) == 1023);
    CHECK(starts_with(error.message, "Unkown attribute. [kkk"));

    /* A value longer than the output is cut and still ends with a zero. */
    reset(&error);
    memset(output, 'x', sizeof output);
    CHECK(dez_api_engine_property(engine, "morfex", 6, output, 4, &error) > 4);
    CHECK(error.code == 0 && strlen(output) == 3 && output[4] == 'x');

    if (analyzer)
        dez_api_dec_ref(analyzer, &error);
}

/* The file-name buffer: exactly fitting, one byte short, and the need. */
static void filename_buffer(dez_object* engine) {
    dez_exception error;
    char name[4096];
    size_t size = 0;
    size_t needed;
    dez_object* analyzer;

    reset(&error);
    analyzer = dez_api_get_analyzer(engine, "{\"language\":\"fixture\"}", 0, &error);
    CHECK(analyzer != NULL);
    if (!analyzer)
        return;
    CHECK(!dez_api_analyze_filename(analyzer, NULL, &size, &error));
    needed = size;
    CHECK(needed > strlen("fixture.language"));
    CHECK(error.code == 0);

    size = needed - 1;
    memset(name, 'x', sizeof name);
    CHECK(!dez_api_analyze_filename(analyzer, name, &size, &error));
    CHECK(size == needed && name[0] == 'x');

    size = needed;
    CHECK(dez_api_analyze_filename(analyzer, name, &size, &error));
    CHECK(size == needed && name[needed] == '\0' && strlen(name) == needed);
    CHECK(contains(name, "fixture.language"));
    dez_api_dec_ref(analyzer, &error);
}

int main(int argc, char** argv) {
    dez_exception error;
    dez_object* engine;

    if (argc != 2) {
        fputs("usage: c_interface_test FIXTURE_FOLDER\n", stderr);
        return 2;
    }
    engine = make_engine(argv[1]);
    CHECK(engine != NULL);
    if (!engine)
        return 1;
    analysis_road(engine);
    error_record(engine);
    filename_buffer(engine);
    reset(&error);
    CHECK(dez_api_dec_ref(engine, &error) == 0);
    CHECK(dez_api_dec_ref(NULL, &error) == -1 && error.code == 0);

    if (failures)
        fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
