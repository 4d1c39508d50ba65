#include "core-afst/afst.h"

#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <utf8.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace dez::afst {

namespace {

std::vector<std::string> table_texts(const ::fst::SymbolTable& table) {
    std::vector<std::string> texts;
    texts.reserve(table.NumSymbols());
    for (std::size_t id = 0; id < table.NumSymbols(); ++id)
        texts.push_back(table.Find(static_cast<int64_t>(id)));
    return texts;
}

OutputKind output_kind(const std::string& text) {
    if (text.empty())
        return OutputKind::empty;
    if (text == "eps")
        return OutputKind::eps;
    if (text == "in")
        return OutputKind::in;
    if (text == "input")
        return OutputKind::input;
    return OutputKind::text;
}

// Builds the walk form; keeps texts of labels the vectors do not cover.
class NetworkBuilder {
public:
    NetworkBuilder(WalkNetwork& network, const ::fst::StdVectorFst& transducer,
                   const std::vector<std::string>& inputs, const std::vector<std::string>& outputs)
        : network_(network), transducer_(transducer), input_count_(inputs.size()),
          output_count_(outputs.size()) {
        for (const auto& text : inputs)
            network_.input_texts.push_back(&text);
        for (const auto& text : outputs)
            network_.outputs.push_back({&text, output_kind(text)});
    }

    void build(const std::vector<bool>& final_flags) {
        network_.start = transducer_.Start();
        const auto state_count = static_cast<std::size_t>(transducer_.NumStates());
        network_.states.reserve(state_count);
        std::size_t arc_total = 0;
        for (std::size_t s = 0; s < state_count; ++s)
            arc_total += transducer_.NumArcs(static_cast<int>(s));
        network_.arcs.reserve(arc_total);

        std::vector<WalkArc> specials;
        for (std::size_t s = 0; s < state_count; ++s) {
            WalkState state{};
            state.arcs = static_cast<uint32_t>(network_.arcs.size());
            state.first_key = WalkNetwork::no_arc;
            state.final = final_flags[s];
            specials.clear();
            uint32_t index = 0;
            for (::fst::ArcIterator<::fst::StdVectorFst> it(transducer_, static_cast<int>(s));
                 !it.Done(); it.Next(), ++index) {
                const auto& arc = it.Value();
                WalkArc walk = make_arc(arc.ilabel, arc.olabel);
                walk.target = arc.nextstate;
                walk.index = index;
                if (arc.nextstate >= 0 && static_cast<std::size_t>(arc.nextstate) < state_count &&
                    final_flags[arc.nextstate])
                    walk.flags |= WalkArc::target_final;
                if (walk.kind == ArcKind::character || walk.kind == ArcKind::literal) {
                    network_.arcs.push_back(walk);
                    state.first_key = std::min(state.first_key, index);
                } else if (walk.kind != ArcKind::none) {
                    specials.push_back(walk);
                }
            }
            state.arc_count = index;
            state.key_count = static_cast<uint32_t>(network_.arcs.size()) - state.arcs;
            state.special_count = static_cast<uint32_t>(specials.size());
            std::sort(network_.arcs.begin() + state.arcs, network_.arcs.end(),
                      [](const WalkArc& a, const WalkArc& b) {
                          return a.first != b.first ? a.first < b.first : a.index < b.index;
                      });
            network_.arcs.insert(network_.arcs.end(), specials.begin(), specials.end());
            network_.states.push_back(state);
        }
    }

private:
    WalkArc make_arc(int64_t ilabel, int64_t olabel) {
        WalkArc arc{};
        const bool inside = ilabel >= 0 && static_cast<std::size_t>(ilabel) < input_count_ &&
                            olabel >= 0 && static_cast<std::size_t>(olabel) < output_count_;
        if (inside)
            arc.flags |= WalkArc::labels_in_texts;
        arc.input = input_index(ilabel);
        arc.output = output_index(olabel);
        classify(*network_.input_texts[arc.input], arc);
        return arc;
    }

    // A text a label outside the vectors has in the transducer's own table.
    const std::string& table_text(const ::fst::SymbolTable* table, int64_t label) {
        network_.table_texts.push_back(table ? table->Find(label) : std::string());
        return network_.table_texts.back();
    }

    uint32_t input_index(int64_t label) {
        if (label >= 0 && static_cast<std::size_t>(label) < input_count_)
            return static_cast<uint32_t>(label);
        auto found = extra_inputs_.find(label);
        if (found != extra_inputs_.end())
            return found->second;
        const auto index = static_cast<uint32_t>(network_.input_texts.size());
        network_.input_texts.push_back(&table_text(transducer_.InputSymbols(), label));
        extra_inputs_.emplace(label, index);
        return index;
    }

    uint32_t output_index(int64_t label) {
        if (label >= 0 && static_cast<std::size_t>(label) < output_count_)
            return static_cast<uint32_t>(label);
        auto found = extra_outputs_.find(label);
        if (found != extra_outputs_.end())
            return found->second;
        const auto index = static_cast<uint32_t>(network_.outputs.size());
        const std::string& text = table_text(transducer_.OutputSymbols(), label);
        network_.outputs.push_back({&text, output_kind(text)});
        extra_outputs_.emplace(label, index);
        return index;
    }

    // A text that is not one of the fixed ones, a class or a marker is read
    // as the code points it spells, all of them.
    void classify(const std::string& text, WalkArc& arc) {
        arc.kind = ArcKind::none;
        if (text.size() <= 5)
            arc.flags |= WalkArc::short_text;
        if (text.empty())
            return;
        if (text == "eps" || text == "EPS") {
            arc.kind = ArcKind::epsilon;
            return;
        }
        if (text == "??") {
            arc.kind = ArcKind::any;
            return;
        }
        if (!utf8::is_valid(text.begin(), text.end()))
            return;
        if (text.size() >= 5 && text.front() == ':' && text.back() == ':') {
            classify_class(text, arc);
            return;
        }
        if (text.size() >= 5 && text.front() == '#') {
            arc.kind = ArcKind::marker;
            if (text.compare(0, 4, "#end") == 0)
                arc.flags |= WalkArc::end_marker;
            return;
        }
        std::vector<uint32_t> code_points;
        utf8::utf8to32(text.begin(), text.end(), std::back_inserter(code_points));
        arc.first = code_points.front();
        if (code_points.size() == 1) {
            arc.kind = ArcKind::character;
            return;
        }
        arc.kind = ArcKind::literal;
        arc.extra = static_cast<uint32_t>(network_.literal_code_points.size());
        network_.literal_code_points.push_back(static_cast<uint32_t>(code_points.size()));
        network_.literal_code_points.insert(network_.literal_code_points.end(), code_points.begin(),
                                            code_points.end());
    }

    void classify_class(const std::string& text, WalkArc& arc) {
        dez::string::CharacterClassTest test = nullptr;
        if (text[1] != '#') {
            const auto& table = dez::string::character_class_table();
            auto found = table.find(std::string_view(text).substr(1, text.size() - 2));
            if (found == table.end())
                return; // no such class: matches nothing
            test = found->second;
        }
        arc.kind = ArcKind::char_class;
        auto found = class_indexes_.find(test);
        if (found == class_indexes_.end()) {
            found = class_indexes_.emplace(test, network_.class_tests.size()).first;
            network_.class_tests.push_back(test);
        }
        arc.extra = static_cast<uint32_t>(found->second);
    }

    WalkNetwork& network_;
    const ::fst::StdVectorFst& transducer_;
    std::size_t input_count_;
    std::size_t output_count_;
    std::unordered_map<int64_t, uint32_t> extra_inputs_;
    std::unordered_map<int64_t, uint32_t> extra_outputs_;
    std::map<dez::string::CharacterClassTest, std::size_t> class_indexes_;
};

} // namespace

AFst::AFst(std::shared_ptr<::fst::StdVectorFst> transducer) : transducer_(std::move(transducer)) {
    if (!transducer_)
        throw std::invalid_argument("AFst: no transducer");
    if (!transducer_->InputSymbols())
        throw std::invalid_argument("AFst: the transducer has no input symbol table");
    if (!transducer_->OutputSymbols())
        throw std::invalid_argument("AFst: the transducer has no output symbol table");
    input_texts_ = table_texts(*transducer_->InputSymbols());
    output_texts_ = table_texts(*transducer_->OutputSymbols());
    const auto state_count = static_cast<std::size_t>(transducer_->NumStates());
    final_flags_.reserve(state_count);
    for (std::size_t s = 0; s < state_count; ++s)
        final_flags_.push_back(transducer_->Final(static_cast<int>(s)) !=
                               ::fst::TropicalWeight::Zero());
    NetworkBuilder(network_, *transducer_, input_texts_, output_texts_).build(final_flags_);
}

} // namespace dez::afst
