#include "analysis/hmm_viterbi.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>

#include "analysis/hmm_resource.h"
#include "analysis/token_helpers.h"
#include "document/annotation.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "foundation/exception.h"
#include "foundation/pos_table.h"

namespace dez::trelix::core::hmm {

namespace {

constexpr double minus_infinity = -std::numeric_limits<double>::infinity();
// A window closes at the first punctuation once it holds more than this
// many tokens, and at the latest once it holds more than max_window_tokens.
constexpr size_t punct_window_tokens = 29;
constexpr size_t max_window_tokens = 49;

double log_of(float probability) {
    // Zero, negative and NaN entries all mean "impossible"; a NaN would
    // otherwise break every comparison of the window.
    return probability > 0.0f ? std::log(static_cast<double>(probability)) : minus_infinity;
}

double log_emission(const Resource& resource, const Token& token, const MorphData& reading) {
    // Scored for every reading of every token: the key's buffer is reused.
    thread_local std::string key;
    key.assign(token.literal).append("^^").append(reading.pos);
    auto found = resource.emission.find(key);
    if (found == resource.emission.end()) {
        key.assign("dummy^^").append(reading.pos);
        found = resource.emission.find(key);
    }
    return log_of(found != resource.emission.end() ? found->second
                                                   : resource.transition.default_probability);
}

void add_default_reading(Token& token) {
    if (token.readings.empty())
        token.readings.emplace_back("Nn-Std", token.literal, 1.0);
}

uint32_t punct_class() {
    static const uint32_t id = dez::language::pos_table::get_root_pos_id("Punct");
    return id;
}

// The first reading of a window: start times emission; the first reading of
// a tag wins.
void score_first(const Resource& resource, detail::viterbi_element& element) {
    Token& token = *element.token;
    // A first token without readings would get its default reading only when
    // the second token is scored, without a state of its own, and every path
    // of the window would then score 0.
    add_default_reading(token);
    for (const MorphData& reading : token.readings) {
        const auto start = resource.start.find(reading.pos_id);
        const double score =
            log_of(start != resource.start.end() ? start->second
                                                 : resource.transition.default_probability) +
            log_emission(resource, token, reading);
        element.states.emplace(reading.pos_id, detail::PosData{0, score});
    }
}

// Transition from every reading of the previous token to every reading of
// this one; among equal candidates the later previous reading wins.
void score_next(const Resource& resource, detail::viterbi_element& previous,
                detail::viterbi_element& element) {
    Token& token = *element.token;
    add_default_reading(token);
    add_default_reading(*previous.token);
    // Every token of every window: the buffer keeps its room.
    thread_local std::vector<double> emissions;
    emissions.clear();
    for (const MorphData& reading : token.readings)
        emissions.push_back(log_emission(resource, token, reading));
    for (const MorphData& before : previous.token->readings) {
        const double p =
            previous.states.try_emplace(before.pos_id, detail::PosData{0, minus_infinity})
                .first->second.log_probability;
        size_t index = 0;
        for (const MorphData& reading : token.readings) {
            const auto transition = resource.transition.table.find(
                detail::make_transition_id(before.pos_id, reading.pos_id));
            const double candidate = log_of(transition != resource.transition.table.end()
                                                ? transition->second
                                                : resource.transition.default_probability) +
                                     p + emissions[index++];
            auto [state, added] = element.states.try_emplace(
                reading.pos_id, detail::PosData{before.pos_id, candidate});
            if (!added && state->second.log_probability <= candidate)
                state->second = detail::PosData{before.pos_id, candidate};
        }
    }
}

// Keeps the readings of `tag`; later kept readings of the first kept
// reading's stem give it their new tags and go.
void prune(Token& token, uint32_t tag) {
    auto& readings = token.readings;
    readings.remove_if([&](const MorphData& reading) { return reading.pos_id != tag; });
    if (readings.size() < 2)
        return;
    MorphData& first = readings.front();
    for (auto it = std::next(readings.begin()); it != readings.end();) {
        if (it->stem != first.stem) {
            ++it;
            continue;
        }
        for (const std::string& tag_name : it->tags)
            if (std::find(first.tags.begin(), first.tags.end(), tag_name) == first.tags.end())
                first.tags.push_back(tag_name);
        it = readings.erase(it);
    }
}

} // namespace

void detail::CalculatePermutation::apply_viterbi_algo() {
    if (elements.empty())
        return;
    const auto& last = elements.back().states;
    if (last.empty()) {
        elements.clear();
        return;
    }
    // Ascending by tag id and only a strictly better score replaces: the
    // lowest tag id wins a tie.
    uint32_t chosen = last.begin()->first;
    double best = last.begin()->second.log_probability;
    for (const auto& [tag, state] : last)
        if (state.log_probability > best) {
            best = state.log_probability;
            chosen = tag;
        }
    std::vector<uint32_t> tags(elements.size());
    tags.back() = chosen;
    for (size_t k = elements.size() - 1; k > 0; --k) {
        const auto state = elements[k].states.find(tags[k]);
        tags[k - 1] = state != elements[k].states.end() ? state->second.from : 0;
    }
    for (size_t k = 0; k < elements.size(); ++k)
        prune(*elements[k].token, tags[k]);
    elements.clear();
}

void detail::print(const std::vector<viterbi_element>& elements) {
    std::ostringstream out;
    out << "[HMM][RESULTS]\n";
    for (const viterbi_element& element : elements) {
        out << "  " << element.token->literal << " [";
        for (const MorphData& reading : element.token->readings)
            out << reading.pos << ",";
        out << "]\n";
        for (const auto& [tag, state] : element.states) {
            if (tag == 0) {
                std::ostringstream message;
                message << "Invalid tag, not in the pos_table, index:" << std::hex << state.from;
                throw dez::Exception(message);
            }
            out << "   -- posid=0x" << std::hex << state.from << std::dec << ":"
                << dez::language::pos_table::str(tag) << ":" << state.log_probability << "\n";
        }
    }
    std::cout << out.str();
}

void hmm_build_candidates(Annotation* first, Annotation* end,
                          detail::CalculatePermutation& window) {
    const Resource& resource = *window.resource;
    bool opens = window.elements.empty();
    for (Annotation* a = first; a && a != end; a = a->next) {
        if (a->type != annotation_token)
            continue;
        auto* token = static_cast<Token*>(a);
        if (token->token_flags & token_flags::markup)
            continue;
        window.elements.push_back(detail::viterbi_element{token, {}});
        auto& elements = window.elements;
        if (opens)
            score_first(resource, elements.back());
        else
            score_next(resource, elements[elements.size() - 2], elements.back());
        const size_t n = elements.size();
        if ((n > punct_window_tokens && has_pos(token, punct_class())) || n > max_window_tokens) {
            window.apply_viterbi_algo();
            opens = true;
        } else {
            opens = false;
        }
    }
}

} // namespace dez::trelix::core::hmm
