// Shapes of networks that let the builder skip work (determinisation of a
// network that is deterministic already), and the union and minimisation of
// deterministic acyclic networks, the shape of lexicons.
#include "core-afst/builder_algorithms.h"

#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dez::afst::detail {
namespace {

using Network = fst::StdVectorFst;
using Arc = fst::StdArc;
using StateId = Arc::StateId;
using Weight = fst::TropicalWeight;

// No two arcs of `state` share their (input, output) pair.
bool distinct_pairs(const Network& network, StateId state,
                    std::vector<std::pair<int, int>>& scratch) {
    const auto count = network.NumArcs(state);
    if (count < 2)
        return true;
    scratch.clear();
    for (fst::ArcIterator<Network> it(network, state); !it.Done(); it.Next())
        scratch.emplace_back(it.Value().ilabel, it.Value().olabel);
    std::sort(scratch.begin(), scratch.end());
    return std::adjacent_find(scratch.begin(), scratch.end()) == scratch.end();
}

} // namespace

bool single_path(const Network& network) {
    const StateId states = network.NumStates();
    if (states == 0 || network.Start() != 0)
        return false;
    for (StateId state = 0; state + 1 < states; ++state) {
        const Weight final = network.Final(state);
        if (network.NumArcs(state) != 1 || (final != Weight::Zero() && final != Weight::One()))
            return false;
        fst::ArcIterator<Network> it(network, state);
        if (it.Value().nextstate != state + 1 || it.Value().weight != Weight::One())
            return false;
    }
    const Weight last = network.Final(states - 1);
    return network.NumArcs(states - 1) == 0 && (last == Weight::Zero() || last == Weight::One());
}

namespace {

bool same_contents(const fst::SymbolTable* attached, const fst::SymbolTable* table) {
    if (!attached || !table)
        return attached == table;
    return attached == table ||
           (attached->NumSymbols() == table->NumSymbols() &&
            attached->AvailableKey() == table->AvailableKey() && attached->Name() == table->Name() &&
            attached->LabeledCheckSum() == table->LabeledCheckSum());
}

} // namespace

void attach_tables(Network& network, const fst::SymbolTable* input,
                   const fst::SymbolTable* output) {
    if (!same_contents(network.InputSymbols(), input))
        network.SetInputSymbols(input);
    if (!same_contents(network.OutputSymbols(), output))
        network.SetOutputSymbols(output);
}

bool deterministic_over_pairs(const Network& network) {
    const StateId states = network.NumStates();
    if (single_path(network))
        return true;
    if (network.Start() == fst::kNoStateId)
        return states == 0;
    std::vector<std::pair<int, int>> scratch;
    std::vector<bool> reached(static_cast<std::size_t>(states), false);
    std::vector<StateId> todo = {network.Start()};
    reached[static_cast<std::size_t>(network.Start())] = true;
    StateId count = 1;
    while (!todo.empty()) {
        const StateId state = todo.back();
        todo.pop_back();
        if (!distinct_pairs(network, state, scratch))
            return false;
        for (fst::ArcIterator<Network> it(network, state); !it.Done(); it.Next()) {
            const auto next = static_cast<std::size_t>(it.Value().nextstate);
            if (!reached[next]) {
                reached[next] = true;
                ++count;
                todo.push_back(it.Value().nextstate);
            }
        }
    }
    return count == states;
}

namespace {

// The states of a minimal network are the distinct signatures of states:
// final or not, and the sorted (input, output, class of the target) triples
// of their arcs. Signatures live in one array; the table keys
// are their places in it.
class Signatures {
public:
    struct Key {
        std::uint32_t offset;
        std::uint32_t length;
    };

    explicit Signatures(std::size_t expected) {
        data_.reserve(expected * 4);
        keys_.reserve(expected);
        std::size_t slots = 1024;
        while (slots < expected * 2)
            slots *= 2;
        slots_.assign(slots, -1);
    }

    // Starts a signature; `push` adds to it; `intern` ends it and returns the
    // class of an equal earlier one, or a new class.
    void begin(bool final) {
        begin_ = data_.size();
        data_.push_back(final ? 1 : 0);
    }
    void push(int ilabel, int olabel, int target) {
        data_.push_back(ilabel);
        data_.push_back(olabel);
        data_.push_back(target);
    }
    int intern() {
        const Key key{static_cast<std::uint32_t>(begin_),
                      static_cast<std::uint32_t>(data_.size() - begin_)};
        const std::uint64_t hash = hash_of(key);
        // Open addressing, linear probing: no allocation per class.
        std::size_t slot = static_cast<std::size_t>(hash) & (slots_.size() - 1);
        for (; slots_[slot] >= 0; slot = (slot + 1) & (slots_.size() - 1)) {
            const int id = slots_[slot];
            if (hashes_[static_cast<std::size_t>(id)] == hash && equal(keys_[id], key)) {
                data_.resize(begin_);
                return id;
            }
        }
        const int id = static_cast<int>(keys_.size());
        keys_.push_back(key);
        hashes_.push_back(hash);
        slots_[slot] = id;
        if (keys_.size() * 2 > slots_.size())
            grow();
        return id;
    }
    std::size_t size() const { return keys_.size(); }
    bool final(int id) const { return data_[keys_[id].offset] != 0; }
    // The arcs of class `id`: (input, output, target class) triples.
    const int* arcs(int id) const { return data_.data() + keys_[id].offset + 1; }
    std::size_t arc_count(int id) const { return (keys_[id].length - 1) / 3; }

private:
    std::uint64_t hash_of(const Key& key) const {
        std::uint64_t hash = 1469598103934665603ull;
        for (std::uint32_t i = 0; i < key.length; ++i) {
            hash ^= static_cast<std::uint32_t>(data_[key.offset + i]);
            hash *= 1099511628211ull;
        }
        return hash ^ (hash >> 32);
    }
    bool equal(const Key& a, const Key& b) const {
        return a.length == b.length && std::equal(data_.begin() + a.offset,
                                                  data_.begin() + a.offset + a.length,
                                                  data_.begin() + b.offset);
    }
    void grow() {
        slots_.assign(slots_.size() * 2, -1);
        for (std::size_t id = 0; id < keys_.size(); ++id) {
            std::size_t slot = static_cast<std::size_t>(hashes_[id]) & (slots_.size() - 1);
            while (slots_[slot] >= 0)
                slot = (slot + 1) & (slots_.size() - 1);
            slots_[slot] = static_cast<int>(id);
        }
    }

    std::vector<int> data_;
    std::size_t begin_ = 0;
    std::vector<Key> keys_;
    std::vector<std::uint64_t> hashes_;
    std::vector<int> slots_;
};

// Sets of member states, one per member at most, that one state of the
// union stands for; each set once, with the class found for it.
class Tuples {
public:
    using Key = Signatures::Key;

    // Appends a set to the array; `find` then looks the last one up and
    // drops it again when it is known.
    void push(int member, StateId state) {
        data_.push_back((static_cast<std::uint64_t>(static_cast<std::uint32_t>(member)) << 32) |
                        static_cast<std::uint32_t>(state));
    }
    std::size_t size() const { return data_.size(); }
    // The class of the set [begin, end) if known (and then the set is dropped).
    bool find(std::size_t begin, int& id) {
        const auto found = ids_.find(Key{static_cast<std::uint32_t>(begin),
                                         static_cast<std::uint32_t>(data_.size() - begin)});
        if (found == ids_.end())
            return false;
        id = found->second;
        data_.resize(begin);
        return true;
    }
    void remember(const Key& key, int id) { ids_.emplace(key, id); }
    // Most sets are single states once the members' paths part; those are
    // remembered by state.
    std::vector<std::vector<int>> single;
    void truncate(std::size_t size) { data_.resize(size); }
    int member(std::size_t at) const { return static_cast<int>(data_[at] >> 32); }
    StateId state(std::size_t at) const { return static_cast<StateId>(data_[at] & 0xffffffffu); }

private:
    struct Hash {
        const std::vector<std::uint64_t>* data;
        std::size_t operator()(const Key& key) const {
            std::uint64_t hash = 1469598103934665603ull;
            for (std::uint32_t i = 0; i < key.length; ++i) {
                hash ^= (*data)[key.offset + i];
                hash *= 1099511628211ull;
            }
            return static_cast<std::size_t>(hash ^ (hash >> 29));
        }
    };
    struct Equal {
        const std::vector<std::uint64_t>* data;
        bool operator()(const Key& a, const Key& b) const {
            return a.length == b.length &&
                   std::equal(data->begin() + a.offset, data->begin() + a.offset + a.length,
                              data->begin() + b.offset);
        }
    };

    std::vector<std::uint64_t> data_;
    std::unordered_map<Key, int, Hash, Equal> ids_{1024, Hash{&data_}, Equal{&data_}};
};

struct Pending {
    int ilabel;
    int olabel;
    int member;
    StateId next;
    bool operator<(const Pending& other) const {
        return std::tie(ilabel, olabel, member) < std::tie(other.ilabel, other.olabel, other.member);
    }
};

// One state of the union under construction.
struct Frame {
    Signatures::Key tuple;
    bool final = false;
    std::vector<Pending> arcs; // of all its member states, sorted
    std::size_t cursor = 0;    // the next group of equal labels in `arcs`
    int ilabel = 0;            // labels of the group being worked on
    int olabel = 0;
    std::vector<std::array<int, 3>> done; // (input, output, class)
};

// The class of the union's start, or -1 when no final state is reachable.
// Depth first with an explicit stack: a long entry must not exhaust the
// machine stack.
int union_classes(const std::vector<const Network*>& members, bool shared,
                  Signatures& signatures) {
    // Sets of states of several members could multiply like the states of a
    // determinisation; the same limit holds.
    std::size_t states = 0;
    for (const Network* member : members)
        states += static_cast<std::size_t>(member->NumStates());
    const std::size_t limit = determinisation_limit(states);
    std::size_t opened = 0;
    Tuples tuples;
    constexpr int unknown = -2;
    if (shared)
        for (const Network* member : members)
            tuples.single.emplace_back(static_cast<std::size_t>(member->NumStates()), unknown);
    std::vector<Frame> frames;
    std::size_t depth = 0;
    const auto open = [&](std::size_t begin) {
        if (++opened > limit)
            refuse_determinisation(limit);
        if (frames.size() <= depth)
            frames.emplace_back();
        Frame& frame = frames[depth++];
        frame.tuple = {static_cast<std::uint32_t>(begin),
                       static_cast<std::uint32_t>(tuples.size() - begin)};
        frame.final = false;
        frame.arcs.clear();
        frame.cursor = 0;
        frame.done.clear();
        for (std::size_t i = begin; i < tuples.size(); ++i) {
            const int member = tuples.member(i);
            const StateId state = tuples.state(i);
            const Network& network = *members[static_cast<std::size_t>(member)];
            if (network.Final(state) != Weight::Zero())
                frame.final = true;
            for (fst::ArcIterator<Network> it(network, state); !it.Done(); it.Next())
                frame.arcs.push_back(
                    {it.Value().ilabel, it.Value().olabel, member, it.Value().nextstate});
        }
        // A single state's arcs mostly come sorted already.
        if (!std::is_sorted(frame.arcs.begin(), frame.arcs.end()))
            std::sort(frame.arcs.begin(), frame.arcs.end());
    };
    const std::size_t start = tuples.size();
    for (std::size_t m = 0; m < members.size(); ++m)
        tuples.push(static_cast<int>(m), members[m]->Start());
    open(start);
    for (;;) {
        Frame& frame = frames[depth - 1];
        if (frame.cursor < frame.arcs.size()) {
            // The next group of arcs with one label pair leads to one state.
            const Pending& first = frame.arcs[frame.cursor];
            frame.ilabel = first.ilabel;
            frame.olabel = first.olabel;
            const std::size_t begin = tuples.size();
            std::size_t end = frame.cursor;
            for (; end < frame.arcs.size() && frame.arcs[end].ilabel == frame.ilabel &&
                   frame.arcs[end].olabel == frame.olabel;
                 ++end)
                tuples.push(frame.arcs[end].member, frame.arcs[end].next);
            frame.cursor = end;
            int id = unknown;
            if (shared) {
                if (tuples.size() - begin == 1) {
                    id = tuples.single[static_cast<std::size_t>(tuples.member(begin))]
                                      [static_cast<std::size_t>(tuples.state(begin))];
                    if (id != unknown)
                        tuples.truncate(begin);
                } else if (!tuples.find(begin, id)) {
                    id = unknown;
                }
            }
            if (id == unknown) {
                open(begin);
            } else if (id >= 0) {
                frame.done.push_back({frame.ilabel, frame.olabel, id});
            }
            continue;
        }
        int id = -1;
        if (frame.final || !frame.done.empty()) {
            signatures.begin(frame.final);
            for (const auto& arc : frame.done)
                signatures.push(arc[0], arc[1], arc[2]);
            id = signatures.intern();
        }
        if (!shared)
            tuples.truncate(frame.tuple.offset);
        else if (frame.tuple.length == 1) {
            tuples.single[static_cast<std::size_t>(tuples.member(frame.tuple.offset))]
                         [static_cast<std::size_t>(tuples.state(frame.tuple.offset))] = id;
            if (frame.tuple.offset + 1 == tuples.size())
                tuples.truncate(frame.tuple.offset);
        } else
            tuples.remember(frame.tuple, id);
        if (--depth == 0)
            return id;
        Frame& parent = frames[depth - 1];
        if (id >= 0)
            parent.done.push_back({parent.ilabel, parent.olabel, id});
    }
}

// Writes the classes into `network` (which has no states), numbered
// breadth-first from `start`, each state's arcs sorted by (input, output).
void emit(const Signatures& signatures, int start, Network& network) {
    std::vector<StateId> number(signatures.size(), fst::kNoStateId);
    std::vector<int> queue = {start};
    number[static_cast<std::size_t>(start)] = network.AddState();
    network.SetStart(number[static_cast<std::size_t>(start)]);
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int id = queue[i];
        const StateId state = number[static_cast<std::size_t>(id)];
        if (signatures.final(id))
            network.SetFinal(state, Weight::One());
        const int* arc = signatures.arcs(id);
        const std::size_t count = signatures.arc_count(id);
        network.ReserveArcs(state, count);
        for (std::size_t a = 0; a < count; ++a, arc += 3) {
            auto& next = number[static_cast<std::size_t>(arc[2])];
            if (next == fst::kNoStateId) {
                next = network.AddState();
                queue.push_back(arc[2]);
            }
            network.AddArc(state, Arc(arc[0], arc[1], Weight::One(), next));
        }
    }
}

} // namespace

bool deterministic_acyclic(const Network& network) {
    const StateId states = network.NumStates();
    const StateId start = network.Start();
    if (start == fst::kNoStateId)
        return false;
    if (single_path(network))
        return true;
    // 0 unseen, 1 on the current path, 2 done.
    std::vector<unsigned char> colour(static_cast<std::size_t>(states), 0);
    std::vector<std::pair<int, int>> scratch;
    std::vector<std::pair<StateId, std::size_t>> path = {{start, 0}};
    colour[static_cast<std::size_t>(start)] = 1;
    StateId reached = 1;
    while (!path.empty()) {
        auto& [state, next_arc] = path.back();
        if (next_arc == 0) {
            const Weight final = network.Final(state);
            if ((final != Weight::Zero() && final != Weight::One()) ||
                !distinct_pairs(network, state, scratch))
                return false;
        }
        if (next_arc < network.NumArcs(state)) {
            fst::ArcIterator<Network> it(network, state);
            it.Seek(next_arc++);
            const Arc& arc = it.Value();
            if (arc.weight != Weight::One())
                return false;
            auto& seen = colour[static_cast<std::size_t>(arc.nextstate)];
            if (seen == 1)
                return false; // a cycle
            if (seen == 0) {
                seen = 1;
                ++reached;
                path.emplace_back(arc.nextstate, 0);
            }
            continue;
        }
        colour[static_cast<std::size_t>(state)] = 2;
        path.pop_back();
    }
    return reached == states;
}

void union_acyclic(const std::vector<const Network*>& members, bool shared, Network& target) {
    target.DeleteStates();
    std::size_t states = 0;
    for (const Network* member : members)
        states += static_cast<std::size_t>(member->NumStates());
    Signatures signatures(states / 2);
    const int start = members.empty() ? -1 : union_classes(members, shared, signatures);
    if (start < 0) {
        // Nothing is accepted: the empty union, one state that is not final.
        target.SetStart(target.AddState());
        return;
    }
    emit(signatures, start, target);
}

void minimize_acyclic(Network& network) {
    Signatures signatures(static_cast<std::size_t>(network.NumStates()));
    const int start = union_classes({&network}, !single_path(network), signatures);
    network.DeleteStates();
    // Like a connected minimisation, nothing is left of a network that
    // accepts nothing.
    if (start >= 0)
        emit(signatures, start, network);
}

} // namespace dez::afst::detail
