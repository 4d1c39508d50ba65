#include "analysis/disambiguation.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include <utf8.h>

#include "analysis/leading_number.h"
#include "analysis/morph_data.h"
#include "analysis/token_helpers.h"
#include "core-afst/afst.h"
#include "document/annotation_navigation.h"
#include "document/blackboard.h"
#include "document/sentence.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "foundation/exception.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace {

using dez::afst::WalkNetwork;

constexpr uint32_t no_output = WalkNetwork::no_node;

// A property test names its property from the fifth byte on.
constexpr std::size_t property_prefix = 4;

bool is_context(const std::string& text) {
    return text.size() >= 3 && (text[0] == '+' || text[0] == '-');
}

// Parts of speech are ASCII: single bytes need no decoding.
uint32_t peek(const char* at, const char* end) {
    if (at < end && static_cast<unsigned char>(*at) < 0x80)
        return static_cast<unsigned char>(*at);
    return utf8::peek_next(at, end);
}

const char* after(const char* at, const char* end) {
    if (at < end && static_cast<unsigned char>(*at) < 0x80)
        return at + 1;
    utf8::next(at, end);
    return at;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

void disambiguation::check_postagger(const dez::afst::AFst& postagger) {
    const WalkNetwork& network = postagger.network();
    const auto& inputs = postagger.input_texts();
    const auto& outputs = postagger.output_texts();
    for (uint32_t node : network.state_nodes) {
        for (uint32_t k = 0; k < network.arc_count(node); ++k) {
            const uint32_t* arc = network.arc(node, k);
            if (arc[0] >= inputs.size() || arc[1] >= outputs.size()) {
                std::ostringstream message;
                message << "Postagger arc label outside its symbol tables: " << arc[0] << ":"
                        << arc[1];
                throw dez::Exception(message);
            }
            const std::string& text = inputs[arc[0]];
            // The walk reads the third byte as the token offset.
            if (is_context(text) && (text[2] < '0' || text[2] > '9'))
                throw dez::Exception("Postagger context test without a digit offset: " +
                                     quoted(text));
            if (is_context(text) && text[1] == 'm' && text.size() < property_prefix)
                throw dez::Exception("Postagger property test without a property name: " +
                                     quoted(text));
        }
    }
}

namespace disambiguation {

Engine::Engine(const core::MorphData& data)
    : data_(data), postagger_(*data.postagger), network_(data.postagger->network()),
      tables_(tables_of(data.postagger)), labels_(tables_->labels), scores_(tables_->scores) {
    frames.reserve(50);
}

std::shared_ptr<const Engine::Tables>
Engine::tables_of(const std::shared_ptr<dez::afst::AFst>& postagger) {
    // The postagger the thread saw last: while it lives, its tables hold.
    thread_local std::weak_ptr<dez::afst::AFst> seen;
    thread_local std::shared_ptr<const Tables> tables;
    if (!tables || seen.lock() != postagger) {
        tables = prepare(*postagger);
        seen = postagger;
    }
    return tables;
}

std::shared_ptr<const Engine::Tables> Engine::prepare(const dez::afst::AFst& postagger) {
    auto tables = std::make_shared<Tables>();
    const auto& inputs = postagger.input_texts();
    tables->labels.resize(inputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& text = inputs[i];
        Label& label = tables->labels[i];
        if (text.size() == 1) {
            label.first = static_cast<unsigned char>(text[0]);
            label.has_first = true;
        } else if (!text.empty()) {
            const char* at = text.data();
            try {
                label.first = utf8::next(at, text.data() + text.size());
                label.has_first = true;
            } catch (const utf8::exception&) {
                label.bad_utf8 = true;
            }
        }
        label.epsilon = text == "eps" || text == "EPS";
        if (is_context(text)) {
            label.context = true;
            label.kind = text[1];
            // A digit: check_postagger refuses any other offset at load.
            const int digit = text[2] - '0';
            label.offset = text[0] == '+' ? digit : -digit;
            if (label.kind == 'm') {
                // check_postagger refuses such a label when the language
                // loads; a postagger that did not pass it fails the test.
                label.valid_property = text.size() >= property_prefix;
                if (label.valid_property)
                    label.property = text.substr(property_prefix);
            }
        }
    }
    const auto& outputs = postagger.output_texts();
    tables->scores.resize(outputs.size(), 0.0);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const std::string& text = outputs[i];
        if (!text.empty() && text[0] == '#')
            tables->scores[i] =
                read_leading_number(text.data() + 1, text.data() + text.size(), false);
    }
    return tables;
}

void Engine::reset(qvr::common::RawPtrList<Annotation>* sentence) {
    sentence_ = sentence;
    frames.clear();
    results.clear();
}

const Engine::Label& Engine::input_label(uint32_t label) const {
    if (label >= labels_.size())
        throw std::out_of_range("postagger input label outside its symbol table");
    return labels_[label];
}

double Engine::output_score(uint32_t label) const {
    if (label == no_output)
        return 0.0;
    if (label >= scores_.size())
        throw std::out_of_range("postagger output label outside its symbol table");
    return scores_[label];
}

bool Engine::is_final(uint32_t node) const {
    return node != WalkNetwork::no_node && network_.final(node);
}

double Engine::collect_result(uint32_t output) const {
    double score = 0.0;
    for (const Frame& frame : frames)
        score += output_score(frame.output);
    return score + output_score(output);
}

void Engine::note_cut(const char* why) {
    if (cut_reported_)
        return;
    cut_reported_ = true;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_warning, "Postagger walk cut: " << why);
}

bool Engine::push(const Frame& frame) {
    if (frames.size() >= max_depth) {
        note_cut("too deep");
        return false;
    }
    // The same node on the same text at the same places: everything below it
    // would repeat what the walk is doing now, without end.
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
        if (it->node == frame.node && it->text == frame.text && it->position == frame.position &&
            it->entry == frame.entry)
            return false;
    frames.push_back(frame);
    return true;
}

void Engine::pop(InputState& input, std::size_t floor) {
    frames.pop_back();
    if (frames.size() > floor)
        input.current = frames.back().position;
}

void Engine::walk(std::size_t floor, InputState& input) {
    while (frames.size() > floor && results.empty() && !stopped_) {
        const Frame& top = frames.back();
        if (top.node == WalkNetwork::no_node || top.arc >= network_.arc_count(top.node)) {
            pop(input, floor);
            continue;
        }
        if (++steps_ > max_steps) {
            stopped_ = true;
            note_cut("too many steps");
            break;
        }
        check(input);
    }
}

void Engine::continue_matching(std::size_t depth, InputState& input) {
    input.current = input.begin;
    walk(depth, input);
    // A found result or a cut leaves frames of this walk behind.
    if (frames.size() > depth)
        frames.resize(depth);
}

void Engine::check(InputState& input) {
    const uint32_t* arc = network_.arc(frames.back().node, frames.back().arc);
    const Label& label = input_label(arc[0]);
    const uint32_t output = arc[1];
    const uint32_t target = arc[2];
    // Whatever this arc gives, the frame goes on with its next one.
    ++frames.back().arc;
    const bool exhausted = input.current == input.end;
    const uint32_t next = exhausted ? 0 : peek(input.current, input.end);

    if (!exhausted && (label.has_first || label.bad_utf8)) {
        if (label.bad_utf8)
            throw dez::Exception("Postagger input label is not valid UTF-8");
        if (label.first == next) {
            const char* following = after(input.current, input.end);
            if (is_final(target) && (following == input.end || next == '-'))
                results.push_back(collect_result(output));
            const Frame frame{target, 0, input.current, following, input.begin, output};
            if (push(frame))
                input.current = following;
            return;
        }
    }
    if (label.epsilon) {
        if (is_final(target) || (!exhausted && next == '-')) {
            if (exhausted) {
                std::cerr << "Warning, Check the Postagger file for strange constructions."
                          << std::endl;
                return;
            }
            if (after(input.current, input.end) == input.end)
                results.push_back(collect_result(output));
        }
        push(Frame{target, 0, input.current, input.current, input.begin, output});
        return;
    }
    if (label.context) {
        if (!exhausted && next == '-')
            return;
        match(label.offset, arc, arc[0]);
    }
}

void Engine::match(int offset, const uint32_t* arc, uint32_t input_label_id) {
    const Label& label = input_label(input_label_id);
    Annotation* found = move_to_token(*sentence_, token_, offset).get();
    if (!found || found->type != annotation_token)
        return;
    const auto* tested = static_cast<const Token*>(found);
    if (tested->token_flags & token_flags::markup)
        return;
    const std::size_t depth = frames.size();
    const uint32_t output = arc[1];
    const uint32_t target = arc[2];

    const auto walk_text = [&](const std::string& text) {
        const char* begin = text.data();
        InputState nested{begin, begin + text.size(), begin};
        if (push(Frame{target, 0, begin, begin, begin, output}))
            continue_matching(depth, nested);
    };
    // A property test reads nothing further: the path goes on at the end of
    // an empty text.
    const auto walk_empty = [&] {
        if (is_final(target))
            results.push_back(collect_result(output));
        InputState nested{nullptr, nullptr, nullptr};
        if (push(Frame{target, 0, nullptr, nullptr, nullptr, output}))
            continue_matching(depth, nested);
    };
    const auto searching = [&] { return results.empty() && !stopped_; };

    switch (label.kind) {
    case 'p':
        for (const MorphData& reading : tested->readings)
            if (searching())
                walk_text(reading.pos);
        break;
    case 's':
        for (const MorphData& reading : tested->readings)
            if (searching())
                walk_text(reading.stem);
        break;
    case 'm':
        if (!label.valid_property)
            return;
        if (tested->properties.count(label.property)) {
            walk_empty();
            break;
        }
        for (const MorphData& reading : tested->readings)
            if (searching() && std::find(reading.tags.begin(), reading.tags.end(),
                                         label.property) != reading.tags.end())
                walk_empty();
        break;
    default:
        break;
    }
}

void Engine::operator()(RawPtrIterator position) {
    frames.clear();
    results.clear();
    token_ = position;
    auto* token = static_cast<Token*>(position.get());
    for (MorphData& reading : token->readings) {
        if (network_.start == WalkNetwork::no_node)
            return;
        const char* begin = reading.pos.data();
        InputState input{begin, begin + reading.pos.size(), begin};
        frames.push_back(Frame{network_.start, 0, begin, begin, begin, no_output});
        steps_ = 0;
        stopped_ = false;
        walk(0, input);
        if (!results.empty())
            reading.weight = results.front();
        results.clear();
        frames.clear();
    }
}

void Engine::remove_irrelevant(RawPtrIterator position) {
    auto* token = static_cast<Token*>(position.get());
    auto& readings = token->readings;
    if (readings.empty())
        return;
    double best = readings.front().weight;
    for (const MorphData& reading : readings)
        best = std::max(best, reading.weight);
    readings.remove_if([&](const MorphData& reading) { return reading.weight < best; });
}

} // namespace disambiguation

bool disambiguate(Blackboard& document) {
    if (!document.lookup_chains || !document.lookup_chains->postagger || !document.annotations)
        return true;
    disambiguation::Engine engine(*document.lookup_chains);
    for (Annotation* a = document.annotations->head; a; a = a->next) {
        if (a->type != annotation_sentence)
            continue;
        auto& list = static_cast<Sentence*>(a)->annotations;
        engine.reset(&list);
        for (Annotation* t = list.head; t; t = t->next) {
            if (t->type != annotation_token)
                continue;
            auto* token = static_cast<Token*>(t);
            if (token->readings.size() < 2 || (token->token_flags & token_flags::markup))
                continue;
            engine(RawPtrIterator(t));
            engine.remove_irrelevant(RawPtrIterator(t));
        }
    }
    return true;
}

namespace {

// The first reading stays; a later one stays only with fewer direct
// components than the last one kept.
void thin_compound(Token& token) {
    auto& readings = token.readings;
    if (readings.empty())
        return;
    std::size_t reference = readings.front().components.size();
    for (auto it = std::next(readings.begin()); it != readings.end();) {
        const std::size_t count = it->components.size();
        if (count >= reference) {
            it = readings.erase(it);
        } else {
            reference = count;
            ++it;
        }
    }
}

void thin_compounds(const qvr::common::RawPtrList<Annotation>& list) {
    for_each_token(list, [](Token* token) {
        if (token->token_flags & token_flags::compound)
            thin_compound(*token);
    });
}

} // namespace

bool auto_disambiguate(Blackboard& document) {
    if (document.annotations)
        thin_compounds(*document.annotations);
    return true;
}

} // namespace dez::trelix
