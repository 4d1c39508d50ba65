#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "api/dez_api.h"
#include "callable_interface.h"
#include "engine.h"
#include "handle_exception.h"
#include "object.h"
#include "options_to_string.h"
#include "results.h"

namespace qvr::analyzer {

class Analyzer;

// Analyses a text (`length` bytes, no zero byte needed). The result holds
// its own references to the analyzer and the engine. A failed analysis
// raises the error record's exception and keeps no reference.
Results wrapper_dez_api_analyze_document(const engine::Engine& engine, const Analyzer& analyzer,
                                         const char* text, std::size_t length,
                                         const std::map<std::string, std::string>& options);

// Runs the analyzer again over the result's document. Sentences parsed from
// the result before stay as they are.
void wrapper_dez_api_analyze_results(const Analyzer& analyzer, const Results& results);

// An analyzer handle of an engine, made from an options map; it keeps a copy
// of the engine object and the map.
class Analyzer : public common::Object, public common::CallableInterface {
public:
    Analyzer(const engine::Engine& engine, const std::map<std::string, std::string>& options)
        : common::Object(create(engine, options)),
          engine_copy(engine),
          analyzer_options(options) {}

    Analyzer(const Analyzer&) = default;
    // The source is left without handles.
    Analyzer(Analyzer&&) noexcept = default;
    Analyzer& operator=(Analyzer other) noexcept {
        swap(other);
        return *this;
    }
    ~Analyzer() override = default;

    void swap(Analyzer& other) noexcept {
        common::Object::swap(other);
        engine_copy.swap(other.engine_copy);
        analyzer_options.swap(other.analyzer_options);
    }

    Results operator()(const std::string& text,
                       const std::map<std::string, std::string>& options) override {
        return wrapper_dez_api_analyze_document(engine_copy, *this, text.data(), text.size(),
                                                options);
    }

    // Analyses the result's document again; answers a new object over the
    // same three handles, without parsed sentences.
    Results operator()(Results results) override {
        wrapper_dez_api_analyze_results(*this, results);
        return Results::sharing_handles(results);
    }

    const engine::Engine& engine_object() const { return engine_copy; }
    const std::map<std::string, std::string>& options() const { return analyzer_options; }

private:
    static dez_object* create(const engine::Engine& engine,
                              const std::map<std::string, std::string>& options) {
        const std::string text = common::options_to_string(options);
        dez_exception error;
        error.code = 0;
        dez_object* handle = dez_api_get_analyzer(engine.handle(), text.data(), text.size(), &error);
        common::handle_exception(error);
        return handle;
    }

    engine::Engine engine_copy;
    std::map<std::string, std::string> analyzer_options;
};

inline Results wrapper_dez_api_analyze_document(const engine::Engine& engine,
                                                const Analyzer& analyzer, const char* text,
                                                std::size_t length,
                                                const std::map<std::string, std::string>& options) {
    const std::string options_text = common::options_to_string(options);
    dez_exception error;
    error.code = 0;
    dez_object* handle = dez_api_analyze_document(analyzer.handle(), text, length,
                                                  options_text.data(), options_text.size(), &error);
    // Whatever came back is owned before the record can throw, so that the
    // unwinding releases it.
    Results results(handle, analyzer, engine);
    common::handle_exception(error);
    return results;
}

inline void wrapper_dez_api_analyze_results(const Analyzer& analyzer, const Results& results) {
    dez_exception error;
    error.code = 0;
    dez_api_analyze_result(analyzer.handle(), results.handle(), &error);
    common::handle_exception(error);
}

} // namespace qvr::analyzer
