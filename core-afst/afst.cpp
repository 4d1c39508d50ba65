#include "core-afst/afst.h"

#include <fst/properties.h>
#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <utf8.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace dez::afst {

namespace {

constexpr uint32_t no_reading = std::numeric_limits<uint32_t>::max();

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

uint32_t weight_bits(float weight) {
    uint32_t bits;
    std::memcpy(&bits, &weight, sizeof bits);
    return bits;
}

float bits_weight(uint32_t bits) {
    float weight;
    std::memcpy(&weight, &bits, sizeof weight);
    return weight;
}

bool inside(int64_t label, std::size_t count) {
    return label >= 0 && static_cast<std::size_t>(label) < count;
}

// Builds the walk form of a transducer.
class NetworkBuilder {
public:
    NetworkBuilder(WalkNetwork& network, const ::fst::StdVectorFst& transducer,
                   const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                   std::vector<int>& stray_targets)
        : network_(network), transducer_(transducer), inputs_(inputs),
          output_count_(outputs.size()), stray_targets_(stray_targets),
          inside_readings_(inputs.size(), no_reading) {
        network_.outputs.reserve(outputs.size());
        for (const auto& text : outputs)
            network_.outputs.push_back({&text, output_kind(text)});
    }

    void build() {
        const auto state_count = static_cast<std::size_t>(transducer_.NumStates());
        // Node sizes first: the arcs name their targets by node.
        std::vector<uint32_t> keyed(state_count), others(state_count);
        bool weighted = false;
        for (std::size_t s = 0; s < state_count; ++s)
            for (::fst::ArcIterator<::fst::StdVectorFst> it(transducer_, static_cast<int>(s));
                 !it.Done(); it.Next()) {
                const auto& arc = it.Value();
                weighted |= arc.weight != ::fst::TropicalWeight::One();
                switch (place(arc)) {
                case Place::keyed:
                    ++keyed[s];
                    break;
                case Place::other:
                    ++others[s];
                    break;
                case Place::none:
                    break;
                }
            }
        network_.arc_words = weighted ? 4 : 3;
        network_.state_nodes.assign(state_count, 0);
        std::size_t size = 0;
        for (int s : walk_order()) {
            network_.state_nodes[s] = static_cast<uint32_t>(size);
            size += WalkNetwork::header_words + transducer_.NumArcs(s) * network_.arc_words +
                    2 * keyed[s] + 3 * others[s];
            if (size >= WalkNetwork::no_node)
                throw std::length_error("AFst: the transducer is too large");
        }
        network_.nodes.resize(size);
        const int start = transducer_.Start();
        if (start >= 0 && static_cast<std::size_t>(start) < state_count)
            network_.start = network_.state_nodes[start];

        std::vector<std::pair<uint32_t, uint32_t>> keys;
        std::vector<uint32_t> other_words;
        for (std::size_t s = 0; s < state_count; ++s) {
            const uint32_t node = network_.state_nodes[s];
            uint32_t* const header = &network_.nodes[node];
            header[0] = static_cast<uint32_t>(transducer_.NumArcs(static_cast<int>(s)));
            header[1] = weight_bits(transducer_.Final(static_cast<int>(s)).Value());
            header[2] = keyed[s];
            header[3] = others[s];
            keys.clear();
            other_words.clear();
            uint32_t position = 0;
            for (::fst::ArcIterator<::fst::StdVectorFst> it(transducer_, static_cast<int>(s));
                 !it.Done(); it.Next(), ++position) {
                const auto& arc = it.Value();
                uint32_t* const words =
                    &network_
                         .nodes[node + WalkNetwork::header_words + position * network_.arc_words];
                words[0] = static_cast<uint32_t>(arc.ilabel);
                words[1] = static_cast<uint32_t>(arc.olabel);
                if (arc.nextstate >= 0 && static_cast<std::size_t>(arc.nextstate) < state_count) {
                    words[2] = network_.state_nodes[arc.nextstate];
                } else {
                    words[2] = WalkNetwork::no_node;
                    stray_targets_.push_back(arc.nextstate);
                }
                if (weighted)
                    words[3] = weight_bits(arc.weight.Value());
                switch (place(arc)) {
                case Place::keyed:
                    keys.emplace_back(network_.readings[reading_of(arc.ilabel)].first, position);
                    break;
                case Place::other: {
                    const bool labels_inside =
                        inside(arc.ilabel, inputs_.size()) && inside(arc.olabel, output_count_);
                    other_words.push_back(position);
                    other_words.push_back(reading_of(arc.ilabel));
                    other_words.push_back(output_of(arc.olabel) |
                                          (labels_inside ? WalkNetwork::labels_inside : 0));
                    break;
                }
                case Place::none:
                    break;
                }
            }
            std::stable_sort(keys.begin(), keys.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            uint32_t* out =
                &network_.nodes[node + WalkNetwork::header_words + header[0] * network_.arc_words];
            for (const auto& [code_point, at] : keys) {
                *out++ = code_point;
                *out++ = at;
            }
            std::copy(other_words.begin(), other_words.end(), out);
        }
    }

private:
    enum class Place { keyed, other, none };

    // The states depth first from the start, each arc's target before the
    // next arc's, then those the start does not reach: a walk down a word
    // then reads nodes that lie close together.
    std::vector<int> walk_order() const {
        const int count = transducer_.NumStates();
        std::vector<int> order;
        order.reserve(static_cast<std::size_t>(count));
        std::vector<bool> placed(static_cast<std::size_t>(count), false);
        std::vector<int> todo;
        auto visit = [&](int root) {
            if (root < 0 || root >= count || placed[root])
                return;
            todo.push_back(root);
            placed[root] = true;
            while (!todo.empty()) {
                const int state = todo.back();
                todo.pop_back();
                order.push_back(state);
                const std::size_t mark = todo.size();
                for (::fst::ArcIterator<::fst::StdVectorFst> it(transducer_, state); !it.Done();
                     it.Next()) {
                    const int target = it.Value().nextstate;
                    if (target >= 0 && target < count && !placed[target]) {
                        placed[target] = true;
                        todo.push_back(target);
                    }
                }
                std::reverse(todo.begin() + static_cast<std::ptrdiff_t>(mark), todo.end());
            }
        };
        visit(transducer_.Start());
        for (int s = 0; s < count; ++s)
            visit(s);
        return order;
    }

    Place place(const ::fst::StdArc& arc) {
        const LabelReading& reading = network_.readings[reading_of(arc.ilabel)];
        if (reading.kind == ArcKind::none)
            return Place::none;
        if (reading.kind == ArcKind::character && inside(arc.ilabel, inputs_.size()) &&
            inside(arc.olabel, output_count_))
            return Place::keyed;
        return Place::other;
    }

    // A text a label outside the vectors has in the transducer's own table.
    const std::string& table_text(const ::fst::SymbolTable* table, int64_t label) {
        network_.table_texts.push_back(table ? table->Find(label) : std::string());
        return network_.table_texts.back();
    }

    uint32_t reading_of(int64_t label) {
        uint32_t* slot = nullptr;
        if (inside(label, inputs_.size())) {
            slot = &inside_readings_[static_cast<std::size_t>(label)];
        } else {
            auto found = outside_readings_.emplace(label, no_reading).first;
            slot = &found->second;
        }
        if (*slot == no_reading) {
            const std::string& text = inside(label, inputs_.size())
                                          ? inputs_[static_cast<std::size_t>(label)]
                                          : table_text(transducer_.InputSymbols(), label);
            LabelReading reading{&text, 0, 0, ArcKind::none, 0};
            classify(text, reading);
            *slot = static_cast<uint32_t>(network_.readings.size());
            network_.readings.push_back(reading);
        }
        return *slot;
    }

    uint32_t output_of(int64_t label) {
        if (inside(label, output_count_))
            return static_cast<uint32_t>(label);
        auto found = outside_outputs_.find(label);
        if (found != outside_outputs_.end())
            return found->second;
        const auto index = static_cast<uint32_t>(network_.outputs.size());
        const std::string& text = table_text(transducer_.OutputSymbols(), label);
        network_.outputs.push_back({&text, output_kind(text)});
        outside_outputs_.emplace(label, index);
        return index;
    }

    // A text that is not one of the fixed ones, a class or a marker is read
    // as the code points it spells, all of them.
    void classify(const std::string& text, LabelReading& reading) {
        if (text.size() <= 5)
            reading.flags |= LabelReading::short_text;
        if (text.empty())
            return;
        if (text == "eps" || text == "EPS") {
            reading.kind = ArcKind::epsilon;
            return;
        }
        if (text == "??") {
            reading.kind = ArcKind::any;
            return;
        }
        if (!utf8::is_valid(text.begin(), text.end()))
            return;
        if (text.size() >= 5 && text.front() == ':' && text.back() == ':') {
            classify_class(text, reading);
            return;
        }
        if (text.size() >= 5 && text.front() == '#') {
            reading.kind = ArcKind::marker;
            if (text.compare(0, 4, "#end") == 0)
                reading.flags |= LabelReading::end_marker;
            return;
        }
        std::vector<uint32_t> code_points;
        utf8::utf8to32(text.begin(), text.end(), std::back_inserter(code_points));
        reading.first = code_points.front();
        if (code_points.size() == 1) {
            reading.kind = ArcKind::character;
            return;
        }
        reading.kind = ArcKind::literal;
        reading.extra = static_cast<uint32_t>(network_.literal_code_points.size());
        network_.literal_code_points.push_back(static_cast<uint32_t>(code_points.size()));
        network_.literal_code_points.insert(network_.literal_code_points.end(), code_points.begin(),
                                            code_points.end());
    }

    void classify_class(const std::string& text, LabelReading& reading) {
        dez::string::CharacterClassTest test = nullptr;
        if (text[1] != '#') {
            const auto& table = dez::string::character_class_table();
            auto found = table.find(std::string_view(text).substr(1, text.size() - 2));
            if (found == table.end())
                return; // no such class: matches nothing
            test = found->second;
        }
        reading.kind = ArcKind::char_class;
        auto found = class_indexes_.find(test);
        if (found == class_indexes_.end()) {
            found = class_indexes_.emplace(test, network_.class_tests.size()).first;
            network_.class_tests.push_back(test);
        }
        reading.extra = static_cast<uint32_t>(found->second);
    }

    WalkNetwork& network_;
    const ::fst::StdVectorFst& transducer_;
    const std::vector<std::string>& inputs_;
    std::size_t output_count_;
    std::vector<int>& stray_targets_;
    std::vector<uint32_t> inside_readings_;
    std::unordered_map<int64_t, uint32_t> outside_readings_;
    std::unordered_map<int64_t, uint32_t> outside_outputs_;
    std::map<dez::string::CharacterClassTest, std::size_t> class_indexes_;
};

} // namespace

AFst::AFst(std::shared_ptr<::fst::StdVectorFst> transducer) {
    if (!transducer)
        throw std::invalid_argument("AFst: no transducer");
    if (!transducer->InputSymbols())
        throw std::invalid_argument("AFst: the transducer has no input symbol table");
    if (!transducer->OutputSymbols())
        throw std::invalid_argument("AFst: the transducer has no output symbol table");
    input_texts_ = table_texts(*transducer->InputSymbols());
    output_texts_ = table_texts(*transducer->OutputSymbols());
    const auto state_count = static_cast<std::size_t>(transducer->NumStates());
    final_flags_.reserve(state_count);
    for (std::size_t s = 0; s < state_count; ++s)
        final_flags_.push_back(transducer->Final(static_cast<int>(s)) !=
                               ::fst::TropicalWeight::Zero());
    NetworkBuilder(network_, *transducer, input_texts_, output_texts_, stray_targets_).build();
    input_table_.reset(transducer->InputSymbols()->Copy());
    output_table_.reset(transducer->OutputSymbols()->Copy());
    properties_ = transducer->Properties(::fst::kFstProperties, false);
    start_ = transducer->Start();
    stray_targets_.shrink_to_fit();
    original_ = transducer;
}

AFst::~AFst() = default;

const std::shared_ptr<::fst::StdVectorFst>& AFst::transducer() const {
    std::call_once(transducer_once_, [this] {
        transducer_ = original_.lock();
        if (!transducer_)
            rebuild_transducer();
    });
    return transducer_;
}

void AFst::rebuild_transducer() const {
    auto rebuilt = std::make_shared<::fst::StdVectorFst>();
    const auto& nodes = network_.state_nodes;
    rebuilt->ReserveStates(static_cast<int>(nodes.size()));
    for (std::size_t s = 0; s < nodes.size(); ++s)
        rebuilt->AddState();
    rebuilt->SetStart(start_);
    // Nodes lie in walk order, not in state order.
    std::vector<std::pair<uint32_t, int>> node_states;
    node_states.reserve(nodes.size());
    for (std::size_t s = 0; s < nodes.size(); ++s)
        node_states.emplace_back(nodes[s], static_cast<int>(s));
    std::sort(node_states.begin(), node_states.end());
    auto stray = stray_targets_.begin();
    for (std::size_t s = 0; s < nodes.size(); ++s) {
        const uint32_t node = nodes[s];
        const auto state = static_cast<int>(s);
        const uint32_t arc_count = network_.arc_count(node);
        rebuilt->SetFinal(state, ::fst::TropicalWeight(bits_weight(network_.nodes[node + 1])));
        rebuilt->ReserveArcs(state, arc_count);
        for (uint32_t position = 0; position < arc_count; ++position) {
            const uint32_t* words = network_.arc(node, position);
            int target;
            if (words[2] == WalkNetwork::no_node) {
                target = *stray++;
            } else {
                target = std::lower_bound(node_states.begin(), node_states.end(),
                                          std::make_pair(words[2], 0))
                             ->second;
            }
            const auto weight = network_.arc_words == 4
                                    ? ::fst::TropicalWeight(bits_weight(words[3]))
                                    : ::fst::TropicalWeight::One();
            rebuilt->AddArc(state, ::fst::StdArc(static_cast<int>(words[0]),
                                                 static_cast<int>(words[1]), weight, target));
        }
    }
    rebuilt->SetInputSymbols(input_table_.get());
    rebuilt->SetOutputSymbols(output_table_.get());
    rebuilt->SetProperties(properties_, ::fst::kFstProperties);
    transducer_ = std::move(rebuilt);
}

} // namespace dez::afst
