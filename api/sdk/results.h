#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "api/dez_api.h"
#include "annotation.h"
#include "handle_exception.h"
#include "json_to_dez_results_v2.h"
#include "object.h"
#include "raw_ptr_list.h"
#include "sentence_list.h"

namespace qvr::analyzer {

// A result handle together with references to the analyzer and the engine
// that made it, so that both live as long as the result does; and the
// sentences read from its result JSON, once they are asked for.
class Results : public common::Object {
public:
    // No result: a null handle.
    Results() = default;

    // Adopts `result` (a handle a creating call returned, or null) and adds a
    // reference to each of the other two handles.
    Results(dez_object* result, const common::Object& analyzer, const common::Object& engine)
        : common::Object(result), analyzer_object(analyzer), engine_object(engine) {}

    // Shares the three handles of `other` (one more reference each) without
    // its parsed sentences.
    static Results sharing_handles(const Results& other) {
        Results shared(other);
        shared.sentences.reset();
        shared.language.clear();
        return shared;
    }

    Results(const Results&) = default;
    Results(Results&&) noexcept = default;
    Results& operator=(Results other) noexcept {
        swap(other);
        return *this;
    }
    ~Results() override = default;

    void swap(Results& other) noexcept {
        common::Object::swap(other);
        analyzer_object.swap(other.analyzer_object);
        engine_object.swap(other.engine_object);
        sentences.swap(other.sentences);
        language.swap(other.language);
    }

    // The sentences of the result JSON, owned by this object (copies share
    // them). With `reuse`, a list read before is returned as it is; otherwise
    // the JSON is read again into a new list. When reading fails the object
    // keeps what it had, so a later call reads again instead of handing out
    // an empty list. Failures: the error record's exception, or the reader's
    // "Invalid tlx/json format," error.
    common::RawPtrList<common::Annotation>* parse_results(bool reuse) const {
        if (sentences && reuse)
            return sentences.get();
        std::shared_ptr<common::RawPtrList<common::Annotation>> list = common::make_sentence_list();
        const char* text = "";
        if (handle()) {
            dez_exception error;
            error.code = 0;
            std::size_t length = 0;
            text = dez_api_get_result_json_buffer(handle(), &length, &error);
            common::handle_exception(error);
        }
        common::JsonToResult target(*list);
        common::json_to_dez_results_v2(target, text);
        sentences = std::move(list);
        language = std::move(target.language);
        return sentences.get();
    }

    // The document's language as the last parse read it.
    const std::string& parsed_language() const { return language; }

    const common::Object& analyzer_handle() const { return analyzer_object; }
    const common::Object& engine_handle() const { return engine_object; }

private:
    common::Object analyzer_object;
    common::Object engine_object;
    mutable std::shared_ptr<common::RawPtrList<common::Annotation>> sentences;
    mutable std::string language;
};

} // namespace qvr::analyzer
