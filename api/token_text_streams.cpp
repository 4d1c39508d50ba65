#include "api/token_text_streams.h"

#include <string>

#include "document/annotation_text.h"
#include "document/concept.h"
#include "document/token.h"

namespace dez::trelix::v2 {

namespace {

template <typename Text> void token_stream(const Concept& c, std::stringstream& out, Text text) {
    const Token* previous = nullptr;
    const RawPtrIterator end = concept_range_end(&c);
    for (const Annotation* a = c.next; a && a != end.get(); a = a->next) {
        if (a->type != annotation_token)
            continue;
        const auto* token = static_cast<const Token*>(a);
        const std::string* written = text(*token);
        if (!written)
            continue;
        if (previous && token->begin > previous->end)
            out << ' ';
        out << *written;
        previous = token;
    }
}

} // namespace

void get_token_literal_stream(const Concept& c, std::stringstream& out) {
    token_stream(c, out, [](const Token& token) { return &token.literal; });
}

void get_token_stem_stream(const Concept& c, std::stringstream& out) {
    token_stream(c, out, [](const Token& token) -> const std::string* {
        return token.readings.empty() ? nullptr : &token.readings.front().stem;
    });
}

} // namespace dez::trelix::v2
