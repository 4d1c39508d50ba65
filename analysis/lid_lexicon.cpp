#include "analysis/lid_lexicon.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <map>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include <utf8.h>

#include "core-afst/afst.h"
#include "core-afst/walk_network.h"

namespace dez::lid {

using dez::afst::OutputKind;
using dez::afst::WalkNetwork;

bool parse_vote(const std::string& output, int64_t& score) {
    if (output.size() < 2)
        return false;
    errno = 0;
    const long value = std::strtol(output.c_str() + 2, nullptr, 10);
    if (errno == ERANGE || value < 0 || value > std::numeric_limits<int32_t>::max())
        return false;
    score = value;
    return true;
}

namespace {

// Only arcs of one character with plain outputs.
bool plain_arcs(const WalkNetwork& network) {
    for (uint32_t node : network.state_nodes) {
        if (network.other_count(node) != 0)
            return false;
        const uint32_t* keys = network.keys(node);
        for (uint32_t k = 0; k < network.key_count(node); ++k) {
            const uint32_t label = network.arc(node, keys[2 * k + 1])[1];
            if (label >= network.outputs.size())
                return false;
            const OutputKind kind = network.outputs[label].kind;
            if (kind == OutputKind::in || kind == OutputKind::input)
                return false;
        }
    }
    return true;
}

// Every path from the start: (word, output) at each final node. False when a
// cycle is met or there are too many paths.
bool collect_paths(const WalkNetwork& network,
                   std::unordered_map<std::string, std::vector<std::string>>& paths) {
    if (network.start == WalkNetwork::no_node)
        return true;
    struct Frame {
        uint32_t node;
        uint32_t key;
        std::size_t word_length;
        std::size_t output_length;
    };
    std::vector<bool> on_path(network.nodes.size(), false);
    std::vector<Frame> stack{{network.start, 0, 0, 0}};
    on_path[network.start] = true;
    std::string word;
    std::string output;
    std::size_t count = 0;
    if (network.final(network.start)) {
        paths[word].push_back(output);
        ++count;
    }
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.key == network.key_count(top.node)) {
            on_path[top.node] = false;
            stack.pop_back();
            continue;
        }
        const uint32_t* key = network.keys(top.node) + 2 * top.key++;
        const uint32_t* arc = network.arc(top.node, key[1]);
        const uint32_t target = arc[2];
        if (target == WalkNetwork::no_node)
            continue;
        if (on_path[target])
            return false;
        word.resize(top.word_length);
        output.resize(top.output_length);
        utf8::append(static_cast<char32_t>(key[0]), std::back_inserter(word));
        const dez::afst::OutputText& text = network.outputs[arc[1]];
        if (text.kind == OutputKind::text)
            output += *text.text;
        if (network.final(target)) {
            if (++count > LidWordTable::max_words)
                return false;
            paths[word].push_back(output);
        }
        stack.push_back({target, 0, word.size(), output.size()});
        on_path[target] = true;
    }
    return true;
}

} // namespace

std::shared_ptr<const LidWordTable>
LidWordTable::of(const std::shared_ptr<dez::afst::AFst>& lexicon) {
    static std::mutex mutex;
    static std::map<const dez::afst::AFst*, std::weak_ptr<const LidWordTable>> tables;
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = tables.find(lexicon.get()); it != tables.end())
        if (auto table = it->second.lock())
            return table;
    for (auto it = tables.begin(); it != tables.end();)
        it = it->second.expired() ? tables.erase(it) : std::next(it);

    const WalkNetwork& network = lexicon->network();
    std::unordered_map<std::string, std::vector<std::string>> paths;
    if (!plain_arcs(network) || !collect_paths(network, paths))
        return nullptr;
    auto table = std::make_shared<LidWordTable>();
    table->lexicon_ = lexicon;
    std::size_t capacity = 16;
    while (capacity < paths.size() * 2)
        capacity *= 2;
    table->slots_.resize(capacity);
    std::vector<LidVote> votes;
    for (auto& [word, outputs] : paths) {
        std::sort(outputs.begin(), outputs.end());
        outputs.erase(std::unique(outputs.begin(), outputs.end()), outputs.end());
        votes.clear();
        for (const std::string& output : outputs) {
            int64_t score = 0;
            if (parse_vote(output, score))
                votes.push_back({{output[0], output[1]}, static_cast<int32_t>(score)});
        }
        table->insert(word, votes);
    }
    tables[lexicon.get()] = table;
    return table;
}

namespace {

uint64_t hash_of(const char* bytes, std::size_t length) {
    return std::hash<std::string_view>()(std::string_view(bytes, length));
}

} // namespace

void LidWordTable::insert(const std::string& word, const std::vector<LidVote>& votes) {
    const uint64_t hash = hash_of(word.data(), word.size());
    const std::size_t mask = slots_.size() - 1;
    std::size_t index = hash & mask;
    while (slots_[index].used)
        index = (index + 1) & mask;
    Slot& slot = slots_[index];
    slot.used = true;
    slot.hash = hash;
    slot.key = static_cast<uint32_t>(keys_.size());
    slot.key_length = static_cast<uint32_t>(word.size());
    slot.votes = static_cast<uint32_t>(votes_.size());
    slot.vote_count = static_cast<uint32_t>(votes.size());
    keys_ += word;
    votes_.insert(votes_.end(), votes.begin(), votes.end());
    ++words_;
}

LidWordTable::Votes LidWordTable::find(const std::string& word) const {
    const uint64_t hash = hash_of(word.data(), word.size());
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t index = hash & mask;; index = (index + 1) & mask) {
        const Slot& slot = slots_[index];
        if (!slot.used)
            return {};
        if (slot.hash == hash && slot.key_length == word.size() &&
            keys_.compare(slot.key, slot.key_length, word) == 0) {
            const LidVote* first = votes_.data() + slot.votes;
            return {true, first, first + slot.vote_count};
        }
    }
}

} // namespace dez::lid
