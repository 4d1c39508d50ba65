// The result and concept calls of the C interface.

#include <sstream>
#include <string>

#include "analysis/offset_table.h"
#include "api/api_arguments.h"
#include "api/blackboard.h"
#include "api/copy_out.h"
#include "api/dez_api.h"
#include "api/error_frame.h"
#include "api/profiler.h"
#include "api/stream_internal_results_json_format.h"
#include "api/stream_json_api_format.h"
#include "api/thread_buffers.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/i_add_concept.h"
#include "document/sentence_info.h"
#include "document/token.h"

using dez::api::error_frame;
using dez::trelix::Annotation;
using dez::trelix::Blackboard;
using dez::trelix::Concept;
using dez::trelix::Token;

namespace {

Blackboard& document_of(dez_object* handle) {
    return *dez::api::result_of(handle).blackboard;
}

// Prints with `writer` into a fresh stream and swaps the text into `buffer`.
template <typename Writer>
const char* print_into(std::string& buffer, Blackboard& document, Writer writer, size_t* length) {
    std::ostringstream out;
    writer(document, out);
    std::string text = out.str();
    buffer.swap(text);
    return dez::api::answer_text(buffer, length);
}

// The byte offset of a host offset: converted from characters when asked for
// and the document keeps a character table.
uint32_t host_offset(const Blackboard& document, uint32_t offset, bool unicode) {
    if (unicode && document.offset_table)
        return dez::trelix::from_unicode_2_utf8_offset(document.offset_table.get(), offset);
    return offset;
}

Annotation* sentence_head(const Blackboard& document, uint32_t begin) {
    dez::trelix::SentenceInfo* info = dez::trelix::get_sentence(document, begin);
    if (!info || !info->annotations)
        return nullptr;
    return info->annotations->head;
}

} // namespace

extern "C" {

const char* dez_api_get_result_json_buffer(dez_object* result, size_t* length,
                                           dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        Blackboard& document = document_of(result);
        return print_into(document.result_json, document, dez::trelix::stream_json_api_format,
                          length);
    });
}

const char* dez_api_get_result_json_metadata_buffer(dez_object* result, size_t* length,
                                                    dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        Blackboard& document = document_of(result);
        return print_into(document.metadata_json, document, dez::trelix::stream_json_api_metadata,
                          length);
    });
}

const char* dez_api_get_internal_result_json_buffer(dez_object* result, size_t* length,
                                                    dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        Blackboard& document = document_of(result);
        return print_into(dez::api::thread_buffers().debug_buffer, document,
                          dez::trelix::stream_internal_results_json_format, length);
    });
}

const char* dez_api_get_profiling_json_buffer(dez_object* result, size_t* length,
                                              dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        Blackboard& document = document_of(result);
        std::string& buffer = dez::api::thread_buffers().debug_buffer;
        buffer.clear();
        if (!document.profiler)
            return dez::api::answer_text(buffer, length);
        // The text the profiler keeps, not a copy: it stays valid until the
        // next report or the result's end.
        return dez::api::answer_text(document.profiler->report(), length);
    });
}

const char* dez_api_get_result_id_buffer(dez_object* result, size_t* length, dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        std::string& buffer = dez::api::thread_buffers().tl_document_id;
        buffer = document_of(result).id();
        return dez::api::answer_text(buffer, length);
    });
}

const char* dez_api_get_result_language_buffer(dez_object* result, size_t* length,
                                               dez_exception* error) {
    return error_frame<const char*>(error, nullptr, [&] {
        return dez::api::answer_text(document_of(result).language, length);
    });
}

dez_annotations* dez_api_get_result_annotations(dez_object* result, dez_exception* error) {
    return error_frame<dez_annotations*>(error, nullptr, [&] {
        return reinterpret_cast<dez_annotations*>(document_of(result).annotations.get());
    });
}

uint32_t dez_api_get_byte_offset(dez_object* result, uint32_t offset, dez_exception* error) {
    return error_frame<uint32_t>(error, 0xFFFFFFFFu,
                                 [&] { return document_of(result).get_byte_offset(offset); });
}

dez_concept* dez_api_get_concept(dez_object* result, uint32_t begin, uint32_t end, const char* uri,
                                 bool unicode, dez_exception* error) {
    return error_frame<dez_concept*>(error, nullptr, [&]() -> dez_concept* {
        const Blackboard& document = document_of(result);
        dez::api::require_text(uri);
        begin = host_offset(document, begin, unicode);
        end = host_offset(document, end, unicode);
        for (Annotation* a = sentence_head(document, begin); a; a = a->next) {
            if (a->type != dez::trelix::annotation_concept)
                continue;
            if (a->begin > begin)
                return nullptr;
            auto* c = static_cast<Concept*>(a);
            if (c->begin == begin && c->end == end && c->uri == uri)
                return reinterpret_cast<dez_concept*>(c);
        }
        return nullptr;
    });
}

dez_concept* dez_api_add_concept(dez_object* result, uint32_t begin, uint32_t end, const char* uri,
                                 bool unicode, dez_exception* error) {
    return error_frame<dez_concept*>(error, nullptr, [&]() -> dez_concept* {
        Blackboard& document = document_of(result);
        begin = host_offset(document, begin, unicode);
        end = host_offset(document, end, unicode);
        Annotation* first = sentence_head(document, begin);
        while (first && !(first->type == dez::trelix::annotation_token && first->begin == begin))
            first = first->next;
        if (!first)
            return nullptr;
        dez::api::require_text(uri);
        // The first token at or after the end bounds the concept; when the
        // sentence has none, the concept reaches over its last token and
        // the bound is whatever follows that token.
        Annotation* boundary = nullptr;
        Annotation* last_token = first;
        for (Annotation* a = first; a; a = a->next) {
            if (a->type != dez::trelix::annotation_token)
                continue;
            if (a->begin >= end) {
                boundary = a;
                break;
            }
            last_token = a;
        }
        if (!boundary) {
            boundary = last_token->next;
            if (!boundary)
                return nullptr;
        }
        if (!document.collector)
            throw dez::Exception("The document has no concept inserter.");
        dez::trelix::IAddConcept& adder = *document.collector;
        Concept* added =
            adder(static_cast<const Annotation*>(first), static_cast<const Annotation*>(boundary),
                  std::string(uri), std::string(), nullptr, "api");
        if (!added)
            return nullptr;
        added->flags.set(Concept::import);
        return reinterpret_cast<dez_concept*>(added);
    });
}

void dez_api_remove_pos(dez_object* result, uint32_t begin, uint32_t end, const char* pos,
                        bool unicode, dez_exception* error) {
    dez::api::error_frame_void(error, [&] {
        Blackboard& document = document_of(result);
        dez::api::require_text(pos);
        begin = host_offset(document, begin, unicode);
        end = host_offset(document, end, unicode);
        Annotation* a = sentence_head(document, begin);
        while (a && !(a->type == dez::trelix::annotation_token && a->begin >= begin))
            a = a->next;
        for (; a; a = a->next) {
            if (a->type != dez::trelix::annotation_token)
                continue;
            auto* token = static_cast<Token*>(a);
            if (token->end > end)
                break;
            token->readings.remove_if(
                [&](const dez::trelix::MorphData& reading) { return reading.pos == pos; });
        }
    });
}

} // extern "C"
