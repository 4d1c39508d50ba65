#include "analysis/lid_lexicon.h"

#include <algorithm>

#include <utf8.h>

#include "core-afst/afst.h"
#include "core-afst/walk_network.h"
#include "core-afst/word_lookup.h"

namespace dez::lid {

using dez::afst::OutputKind;
using dez::afst::WalkNetwork;

LidLexicon::LidLexicon(std::shared_ptr<dez::afst::AFst> lexicon) : lexicon_(std::move(lexicon)) {}

LidLexicon::~LidLexicon() = default;

bool LidLexicon::plain_word_list(const dez::afst::AFst& lexicon) {
    const WalkNetwork& network = lexicon.network();
    for (uint32_t node : network.state_nodes) {
        // Arcs that read nothing, classes, literals and markers need the
        // general walk.
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

void LidLexicon::up(const std::string& word, bool plain, std::vector<std::string>& outputs) {
    outputs.clear();
    if (!plain) {
        if (!fallback_)
            fallback_ = std::make_unique<dez::afst::WordLookup>(lexicon_, nullptr);
        outputs = fallback_->up(word);
        return;
    }
    code_points_.clear();
    for (auto it = word.begin(); it != word.end();)
        code_points_.push_back(utf8::next(it, word.end()));
    const WalkNetwork& network = lexicon_->network();
    if (network.start == WalkNetwork::no_node)
        return;
    path_.clear();
    follow(network.start, 0, outputs);
    if (outputs.size() > 1) {
        std::sort(outputs.begin(), outputs.end());
        outputs.erase(std::unique(outputs.begin(), outputs.end()), outputs.end());
    }
}

// Depth-first over the arcs of each character in turn; the depth is bounded
// by the longest word of the lexicon, since a walk ends where no arc reads
// the next character.
void LidLexicon::follow(uint32_t node, std::size_t index, std::vector<std::string>& outputs) {
    const WalkNetwork& network = lexicon_->network();
    if (index == code_points_.size()) {
        if (network.final(node))
            outputs.push_back(path_);
        return;
    }
    const uint32_t c = code_points_[index];
    const uint32_t* keys = network.keys(node);
    const uint32_t count = network.key_count(node);
    uint32_t low = 0, high = count;
    while (low < high) {
        const uint32_t middle = (low + high) / 2;
        if (keys[2 * middle] < c)
            low = middle + 1;
        else
            high = middle;
    }
    for (uint32_t k = low; k < count && keys[2 * k] == c; ++k) {
        const uint32_t* arc = network.arc(node, keys[2 * k + 1]);
        if (arc[2] == WalkNetwork::no_node)
            continue;
        const std::size_t length = path_.size();
        const dez::afst::OutputText& output = network.outputs[arc[1]];
        if (output.kind == OutputKind::text)
            path_ += *output.text;
        follow(arc[2], index + 1, outputs);
        path_.resize(length);
    }
}

} // namespace dez::lid
