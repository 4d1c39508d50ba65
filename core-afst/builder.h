#pragma once

#include "core-afst/afst_exception.h"
#include "core-afst/stack_item.h"

// Only OpenFst's forward declarations: the network types stay incomplete for
// the many files that include this header.
#include <fst/fst-decl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fst {
struct FstWriteOptions;
}

namespace dez::afst {

namespace detail {
// The keys of one-byte symbols in one table: a lexicon looks up a symbol for
// every character. The table is held, so that no other one can come to lie
// where it was.
struct SymbolCache {
    std::shared_ptr<const fst::SymbolTable> table;
    std::array<int, 256> keys{};
};
} // namespace detail

// Turns a stream of small operations (arcs, groups, separators, closures,
// rules) into one OpenFst transducer over standard arcs. Input labels are the
// symbols of the table "lower", output labels those of "upper"; both start
// with "eps" (0) and "EPS" (1).
//
// The pattern built so far in an item's network runs from state 0 to its
// highest-numbered state, and new arcs leave from that last state; every
// operation keeps to this.
//
// Determinisation and minimisation work on the transducer with each
// (input, output) label pair encoded as one label, i.e. on an acceptor, and
// decode afterwards. OpenFst's own transducer determinisation needs a
// functional transducer (a lexicon word with two readings is not), and its
// non-functional mode moves output labels away from their input labels and
// leaves several "EPS" arcs on one state, which minimisation then refuses.
// Over encoded pairs every path keeps its labels exactly.
//
// Lexicons take shortcuts with the same results: a network that is already
// deterministic over pairs (a single entry) is not determinised again, and
// the union and minimisation of deterministic acyclic networks (entries,
// buckets of entries, lexicons) are done in one bottom-up pass
// (builder_network_shape.cpp). `build(true)` removes epsilons before it
// determinises, so that written networks are deterministic over pairs and
// free of epsilon arcs (arcs that write on an empty input stay).
//
// OpenFst's fatal log message ends the process, so OpenFst runs with
// fst_error_fatal false; after every OpenFst call the error property is
// checked and a failure throws AFSTException "FATAL: <OpenFst's message>\n"
// (fst_error_capture.h). A bad rule or lexicon never ends the process.
//
// One thread at a time.
class Builder {
public:
    enum group_modifiers_type { kleene_star = 0, kleene_plus = 1, optional = 2 };

    // Safety limits on what one closed group may expand into.
    static constexpr unsigned max_closure_repetitions = 1000;
    static constexpr std::size_t max_unordered_members = 7;
    // A closure may make a network of at most this many states; a
    // determinisation (or union of deterministic networks) at most this many
    // or twice its input's states, whichever is more: a lexicon shrinks when
    // determinised, a short line that grows past this blows up exponentially.
    // Beyond that the line is refused with AFSTException.
    static constexpr std::size_t max_expansion_states = 20000;

    Builder();
    ~Builder();
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    void clear();
    void add_root();

    // Items and groups.
    void push();
    stack_item* push(stack_item* item);
    void pop();
    void open_rule();
    void close_rule();
    void open_group();
    void separator(const std::string& text);
    void unordered_separator(const std::string& kind);
    void close_group(const std::string& modifier);
    bool closing_concat_group();
    void append2ParentNode();
    void concat();
    void swap();
    bool orit() const;
    bool unorderit() const;

    // Arcs, labels and states of top's network.
    void pushArc(const std::string& lower, const std::string& upper);
    void pushArc(const std::string& label);
    void pushUtf8Arc(const std::string& lower, const std::string& upper);
    void pushArcIDs(const long& ilabel, const long& olabel);
    void addArc(int from, int to, const std::string& lower, const std::string& upper);
    void addEpsilon();
    void push_lable(const std::string& label);
    void push_upper_lable(const std::string& label);
    void push_lower_lable(const std::string& label);
    void set_final();
    void set_final(int state);
    std::shared_ptr<fst::StdVectorFst> newNetwork();
    std::shared_ptr<fst::StdVectorFst> newNetwork(fst::VectorFst<fst::StdArc>* source);
    void setProperties();
    std::shared_ptr<fst::StdVectorFst> simple_copy();
    // The network stays the builder's (top's); callers copy it.
    fst::VectorFst<fst::StdArc>* build(bool flag);

    // Closures of top's network.
    void closure(unsigned min, unsigned max);
    void closure(unsigned n);
    void closure(group_modifiers_type kind);
    void closure_modifier(const std::string& text);

    // Unions.
    void applyUnion(int index);
    void union_groups();

    // Whole-network operations on top's network.
    void determinize();
    void minimize();
    void removeEpsilon();
    void reverse();
    void invert();

    // Operations on a group of exactly two members.
    void compose();
    void difference();
    void replace(const std::string& label);
    void intersect();

    // Tables and ready-made networks.
    stack_item* push_network(std::shared_ptr<fst::VectorFst<fst::StdArc>> network);
    void push_network_inplace(std::shared_ptr<fst::VectorFst<fst::StdArc>> network);
    void set_lower_table(std::shared_ptr<fst::SymbolTable> table);
    void set_upper_table(std::shared_ptr<fst::SymbolTable> table);
    void set_read_only_tables(bool value);

    // Files and streams, in OpenFst's binary format with both tables.
    bool read_fst(std::string path);
    void read(const std::string& path);
    bool write(std::string path);
    void save(const std::string& path);
    void raw_save(const std::string& path);
    bool write(std::ostream& stream, const fst::FstWriteOptions& options);
    void write(std::ostream& stream);

    // Debugging output on standard output.
    void print_stack(std::string title);
    void print_stack_item(int depth, std::shared_ptr<stack_item> item);
    void print_symbol_table(const std::string& title, const fst::SymbolTable* table);
    void print_lower(std::string title);
    void print_upper(std::string title);

    void throw_exception(const std::string& message) const;
    // AFSTException "AFST Builder fatal error:" + message: a line that would
    // expand beyond the safety limits.
    [[noreturn]] static void refuse(const std::string& message);

    std::vector<std::shared_ptr<stack_item>> stack;
    stack_item* top;
    std::shared_ptr<fst::SymbolTable> lower_table;
    std::shared_ptr<fst::SymbolTable> upper_table;
    bool read_only_tables;

private:
    detail::SymbolCache lower_keys_;
    detail::SymbolCache upper_keys_;

    int last_state() const;
    std::int64_t lower_key(const std::string& symbol, bool add);
    std::int64_t upper_key(const std::string& symbol, bool add);
    void unordered_group();
    void end_in_one_last_state();
    bool union_acyclic(int index);
    void two_member_warning(const char* operation) const;
};

// Renumbers `source`'s symbols into `target` (adding the ones it lacks) and
// returns the pairs (source key, target key) for OpenFst's Relabel.
std::vector<std::pair<int, int>> merge_tables(fst::SymbolTable* target,
                                              const fst::SymbolTable* source);

// Calls `function` with `target` and each member of top's group (from
// position `index` on, or all of them) and folds the group into one member.
void foreach_child(
    Builder* builder,
    std::function<void(std::shared_ptr<fst::StdVectorFst>, std::shared_ptr<stack_item>)> function,
    int index);
void foreach_group(
    Builder* builder, std::shared_ptr<fst::StdVectorFst> network,
    std::function<void(std::shared_ptr<fst::StdVectorFst>, std::shared_ptr<stack_item>)> function);

// Unions a member of more than one state into `target`.
void union_networks(std::shared_ptr<fst::StdVectorFst> target, std::shared_ptr<stack_item> member);

} // namespace dez::afst
