// The builder's whole-network operations, table merging and transducer files.
#include "core-afst/builder.h"

#include "core-afst/fst_error_capture.h"

#include <fst/arcsort.h>
#include <fst/compose.h>
#include <fst/connect.h>
#include <fst/determinize.h>
#include <fst/difference.h>
#include <fst/encode.h>
#include <fst/intersect.h>
#include <fst/minimize.h>
#include <fst/relabel.h>
#include <fst/replace.h>
#include <fst/reverse.h>
#include <fst/rmepsilon.h>
#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <stdexcept>

namespace dez::afst {
namespace {

using Network = fst::StdVectorFst;
using Arc = fst::StdArc;
using Weight = fst::TropicalWeight;
using detail::FstErrorCapture;
using detail::in_error;

// Quantisation delta of every optimisation.
constexpr float builder_delta = 1.0f / 1024;

fst::CacheOptions cache_options() {
    return fst::CacheOptions(FLAGS_fst_default_cache_gc, 0);
}

void remove_epsilon(Network& network) {
    FstErrorCapture capture;
    fst::RmEpsilon(&network, true, Weight::Zero(), fst::kNoStateId, builder_delta);
    capture.check(in_error(network), "RmEpsilon");
}

// Determinises `source` into `target` over encoded label pairs (see the class
// comment): an acceptor over pairs needs no functional input and keeps every
// path's labels. The subsequential label "EPS" never comes into play there.
// The states are taken one by one from OpenFst's delayed determinisation, in
// the order its own copy takes them, so that a result growing past the limit
// is refused before it takes the machine's memory.
void determinize_into(const Network& source, Network& target) {
    const auto limit = std::max<std::size_t>(Builder::max_expansion_states,
                                             2 * static_cast<std::size_t>(source.NumStates()));
    FstErrorCapture capture;
    fst::EncodeMapper<Arc> encoder(fst::kEncodeLabels, fst::ENCODE);
    Network encoded(source);
    fst::Encode(&encoded, &encoder);
    fst::DeterminizeFstOptions<Arc> options(fst::CacheOptions(true, 0), builder_delta, 1);
    const fst::DeterminizeFst<Arc> lazy(encoded, options);
    target.DeleteStates();
    for (fst::StateIterator<fst::DeterminizeFst<Arc>> it(lazy); !it.Done(); it.Next()) {
        const auto state = it.Value();
        if (static_cast<std::size_t>(state) >= limit)
            Builder::refuse("determinisation exceeds the limit of " + std::to_string(limit) +
                            " states.");
        target.AddState();
        target.SetFinal(state, lazy.Final(state));
        target.ReserveArcs(state, lazy.NumArcs(state));
        for (fst::ArcIterator<fst::DeterminizeFst<Arc>> arc(lazy, state); !arc.Done(); arc.Next())
            target.AddArc(state, arc.Value());
    }
    target.SetStart(lazy.Start());
    capture.check(in_error(lazy) || in_error(encoded), "Determinize");
    fst::ArcMap(&target, fst::EncodeMapper<Arc>(encoder, fst::DECODE));
    capture.check(in_error(target), "Determinize");
}

// Relabels `network` into the builder's tables, which grow by every symbol
// the network's own tables know.
void relabel_into(Builder& builder, Network& network) {
    const auto ipairs = merge_tables(builder.lower_table.get(), network.InputSymbols());
    const auto opairs = merge_tables(builder.upper_table.get(), network.OutputSymbols());
    FstErrorCapture capture;
    fst::Relabel(&network, ipairs, opairs);
    capture.check(in_error(network), "Relabel");
    network.SetInputSymbols(builder.lower_table.get());
    network.SetOutputSymbols(builder.upper_table.get());
}

} // namespace

void Builder::determinize() {
    auto result = newNetwork();
    determinize_into(*top->network, *result);
    result->SetInputSymbols(lower_table.get());
    result->SetOutputSymbols(upper_table.get());
    top->network = result;
}

void Builder::minimize() {
    // In place, over encoded label pairs like determinize: OpenFst's
    // transducer minimisation would push output labels along the paths.
    Network& network = *top->network;
    FstErrorCapture capture;
    fst::EncodeMapper<Arc> encoder(fst::kEncodeLabels, fst::ENCODE);
    fst::Encode(&network, &encoder);
    fst::Minimize(&network, static_cast<fst::MutableFst<Arc>*>(nullptr), builder_delta);
    fst::ArcMap(&network, fst::EncodeMapper<Arc>(encoder, fst::DECODE));
    capture.check(in_error(network), "Minimize");
    network.SetInputSymbols(encoder.InputSymbols());
    network.SetOutputSymbols(encoder.OutputSymbols());
}

void Builder::removeEpsilon() {
    remove_epsilon(*top->network);
}

void Builder::reverse() {
    auto result = newNetwork();
    FstErrorCapture capture;
    fst::Reverse(*top->network, result.get());
    capture.check(in_error(*result), "Reverse");
    top->network = result;
}

void Builder::invert() {
    std::swap(lower_table, upper_table);
}

void Builder::two_member_warning(const char* operation) const {
    std::cout << "Warning : FstBuilderCommands : " << operation
              << " : Only works on a group of 2 networks.";
}

void Builder::compose() {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("compose");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    remove_epsilon(first);
    remove_epsilon(second);
    // Composition needs one side sorted on the labels it matches.
    fst::ArcSort(&second, fst::ILabelCompare<Arc>());
    // The tree changes only once the result is sound.
    auto result = newNetwork();
    FstErrorCapture capture;
    *result = fst::ComposeFst<Arc>(first, second, cache_options());
    fst::Connect(result.get());
    capture.check(in_error(*result), "Compose");
    push(group)->network = result;
}

void Builder::difference() {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("difference");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    remove_epsilon(first);
    remove_epsilon(second);
    auto subtrahend = newNetwork();
    determinize_into(second, *subtrahend);
    fst::ArcSort(subtrahend.get(), fst::ILabelCompare<Arc>());
    auto result = newNetwork();
    FstErrorCapture capture;
    *result = fst::DifferenceFst<Arc>(first, *subtrahend, cache_options());
    fst::Connect(result.get());
    capture.check(in_error(*result), "Difference");
    push();
    top->network = result;
}

void Builder::replace(const std::string& label) {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("replace");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    remove_epsilon(first);
    remove_epsilon(second);
    const auto key = static_cast<Arc::Label>(lower_table->Find(label));
    const Network root(first);
    const Network inserted(second);
    const std::vector<std::pair<Arc::Label, const fst::Fst<Arc>*>> networks = {{1, &root},
                                                                               {key, &inserted}};
    auto result = newNetwork();
    FstErrorCapture capture;
    fst::Replace(networks, result.get(), 1, true);
    capture.check(in_error(*result), "Replace");
    top = push(group);
    top->network = result;
}

void Builder::intersect() {
    stack_item* group = top->parent;
    if (!group || group->children.size() != 2)
        return two_member_warning("intersect");
    Network& first = *group->children[0]->network;
    Network& second = *group->children[1]->network;
    fst::ArcSort(&second, fst::ILabelCompare<Arc>());
    // Kept like compose's result: a third member, top unmoved.
    auto result = newNetwork();
    FstErrorCapture capture;
    *result = fst::IntersectFst<Arc>(first, second, cache_options());
    fst::Connect(result.get());
    capture.check(in_error(*result), "Intersect");
    push(group)->network = result;
}

std::vector<std::pair<int, int>> merge_tables(fst::SymbolTable* target,
                                              const fst::SymbolTable* source) {
    std::vector<std::pair<int, int>> pairs;
    if (!target || !source)
        return pairs;
    // Every symbol of the source, gaps in its keys or not: a label left out
    // here would keep a number that means another symbol in the target.
    for (const auto& entry : *source) {
        const std::string symbol = entry.Symbol();
        if (symbol.empty())
            continue;
        int64_t key = target->Find(symbol);
        if (key == fst::kNoSymbol)
            key = target->AddSymbol(symbol);
        pairs.emplace_back(static_cast<int>(entry.Label()), static_cast<int>(key));
    }
    return pairs;
}

stack_item* Builder::push_network(std::shared_ptr<fst::VectorFst<fst::StdArc>> network) {
    if (!network)
        throw_exception("push_network without a network.");
    // Relabelling changes the network; one that somebody else still holds is
    // relabelled as a copy.
    if (network.use_count() > 1)
        network = std::make_shared<Network>(*network);
    relabel_into(*this, *network);
    stack_item* root = stack.front().get();
    auto item = std::make_shared<stack_item>();
    item->network = std::move(network);
    item->parent = root;
    root->children.push_back(item);
    top = item.get();
    return top;
}

void Builder::push_network_inplace(std::shared_ptr<fst::VectorFst<fst::StdArc>> network) {
    if (!network)
        throw_exception("push_network without a network.");
    if (network.use_count() > 1)
        network = std::make_shared<Network>(*network);
    relabel_into(*this, *network);
    auto item = std::make_shared<stack_item>();
    item->network = std::move(network);
    item->parent = top;
    top->children.push_back(item);
}

void Builder::set_lower_table(std::shared_ptr<fst::SymbolTable> table) {
    lower_table = std::move(table);
}

void Builder::set_upper_table(std::shared_ptr<fst::SymbolTable> table) {
    upper_table = std::move(table);
}

void Builder::set_read_only_tables(bool value) {
    read_only_tables = value;
}

bool Builder::read_fst(std::string path) {
    // OpenFst reads standard input for an empty name; that is not a file.
    if (path.empty())
        return false;
    std::unique_ptr<Network> network;
    {
        FstErrorCapture capture;
        network.reset(Network::Read(path));
        if (network)
            capture.check(in_error(*network), "Read");
    }
    if (!network)
        return false;
    push_network(std::shared_ptr<Network>(std::move(network)));
    return true;
}

void Builder::read(const std::string& path) {
    if (!read_fst(path))
        throw std::runtime_error("Could not read from stream. [" + path + "]");
}

bool Builder::write(std::string path) {
    // OpenFst writes to standard output for an empty name.
    if (path.empty())
        return false;
    FstErrorCapture capture;
    return top->network->Write(path);
}

void Builder::save(const std::string& path) {
    if (!write(path))
        throw std::runtime_error("Could not save the " + path + ".");
}

void Builder::raw_save(const std::string& path) {
    save(path);
}

bool Builder::write(std::ostream& stream, const fst::FstWriteOptions& options) {
    FstErrorCapture capture;
    return top->network->Write(stream, options);
}

void Builder::write(std::ostream& stream) {
    build(true);
    const fst::FstWriteOptions options("stream", true, true, true, FLAGS_fst_align);
    if (!write(stream, options))
        throw std::runtime_error("Could not save to stream.");
}

void Builder::print_stack(std::string) {}

void Builder::print_stack_item(int depth, std::shared_ptr<stack_item> item) {
    std::cout << std::string(static_cast<std::size_t>(depth) * 2, ' ')
              << static_cast<const void*>(item.get()) << "_separator_type:" << item->separator_type
              << " group_size:" << item->children.size() << "\n";
    for (const auto& child : item->children)
        print_stack_item(depth + 1, child);
}

void Builder::print_symbol_table(const std::string& title, const fst::SymbolTable* table) {
    std::cout << title << "\n";
    if (!table)
        return;
    std::size_t position = 0;
    for (const auto& entry : *table)
        std::cout << position++ << ":" << entry.Label() << "=" << entry.Symbol() << "\n";
}

void Builder::print_lower(std::string title) {
    top->network->SetInputSymbols(lower_table.get());
    print_symbol_table(title, top->network->InputSymbols());
}

void Builder::print_upper(std::string title) {
    top->network->SetOutputSymbols(upper_table.get());
    print_symbol_table(title, top->network->OutputSymbols());
}

} // namespace dez::afst
