#include "analysis/token_status.h"

#include <cstring>
#include <string>
#include <vector>

#include <unicode/uchar.h>
#include <utf8.h>

#include "analysis/measurement.h"
#include "analysis/utf8_mapping_table.h"
#include "document/blackboard.h"
#include "document/morph_data.h"
#include "document/sentence.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/regex.h"
#include "foundation/string_utils.h"

namespace dez::trelix {

namespace {

bool is_measure_status(int32_t status) {
    return status == 100 || status == 200 || status == 511 || status == 514 || status == 700;
}

// Whether the literal's first code point (not its first byte) is other than
// alphabetic. Literals are well-formed: the tokenizer decoded them.
bool starts_non_alphabetic(const std::string& literal) {
    if (literal.empty())
        return false;
    auto at = literal.begin();
    const uint32_t c = utf8::next(at, literal.end());
    return !u_isUAlphabetic(static_cast<UChar32>(c));
}

// The offset in the document text of a byte position of the literal, from
// the nearest position the mapping knows at or before it.
uint32_t mapped(const std::vector<int32_t>& map, uint32_t position) {
    if (position >= map.size())
        position = static_cast<uint32_t>(map.size() - 1);
    while (position > 0 && map[position] == 0)
        --position;
    return static_cast<uint32_t>(map[position]);
}

// A measurement split cut the literal by the byte lengths of its groups.
// When the literal differs from the text under the token (NFKC, quotes and
// dashes mapped), those lengths are no text offsets: carry every segment's
// offsets through the literal-to-text mapping.
void realign_split(Sentence* sentence, Token* token, const std::string& literal, uint32_t begin,
                   uint32_t end, const char* source) {
    if (!source || begin > end)
        return;
    if (end - begin == literal.size() && std::memcmp(source, literal.data(), literal.size()) == 0)
        return;
    const std::vector<int32_t> map = map_literal_to_text(literal, source, source + (end - begin));
    for (Annotation* a = token; a; a = a->next) {
        if (a->type != annotation_token)
            continue;
        a->begin = begin + mapped(map, a->begin - begin);
        a->end = begin + mapped(map, a->end - begin);
    }
    // The last segment ends where the token did, whatever the literal's length.
    if (sentence->annotations.tail && sentence->annotations.tail->type == annotation_token)
        sentence->annotations.tail->end = end;
}

void apply_url(Token* token) {
    const std::string& literal = token->literal;
    token->readings.emplace_back("Url", literal.substr(0, dez::string::findn(literal, '/', 3)),
                                 100.0);
    token->token_flags |= token_flags::no_lookup;
    token->properties.insert("internet");
    token->properties.erase("nf");
}

void apply_measure_status(Blackboard& blackboard, Sentence* sentence, Token* token, int32_t status,
                          const char* source) {
    if (blackboard.measures && starts_non_alphabetic(token->literal)) {
        dez::SMatch match;
        if (blackboard.measures->regex_match(token->literal, match)) {
            const std::string literal = token->literal;
            const uint32_t begin = token->begin;
            const uint32_t end = token->end;
            apply_measurement(sentence, token, match);
            realign_split(sentence, token, literal, begin, end, source);
            return;
        }
    }
    if (status == 511)
        token->token_flags |= token_flags::no_lookup;
}

void apply_tags(const Blackboard& blackboard, Sentence* sentence, Token* token, int32_t status) {
    const TokenMap& map = token_map_of(blackboard);
    auto [first, last] = map.equal_range(status);
    if (first == last) {
        if (status > 999)
            token->properties.insert("prop_" + std::to_string(status));
        return;
    }
    set_property_lookup_flag(sentence, token, static_cast<unsigned long>(status));
    for (auto it = first; it != last; ++it) {
        const std::string& tag = it->second;
        if (!tag.empty() && tag[0] == '+') {
            token->readings.emplace_back(tag.substr(1), token->literal, 1.0);
        } else if (!tag.empty() && tag[0] == '-') {
            const std::string pos = tag.substr(1);
            for (auto reading = token->readings.begin(); reading != token->readings.end();
                 ++reading)
                if (reading->pos == pos) {
                    token->readings.erase(reading);
                    break;
                }
            token->properties.insert("nf");
        } else {
            token->properties.insert(tag);
        }
    }
}

} // namespace

const TokenMap& token_map_of(const Blackboard& blackboard) {
    const LanguageModule* module = blackboard.language_module.get();
    if (module && module->data)
        return module->data->token_map;
    return init_token_map();
}

void set_property_lookup_flag(Sentence* sentence, Token* token, unsigned long status) {
    if (status >= 2000 && status <= 2999) {
        token->token_flags |= token_flags::property_lookup;
    } else if ((status >= 500 && status <= 509) || (status >= 3000 && status <= 4000)) {
        token->token_flags |= token_flags::rule_reading;
    } else if (status == 512) {
        token->token_flags |= token_flags::markup;
    } else if (status == 513) {
        token->token_flags |= token_flags::apostrophe_join;
        sentence->sentence_flags |= sentence_flags::has_apostrophe;
    }
}

void apply_rule_status(Blackboard& blackboard, Sentence* sentence, Token* token, int32_t status,
                       const char* source) {
    if (status == 0)
        return;
    if (status == url_status) {
        apply_url(token);
        return;
    }
    if (is_measure_status(status)) {
        if (!source && blackboard.text && token->end <= blackboard.text_length)
            source = blackboard.text + token->begin;
        apply_measure_status(blackboard, sentence, token, status, source);
    }
    apply_tags(blackboard, sentence, token, status);
}

} // namespace dez::trelix
