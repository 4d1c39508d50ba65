/* Analyses one text through the C interface and prints its result JSON.

   trelix_run [--data FOLDER] [--language NAME] [--options JSON]
              [--text TEXT | FILE | -]

   The text comes from --text, from a file, or from standard input ("-" or
   no text argument). FOLDER holds the language's ".language" file (default:
   tests/data/run); NAME defaults to "fixture". --options are the document
   options, a JSON object. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "api/dez_api.h"

typedef struct {
    char* data;
    size_t size;
    size_t room;
} buffer;

static int append(buffer* b, const char* bytes, size_t count) {
    if (b->size + count + 1 > b->room) {
        size_t room = b->room ? b->room : 256;
        while (room < b->size + count + 1)
            room *= 2;
        char* grown = realloc(b->data, room);
        if (!grown)
            return 0;
        b->data = grown;
        b->room = room;
    }
    memcpy(b->data + b->size, bytes, count);
    b->size += count;
    b->data[b->size] = '\0';
    return 1;
}

static int read_stream(FILE* in, buffer* b) {
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, in)) > 0)
        if (!append(b, chunk, got))
            return 0;
    return !ferror(in) && append(b, "", 0);
}

/* A JSON string literal of the text. */
static int append_json_string(buffer* b, const char* text) {
    int ok = append(b, "\"", 1);
    for (; ok && *text; ++text) {
        unsigned char c = (unsigned char)*text;
        char escape[8];
        if (c == '"' || c == '\\') {
            escape[0] = '\\';
            escape[1] = (char)c;
            ok = append(b, escape, 2);
        } else if (c < 0x20) {
            snprintf(escape, sizeof escape, "\\u%04x", c);
            ok = append(b, escape, 6);
        } else {
            ok = append(b, text, 1);
        }
    }
    return ok && append(b, "\"", 1);
}

static int failed(const char* what, const dez_exception* error) {
    fprintf(stderr, "trelix_run: %s failed (code %d): %s\n", what, (int)error->code,
            error->message);
    return 1;
}

static int usage(void) {
    fputs("usage: trelix_run [--data FOLDER] [--language NAME] [--options JSON]"
          " [--text TEXT | FILE | -]\n",
          stderr);
    return 2;
}

int main(int argc, char** argv) {
    const char* data = "tests/data/run";
    const char* language = "fixture";
    const char* document_options = "{}";
    const char* text_argument = NULL;
    const char* file = NULL;
    buffer text = {NULL, 0, 0};
    buffer options = {NULL, 0, 0};
    buffer analyzer_options = {NULL, 0, 0};
    dez_exception error;
    dez_object* engine = NULL;
    dez_object* analyzer = NULL;
    dez_object* result = NULL;
    const char* json;
    size_t length = 0;
    int status = 0;
    int i;

    for (i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            data = argv[++i];
        else if (strcmp(argv[i], "--language") == 0 && i + 1 < argc)
            language = argv[++i];
        else if (strcmp(argv[i], "--options") == 0 && i + 1 < argc)
            document_options = argv[++i];
        else if (strcmp(argv[i], "--text") == 0 && i + 1 < argc)
            text_argument = argv[++i];
        else if (argv[i][0] == '-' && argv[i][1] == '-')
            return usage();
        else
            file = argv[i];
    }

    if (text_argument) {
        if (!append(&text, text_argument, strlen(text_argument)))
            return 1;
    } else if (!file || strcmp(file, "-") == 0) {
        if (!read_stream(stdin, &text)) {
            fputs("trelix_run: cannot read standard input\n", stderr);
            return 1;
        }
    } else {
        FILE* in = fopen(file, "rb");
        if (!in) {
            fprintf(stderr, "trelix_run: cannot open %s\n", file);
            return 1;
        }
        if (!read_stream(in, &text)) {
            fclose(in);
            fprintf(stderr, "trelix_run: cannot read %s\n", file);
            return 1;
        }
        fclose(in);
    }

    if (!(append(&options, "{\"root_path\":", 13) && append_json_string(&options, data) &&
          append(&options, ",\"morfex\":", 10) && append_json_string(&options, data) &&
          append(&options, "}", 1) && append(&analyzer_options, "{\"language\":", 12) &&
          append_json_string(&analyzer_options, language) && append(&analyzer_options, "}", 1)))
        return 1;

    error.code = 0;
    engine = dez_api_get_engine(options.data, options.size, &error);
    if (!engine) {
        status = failed("creating the engine", &error);
        goto done;
    }
    analyzer = dez_api_get_analyzer(engine, analyzer_options.data, analyzer_options.size, &error);
    if (!analyzer) {
        status = failed("creating the analyzer", &error);
        goto done;
    }
    result = dez_api_analyze_document(analyzer, text.data ? text.data : "", text.size,
                                      document_options, 0, &error);
    if (!result) {
        status = failed("analysing the text", &error);
        goto done;
    }
    json = dez_api_get_result_json_buffer(result, &length, &error);
    if (!json) {
        status = failed("printing the result", &error);
        goto done;
    }
    fwrite(json, 1, length, stdout);
    fputc('\n', stdout);

done:
    if (result)
        dez_api_dec_ref(result, &error);
    if (analyzer)
        dez_api_dec_ref(analyzer, &error);
    if (engine)
        dez_api_dec_ref(engine, &error);
    free(text.data);
    free(options.data);
    free(analyzer_options.data);
    return status;
}
