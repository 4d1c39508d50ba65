// The builder's reversal, table merging, ready networks and transducer files;
// the other whole-network operations have a file each (builder_<operation>.cpp).
#include "core-afst/builder.h"

#include "core-afst/fst_error_capture.h"

#include <fst/relabel.h>
#include <fst/reverse.h>
#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <iostream>
#include <string>
#include <stdexcept>

namespace dez::afst {
namespace {

using Network = fst::StdVectorFst;
using detail::FstErrorCapture;
using detail::in_error;

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
