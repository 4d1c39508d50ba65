#include "analysis/dictionary_lookup.h"

#include <string>
#include <vector>

#include <unicode/uchar.h>
#include <utf8.h>

#include "analysis/add_morphdata_memento.h"
#include "analysis/fix_apostrophes.h"
#include "analysis/fix_measurements.h"
#include "analysis/hmm_tagger.h"
#include "analysis/is_header.h"
#include "analysis/lookup_cache.h"
#include "analysis/lookup_condition.h"
#include "analysis/make_conditions.h"
#include "analysis/markup_info.h"
#include "analysis/morph_data.h"
#include "analysis/property_lookup.h"
#include "analysis/reading_labels.h"
#include "analysis/token_helpers.h"
#include "analysis/token_predicates.h"
#include "analysis/token_properties.h"
#include "analysis/word_case.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/token_flags.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/case_mapping.h"
#include "foundation/pos_table.h"

namespace dez::trelix {

namespace {

using Labels = std::vector<std::string>;

const core::MorphData* chain_of(const Blackboard& document) {
    const core::MorphData* data = document.lookup_chains.get();
    return data && !data->chain.empty() ? data : nullptr;
}

uint32_t class_id(const char* name) {
    return dez::language::pos_table::get_root_pos_id(name);
}

// The readings of the word lower-cased at its start, else those of the other
// steps for the word or its lower-cased form, merged into `results`.
void merge_lowered(const core::MorphData& chain, const std::string& word, Labels& results) {
    std::string lowered;
    if (!dez::string::lower_initial_cap_word(word, lowered))
        return;
    Labels extra = chain.first(lowered);
    if (extra.empty())
        extra = chain.others(word);
    if (extra.empty())
        extra = chain.others(lowered);
    merge_lookup_results(results, extra);
}

// An all-capital word is tried as "Word" and "word" (per code point), then
// in the other steps as "word". `take` attaches each answer.
template <typename Take>
Labels retry_all_caps(const core::MorphData& chain, const std::string& word, Take take) {
    const std::string lower = dez::string::lowercase_word(word);
    Labels results = chain.first(upper_initial_word(lower));
    merge_lookup_results(results, chain.first(lower));
    take(results);
    if (results.empty()) {
        results = chain.others(lower);
        take(results);
    }
    return results;
}

// When the first lexicon step knows neither `word` nor its lower-case form:
// in a header its lower-initial form (always assigned), an all-capitals
// token's other casings, then the later steps; `take` adds what they find.
template <class Take>
void fall_back(const core::MorphData& chain, const std::string& word, Token* token, bool header,
               Labels& results, Take take) {
    std::string lowered;
    if (header && word.size() > 1 && dez::string::lower_initial_cap_word(word, lowered)) {
        results = chain.first(lowered);
        assign_afst_results_token_obj(token, results);
    }
    if (results.empty() && all_caps(token) && token->literal.size() > 1)
        results = retry_all_caps(chain, word, take);
    if (results.empty()) {
        results = chain.others(word);
        take(results);
    }
}

// Readings for a token nobody knows; "nf" is the caller's.
void default_reading(Token* token, bool guess_longer, const core::MorphData& chain) {
    const std::string& literal = token->literal;
    const bool capitalised = all_caps(token) || init_cap(token);
    const std::size_t length = code_points_up_to(literal, 2);
    if (length == 1) {
        auto at = literal.begin();
        const auto c = static_cast<UChar32>(utf8::next(at, literal.end()));
        token->readings.emplace_back(u_ispunct(c)  ? "Punct"
                                     : capitalised ? "Prop-Std"
                                                   : "Nn-Std",
                                     literal, 1.0);
        return;
    }
    if (guess_longer && length > 1) {
        const Labels results = chain.guess(literal);
        if (!results.empty()) {
            assign_afst_results_token_obj(token, results);
            if (has_property(*token, "cleanup"))
                token->properties.erase("nf");
            return;
        }
        token->readings.emplace_back(capitalised ? "Prop-Std" : "Nn-Std", literal, 1.0);
        return;
    }
    token->readings.emplace_back("Nn-Std", literal, 1.0);
}

// A number reading on a word with letters and digits: "Ab1" names
// something, "a1b" is a noun.
void fix_alphanumeric(Token* token) {
    if (token->readings.empty() || !has_property(*token, "alphanum") ||
        has_property(*token, "_not_a_noun_"))
        return;
    const std::string& literal = token->literal;
    bool name = false;
    if (code_points_up_to(literal, 3) > 2) {
        auto at = literal.begin();
        const auto first = static_cast<UChar32>(utf8::next(at, literal.end()));
        const auto second = static_cast<UChar32>(utf8::next(at, literal.end()));
        name = u_isupper(first) && u_islower(second);
    }
    if (name) {
        token->readings.front().set_pos("Prop-Std");
    } else {
        token->properties.erase("init-cap");
        token->readings.front().set_pos("Nn-Std");
    }
}

class TokenStep {
public:
    TokenStep(Blackboard& document, const core::MorphData& chain, AddMorphdataMemento& memento)
        : document_(document), chain_(chain), memento_(memento),
          guesser_(document.option_anywhere->get_bool("guesser", true)),
          initial_lower_casing_(document.blackboard_options.initial_lower_casing) {}

    void operator()(Token* token) {
        if (token->token_flags & token_flags::markup) {
            add_markup_info(token);
            return;
        }
        if (memento_.expect_first_word && (token->token_flags & token_flags::header_prefix))
            token->properties.insert("hdr-prefix");
        if (check_property_lookup(token, document_.named_lookups)) {
            first_token_check_and_set_memento_flag(memento_, token);
            fix_sentence_with_invalid_start_token(memento_, token);
            first_token_check_and_set_property(memento_, token);
            return;
        }
        first_token_check_and_set_memento_flag(memento_, token);
        if (token->token_flags & token_flags::no_lookup) {
            first_token_check_and_set_property(memento_, token);
            return;
        }
        const std::string& literal = token->literal;
        Labels results = chain_.first(literal);
        if ((memento_.first_word || is_open_quote(token->prev)) && initial_lower_casing_)
            merge_lowered(chain_, literal, results);
        assign_afst_results_token_obj(token, results);

        if (results.empty())
            fall_back(chain_, literal, token, memento_.header, results,
                      [&](const Labels& labels) { assign_afst_results_token_obj(token, labels); });
        first_token_check_and_set_property(memento_, token);
        if (!results.empty())
            token->properties.erase("nf");

        if (has_pos(token, num_)) {
            fix_alphanumeric(token);
            return;
        }
        if (token->readings.empty()) {
            token->properties.insert("nf");
            default_reading(token, guesser_, chain_);
        }
        fix_sentence_with_invalid_start_token(memento_, token);
    }

private:
    Blackboard& document_;
    const core::MorphData& chain_;
    AddMorphdataMemento& memento_;
    const bool guesser_;
    const bool initial_lower_casing_;
    const uint32_t num_ = class_id("Num");
};

class ConditionalStep {
public:
    ConditionalStep(Blackboard& document, const core::MorphData& chain,
                    const AddMorphdataMemento& memento)
        : chain_(chain), memento_(memento), conditions_(conditions_of(document)),
          language_(document.language_module ? document.language_module->name : std::string()) {}

    void operator()(Token* token) {
        const LookupConditionInterface* condition = get_condition(conditions_, token);
        if (!condition)
            return;
        // A copy: overwriting may take away the reading whose stem it is.
        const std::string input = condition->text(token);
        Labels results = chain_.first(input);
        if (is_open_quote(token->prev))
            merge_lowered(chain_, input, results);
        append_afst_results_token_obj(token, results, condition);

        if (results.empty())
            fall_back(chain_, input, token, memento_.header, results, [&](const Labels& labels) {
                append_afst_results_token_obj(token, labels, condition);
            });
        if (!results.empty()) {
            changed |= results.size() > 1;
            token->properties.erase("nf");
            token->properties.insert(language_);
        }
        if (token->readings.empty()) {
            default_reading(token, false, chain_);
            token->properties.insert("nf");
        }
    }

    bool changed = false;

private:
    static const LookupConditions& conditions_of(const Blackboard& document) {
        static const LookupConditions none;
        const LanguageModule* module = document.language_module.get();
        return module && module->data ? module->data->conditions : none;
    }

    const core::MorphData& chain_;
    const AddMorphdataMemento& memento_;
    const LookupConditions& conditions_;
    const std::string language_;
};

AddMorphdataMemento start_of(Blackboard& document, Sentence& sentence) {
    AddMorphdataMemento memento;
    memento.header = is_header(document, sentence.annotations);
    return memento;
}

template <typename Walk> void for_each_sentence(Blackboard& document, Walk walk) {
    for (Annotation* a = document.annotations->head; a; a = a->next)
        if (a->type == annotation_sentence)
            walk(document, *static_cast<Sentence*>(a));
}

} // namespace

void add_dictionary_lookup_information(Blackboard& document) {
    if (!chain_of(document))
        return;
    for_each_sentence(document, add_morphdata);
}

void add_morphdata(Blackboard& document, Sentence& sentence) {
    const core::MorphData* chain = chain_of(document);
    if (!chain)
        return;
    AddMorphdataMemento memento = start_of(document, sentence);
    if (memento.header) {
        Annotation* head = sentence.annotations.head;
        if (head && head->type == annotation_concept)
            static_cast<Concept*>(head)->add("header", "true", store_by_key);
    }
    fix_apostrophes(document, sentence);
    TokenStep step(document, *chain, memento);
    for_each_token(sentence.annotations, step);
    fix_measurements(document, sentence);
}

void additional_dictionary_lookup_information(Blackboard& document) {
    if (!chain_of(document))
        return;
    document.lookup_cache->clear();
    for_each_sentence(document, additional_morphdata);
}

void additional_morphdata(Blackboard& document, Sentence& sentence) {
    const core::MorphData* chain = chain_of(document);
    if (!chain)
        return;
    const AddMorphdataMemento memento = start_of(document, sentence);
    ConditionalStep step(document, *chain, memento);
    for_each_token(sentence.annotations, step);
    // A language without tagger tables keeps its readings: tagging with only
    // default probabilities would drop all but the lowest tag id.
    if (step.changed && core::hmm::can_execute(document))
        core::hmm::sentence(document, sentence);
}

void add_lowercase_morphdata(Blackboard& document, Token* token) {
    const core::MorphData* chain = chain_of(document);
    if (!chain || (token->token_flags & token_flags::no_lookup))
        return;
    if (is_punctuation(token)) {
        Annotation* next = token->next;
        if (!next)
            return;
        if (next->type == annotation_token) {
            if (is_punctuation(static_cast<Token*>(next)))
                return;
            token = static_cast<Token*>(next);
        }
    }
    if (has_pos(token, class_id("Num")))
        return;
    Labels results = chain->first(token->literal);
    merge_lowered(*chain, token->literal, results);
    if (results.empty())
        token->properties.insert("nf");
    else
        assign_afst_results_token_obj(token, results);
}

} // namespace dez::trelix
