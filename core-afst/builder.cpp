#include "core-afst/builder.h"

#include "core-afst/builder_algorithms.h"
#include "core-afst/fst_error_capture.h"
#include "foundation/string_utils.h"

#include <fst/arcsort.h>
#include <fst/closure.h>
#include <fst/concat.h>
#include <fst/symbol-table.h>
#include <fst/union.h>
#include <fst/vector-fst.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <type_traits>

namespace dez::afst {
namespace {

using Network = fst::StdVectorFst;
using Arc = fst::StdArc;
using Weight = fst::TropicalWeight;
using detail::FstErrorCapture;
using detail::in_error;

static_assert(std::is_same<Arc::Label, int>::value, "labels are 32-bit");

std::shared_ptr<Network> with_start_state(std::shared_ptr<Network> network) {
    network->SetStart(network->AddState());
    return network;
}

int64_t add_symbol(fst::SymbolTable& table, const std::string& symbol) {
    // Look first: adding to a table whose contents a network shares copies it.
    const int64_t key = table.Find(symbol);
    return key != fst::kNoSymbol ? key : table.AddSymbol(symbol);
}

// The key of `symbol` in `table` (added when `add`), one-byte symbols through
// `cache`. Keys never change once given, so the cache only has to notice a
// different table.
int64_t cached_key(detail::SymbolCache& cache, const std::shared_ptr<fst::SymbolTable>& held,
                   const std::string& symbol, bool add) {
    fst::SymbolTable& table = *held;
    if (symbol.size() != 1)
        return add ? add_symbol(table, symbol) : table.Find(symbol);
    if (cache.table != held) {
        cache.table = held;
        cache.keys.fill(-1);
    }
    int& slot = cache.keys[static_cast<unsigned char>(symbol[0])];
    if (slot >= 0)
        return slot;
    const int64_t key = add ? add_symbol(table, symbol) : table.Find(symbol);
    if (key != fst::kNoSymbol && key <= std::numeric_limits<int>::max())
        slot = static_cast<int>(key);
    return key;
}

Arc::Label to_label(long value) {
    return static_cast<Arc::Label>(static_cast<std::uint32_t>(value));
}

// OpenFst's Union reserves room for exactly the states it adds, so a union of
// many members would move the target's states once per member.
template <class Iterator> void reserve_states(Network& target, Iterator begin, Iterator end) {
    Network::StateId states = target.NumStates() + 1;
    for (auto it = begin; it != end; ++it)
        states += (*it)->network->NumStates();
    target.ReserveStates(states);
}

bool has_final_state(const Network& network) {
    for (Network::StateId state = 0; state < network.NumStates(); ++state)
        if (network.Final(state) != Weight::Zero())
            return true;
    return false;
}

unsigned to_count(const std::string& text) {
    const unsigned long value = std::stoul(text);
    if (value > std::numeric_limits<unsigned>::max())
        throw std::out_of_range("stoul");
    return static_cast<unsigned>(value);
}

} // namespace

Builder::Builder() : top(nullptr), read_only_tables(false) {
    clear();
}

Builder::~Builder() = default;

void Builder::clear() {
    stack.clear();
    top = nullptr;
    add_root();
    lower_table = std::make_shared<fst::SymbolTable>("lower");
    upper_table = std::make_shared<fst::SymbolTable>("upper");
    for (auto* table : {lower_table.get(), upper_table.get()}) {
        table->AddSymbol("eps");
        table->AddSymbol("EPS");
    }
}

void Builder::add_root() {
    auto item = std::make_shared<stack_item>();
    item->network = with_start_state(newNetwork());
    item->parent = top;
    stack.push_back(item);
    top = stack.back().get();
}

void Builder::push() {
    top = push(top);
}

stack_item* Builder::push(stack_item* item) {
    auto child = std::make_shared<stack_item>();
    child->network = with_start_state(newNetwork());
    // Room for a word's states at once rather than growing by doubling.
    child->network->ReserveStates(16);
    child->parent = item;
    item->children.push_back(child);
    return child.get();
}

void Builder::pop() {
    if (!top || !top->parent)
        throw_exception("To many pops.");
    stack_item* parent = top->parent;
    parent->children.pop_back();
    top = parent->children.empty() ? parent : parent->children.back().get();
}

void Builder::open_rule() {
    top = stack.back().get();
    push();
}

void Builder::close_rule() {
    closing_concat_group();
    set_final();
}

void Builder::open_group() {
    closing_concat_group();
    set_final();
    push();
}

void Builder::separator(const std::string& text) {
    closing_concat_group();
    set_final();
    stack_item* parent = top->parent;
    if (!parent)
        throw_exception("separator outside any rule.");
    parent->separator_type = text;
    top = push(parent);
}

void Builder::unordered_separator(const std::string& kind) {
    if (kind == "adjacent" || kind == "shortest" || kind == "longest")
        separator("unordered:" + kind);
}

void Builder::close_group(const std::string& modifier) {
    closing_concat_group();
    if (orit())
        union_groups();
    else if (unorderit())
        unordered_group();
    if (!modifier.empty())
        closure_modifier(modifier);
    append2ParentNode();
    if (!top->concat_group) {
        set_final();
        push();
        top->concat_group = true;
    }
}

bool Builder::closing_concat_group() {
    if (!top || !top->concat_group)
        return false;
    if (top->network->NumStates() > 1)
        append2ParentNode();
    else
        pop();
    return true;
}

void Builder::append2ParentNode() {
    stack_item* parent = top->parent;
    if (!parent || parent->children.size() != 1)
        return;
    Network& whole = *parent->network;
    if (whole.NumStates() == 0)
        throw_exception("Network without states.");
    whole.SetFinal(whole.NumStates() - 1, Weight::One());
    set_final();
    FstErrorCapture capture;
    fst::Concat(&whole, *top->network);
    capture.check(in_error(whole), "Concat");
    pop();
}

void Builder::concat() {
    stack_item* parent = top->parent;
    if (!parent || parent->children.size() <= 1)
        return;
    auto& children = parent->children;
    Network& first = *children[children.size() - 2]->network;
    FstErrorCapture capture;
    fst::Concat(&first, *children.back()->network);
    capture.check(in_error(first), "Concat");
    pop();
}

void Builder::swap() {
    stack_item* parent = top->parent;
    if (parent && parent->children.size() == 2)
        std::swap(parent->children[0], parent->children[1]);
}

bool Builder::orit() const {
    return top && top->parent && top->parent->separator_type == "union";
}

bool Builder::unorderit() const {
    return top && top->parent && dez::string::starts_with(top->parent->separator_type, "unordered");
}

int Builder::last_state() const {
    const auto states = top->network->NumStates();
    if (states == 0)
        throw_exception("Network without states.");
    return states - 1;
}

void Builder::pushArc(const std::string& lower, const std::string& upper) {
    const int from = last_state();
    Network& network = *top->network;
    const int to = network.AddState();
    int64_t ilabel;
    int64_t olabel;
    if (read_only_tables) {
        ilabel = lower_key(lower, false);
        if (ilabel == fst::kNoSymbol)
            throw std::runtime_error(
                "ERROR: afst:builder::pushArc (lower) table is read only and label is not found[" +
                lower + "]");
        olabel = upper_key(upper, false);
        if (olabel == fst::kNoSymbol)
            throw std::runtime_error(
                "ERROR: afst:builder::pushArc (upper) table is read only and label is not found[" +
                upper + "]");
    } else {
        ilabel = lower_key(lower, true);
        olabel = upper_key(upper, true);
    }
    network.AddArc(from, Arc(static_cast<Arc::Label>(ilabel), static_cast<Arc::Label>(olabel),
                             Weight::One(), to));
}

std::int64_t Builder::lower_key(const std::string& symbol, bool add) {
    return cached_key(lower_keys_, lower_table, symbol, add);
}

std::int64_t Builder::upper_key(const std::string& symbol, bool add) {
    return cached_key(upper_keys_, upper_table, symbol, add);
}

void Builder::pushArc(const std::string& label) {
    pushArc(label, label);
}

void Builder::pushUtf8Arc(const std::string& lower, const std::string& upper) {
    const int from = last_state();
    Network& network = *top->network;
    const int to = network.AddState();
    const auto ilabel = static_cast<Arc::Label>(add_symbol(*lower_table, lower));
    const auto olabel = static_cast<Arc::Label>(add_symbol(*upper_table, upper));
    network.AddArc(from, Arc(ilabel, olabel, Weight::One(), to));
}

void Builder::pushArcIDs(const long& ilabel, const long& olabel) {
    const int from = last_state();
    Network& network = *top->network;
    const int to = network.AddState();
    network.AddArc(from, Arc(to_label(ilabel), to_label(olabel), Weight::One(), to));
}

void Builder::addArc(int from, int to, const std::string& lower, const std::string& upper) {
    const auto ilabel = static_cast<Arc::Label>(add_symbol(*lower_table, lower));
    const auto olabel = static_cast<Arc::Label>(add_symbol(*upper_table, upper));
    top->network->AddArc(from, Arc(ilabel, olabel, Weight::One(), to));
}

void Builder::addEpsilon() {
    push_lable("eps");
}

void Builder::push_lable(const std::string& label) {
    add_symbol(*lower_table, label);
    add_symbol(*upper_table, label);
}

void Builder::push_upper_lable(const std::string& label) {
    add_symbol(*upper_table, label);
}

void Builder::push_lower_lable(const std::string& label) {
    add_symbol(*lower_table, label);
}

void Builder::set_final() {
    top->network->SetFinal(last_state(), Weight::One());
}

void Builder::set_final(int state) {
    top->network->SetFinal(state, Weight::One());
}

std::shared_ptr<fst::StdVectorFst> Builder::newNetwork() {
    auto network = std::make_shared<Network>();
    network->SetInputSymbols(lower_table.get());
    network->SetOutputSymbols(upper_table.get());
    return network;
}

std::shared_ptr<fst::StdVectorFst> Builder::newNetwork(fst::VectorFst<fst::StdArc>* source) {
    auto network = std::make_shared<Network>(*source);
    network->SetInputSymbols(lower_table.get());
    network->SetOutputSymbols(upper_table.get());
    return network;
}

void Builder::setProperties() {
    Network& network = *top->network;
    // OpenFst's matchers and compositions trust the sorted bit, so it is only
    // ever set by sorting.
    if (!network.Properties(fst::kILabelSorted, false))
        fst::ArcSort(&network, fst::ILabelCompare<Arc>());
    network.SetProperties(0, fst::kAcceptor);
    detail::attach_tables(network, lower_table.get(), upper_table.get());
}

std::shared_ptr<fst::StdVectorFst> Builder::simple_copy() {
    setProperties();
    return top->network;
}

fst::VectorFst<fst::StdArc>* Builder::build(bool flag) {
    setProperties();
    if (flag) {
        // Epsilons go first so that the result is deterministic: removed
        // after minimisation they leave states with several arcs of one
        // label, and a lookup then follows every path of every combination.
        // Arcs that write something on an empty input are kept.
        removeEpsilon();
        determinize();
        minimize();
    } else {
        determinize();
    }
    setProperties();
    return top->network.get();
}

void Builder::closure(unsigned min, unsigned max) {
    if (max < min)
        throw std::runtime_error("ERROR: first range should be bigger then the second value");
    // Every repetition is a copy of the group's network.
    if (max > max_closure_repetitions)
        throw_exception("closure of " + std::to_string(max) + " repetitions exceeds the limit of " +
                        std::to_string(max_closure_repetitions) + ".");
    set_final();
    const Network& group = *top->network;
    const unsigned copies = std::max(max, 1u);
    const auto states = static_cast<std::size_t>(group.NumStates());
    // Nested counted groups multiply: refuse before the copies are made.
    if (copies * states > max_expansion_states)
        refuse("closure of " + std::to_string(copies) + " repetitions of " +
               std::to_string(states) + " states exceeds the limit of " +
               std::to_string(max_expansion_states) + " states.");
    // The copies are laid out one after the other; every way out of a copy
    // (not only its last state: a group that itself ends in several final
    // states would otherwise lose its shorter matches) leads by an epsilon arc
    // into the next copy, and is a way out of the whole from `min` copies on.
    // Built in one pass: concatenating copy by copy scans the whole result
    // every time.
    std::vector<Network::StateId> finals;
    for (Network::StateId state = 0; state < group.NumStates(); ++state)
        if (group.Final(state) != Weight::Zero())
            finals.push_back(state);
    auto result = newNetwork();
    result->ReserveStates(static_cast<Network::StateId>(copies * states));
    for (unsigned copy = 1; copy <= copies; ++copy) {
        const auto offset = static_cast<Network::StateId>((copy - 1) * states);
        const auto next_start = static_cast<Network::StateId>(copy * states) + group.Start();
        for (Network::StateId state = 0; state < group.NumStates(); ++state) {
            result->AddState();
            result->ReserveArcs(offset + state, group.NumArcs(state) + 1);
            for (fst::ArcIterator<Network> it(group, state); !it.Done(); it.Next()) {
                Arc arc = it.Value();
                arc.nextstate += offset;
                result->AddArc(offset + state, arc);
            }
        }
        for (const auto state : finals) {
            if (copy < copies)
                result->AddArc(offset + state, Arc(0, 0, Weight::One(), next_start));
            if (copy >= min || copy == copies)
                result->SetFinal(offset + state, Weight::One());
        }
    }
    result->SetStart(group.Start());
    if (min == 0)
        result->SetFinal(group.Start(), Weight::One());
    top->network = result;
}

void Builder::closure(unsigned n) {
    closure(n, n);
}

void Builder::closure(group_modifiers_type kind) {
    set_final();
    FstErrorCapture capture;
    switch (kind) {
    case kleene_star:
        fst::Closure(top->network.get(), fst::CLOSURE_STAR);
        break;
    case kleene_plus:
        fst::Closure(top->network.get(), fst::CLOSURE_PLUS);
        break;
    case optional:
        closure(0, 1);
        break;
    }
    capture.check(in_error(*top->network), "Closure");
}

void Builder::closure_modifier(const std::string& text) {
    if (text == "+")
        return closure(kleene_plus);
    if (text == "*")
        return closure(kleene_star);
    if (text == "?")
        return closure(optional);
    const auto parts = dez::string::split_vector(text, ',', false);
    if (parts.size() == 1)
        return closure(to_count(parts[0]));
    if (parts.size() == 2)
        return closure(to_count(parts[0]), to_count(parts[1]));
    throw std::runtime_error("ERROR: Invalid iterator type or range");
}

void Builder::applyUnion(int index) {
    if (!union_acyclic(index))
        foreach_child(this, union_networks, index);
}

// The union of entries and of buckets of entries: when every member is
// deterministic and acyclic, the union is made minimal at once, without the
// copy of every member that determinisation would then copy again. The
// language is that of the epsilon union.
bool Builder::union_acyclic(int index) {
    stack_item* parent = top->parent;
    if (!parent || parent->children.size() <= 1)
        return false;
    const int count = static_cast<int>(parent->children.size());
    if (index < 0 || index >= count)
        return false;
    if (!has_final_state(*top->network))
        set_final();
    const auto members = parent->children;
    std::vector<const Network*> networks;
    bool shared = false;
    for (int i = index; i < count; ++i) {
        const Network& network = *members[i]->network;
        // Members of at most one state add nothing, as in the epsilon union.
        if (network.NumStates() <= 1)
            continue;
        if (!detail::single_path(network)) {
            if (!detail::deterministic_acyclic(network))
                return false;
            shared = true;
        }
        networks.push_back(&network);
    }
    auto target = newNetwork();
    detail::union_acyclic(networks, shared, *target);
    // Released at once: a lexicon's members are most of its memory.
    for (int i = index; i < count; ++i)
        members[i]->network.reset();
    for (int i = 0; i < count - index - 1; ++i)
        pop();
    top->network = target;
    return true;
}

void Builder::union_groups() {
    if (!top->parent || top->parent->children.size() <= 1)
        return;
    foreach_group(this, newNetwork(), union_networks);
    if (top->network->NumStates() == 0) {
        // Every alternative was empty: the group stands for the empty string,
        // like an empty plain group, so the rule goes on from here.
        top->network = with_start_state(newNetwork());
        return;
    }
    removeEpsilon();
    determinize();
    minimize();
    end_in_one_last_state();
}

void Builder::end_in_one_last_state() {
    // Optimisation leaves no single last state; an epsilon arc from every
    // final state into a fresh one restores it.
    push();
    stack_item* member = top->parent;
    if (member->children.size() == 1) {
        pushUtf8Arc("eps", "eps");
        FstErrorCapture capture;
        fst::Concat(member->network.get(), *top->network);
        capture.check(in_error(*member->network), "Concat");
    }
    pop();
}

void Builder::unordered_group() {
    stack_item* group = top->parent;
    top = group;
    const std::string kind = group->separator_type;
    const auto members = group->children;
    const std::size_t count = members.size();
    // All count! orderings are built one by one.
    if (count > max_unordered_members)
        throw_exception("unordered group of " + std::to_string(count) +
                        " members exceeds the limit of " + std::to_string(max_unordered_members) +
                        " members.");
    void (*filler)(Builder&) = nullptr;
    if (kind == "unordered:adjacent")
        filler = [](Builder& b) { b.close_group(""); };
    else if (kind == "unordered:shortest")
        filler = [](Builder& b) {
            b.pushArcIDs(0x80000000L, 0);
            b.close_group("");
        };
    else if (kind == "unordered:longest")
        filler = [](Builder& b) {
            b.pushArcIDs(0x90000000L, 0);
            b.close_group("*");
        };
    else if (count > 1)
        throw_exception("unknown unordered group type " + kind + ".");

    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    group->children.clear();
    Builder collector;
    do {
        Builder sequence;
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) {
                sequence.open_rule();
                sequence.open_group();
                filler(sequence);
                sequence.close_rule();
                sequence.concat();
            }
            auto copy = newNetwork(members[order[i]]->network.get());
            if (copy->NumStates() == 0)
                throw_exception("Network without states.");
            copy->SetFinal(copy->NumStates() - 1, Weight::One());
            sequence.push_network(std::move(copy));
            sequence.concat();
        }
        sequence.build(false);
        collector.push_network(sequence.top->network);
    } while (std::next_permutation(order.begin(), order.end()));
    collector.applyUnion(0);
    collector.build(false);
    push_network_inplace(collector.top->network);
    top = group->children.back().get();
    // The closure and concatenation that follow need the last-state convention.
    end_in_one_last_state();
}

void Builder::throw_exception(const std::string& message) const {
    throw std::runtime_error("AFST Builder fatal error:" + message);
}

void Builder::refuse(const std::string& message) {
    throw AFSTException("AFST Builder fatal error:" + message);
}

void foreach_child(
    Builder* builder,
    std::function<void(std::shared_ptr<fst::StdVectorFst>, std::shared_ptr<stack_item>)> function,
    int index) {
    stack_item* parent = builder->top->parent;
    if (!parent || parent->children.size() <= 1)
        return;
    const int count = static_cast<int>(parent->children.size());
    if (index < 0 || index >= count)
        return;
    // A rule that was closed has its end final already; one that was built
    // (determinised, or read from a file) no longer ends in its highest
    // state, and marking that one final would add a false reading.
    if (!has_final_state(*builder->top->network))
        builder->set_final();
    auto target = with_start_state(builder->newNetwork());
    const auto members = parent->children;
    reserve_states(*target, members.begin() + index, members.end());
    for (int i = index; i < count; ++i)
        function(target, members[i]);
    for (int i = 0; i < count - index - 1; ++i)
        builder->pop();
    builder->top->network = target;
}

void foreach_group(
    Builder* builder, std::shared_ptr<fst::StdVectorFst> network,
    std::function<void(std::shared_ptr<fst::StdVectorFst>, std::shared_ptr<stack_item>)> function) {
    stack_item* parent = builder->top->parent;
    if (!parent || parent->children.size() <= 1)
        return;
    builder->set_final();
    const auto members = parent->children;
    reserve_states(*network, members.begin(), members.end());
    for (const auto& member : members)
        function(network, member);
    for (std::size_t i = 1; i < members.size(); ++i)
        builder->pop();
    builder->top->network = network;
}

void union_networks(std::shared_ptr<fst::StdVectorFst> target, std::shared_ptr<stack_item> member) {
    Network& network = *member->network;
    // An empty alternative adds nothing (not the empty string).
    if (network.NumStates() <= 1)
        return;
    network.SetInputSymbols(target->InputSymbols());
    network.SetOutputSymbols(target->OutputSymbols());
    FstErrorCapture capture;
    fst::Union(target.get(), network);
    capture.check(in_error(*target), "Union");
}

} // namespace dez::afst
