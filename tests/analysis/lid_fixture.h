#pragma once

// Small lid.fst files built by our own builder from word lists
// ("word<TAB>output" lines, '#' comments), and engines that find them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fst/vector-fst.h>
#include <nlohmann/json.hpp>
#include <utf8.h>

#include "core-afst/builder.h"
#include "engine/engine.h"
#include "foundation/options.h"
#include "tests/domain/temp_tree.h"

namespace dez::lid::fixture {

namespace fs = std::filesystem;

using Votes = std::vector<std::pair<std::string, std::string>>;

inline Votes lexicon_file(const std::string& name) {
    const std::string path = std::string(TRELIX_TEST_DATA) + "/lid/" + name;
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("missing fixture " + path);
    Votes votes;
    for (std::string line; std::getline(file, line);) {
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos)
            continue;
        votes.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return votes;
}

// How a vote is written: on an arc of its own that reads nothing (walked by
// the general word lookup), or on the word's last character (a plain word
// list, walked directly).
enum class VoteArc { empty_input, last_character };

// One path per vote.
inline void write_lid_fst(const fs::path& file, const Votes& votes,
                          VoteArc shape = VoteArc::empty_input) {
    dez::afst::Builder lexicon;
    for (const auto& [word, output] : votes) {
        lexicon.open_rule();
        for (auto it = word.begin(); it != word.end();) {
            const auto from = it;
            utf8::next(it, word.end());
            const bool last = it == word.end() && shape == VoteArc::last_character;
            lexicon.pushArc(std::string(from, it), last ? output : "eps");
        }
        if (shape == VoteArc::empty_input)
            lexicon.pushArc("eps", output);
        lexicon.close_rule();
    }
    lexicon.applyUnion(0);
    lexicon.build(true);
    fs::create_directories(file.parent_path());
    lexicon.save(file.string());
}

inline std::shared_ptr<dez::IOptions> options_of(const nlohmann::json& value) {
    return std::make_shared<dez::Options>(value.is_null() ? "{}" : value.dump().c_str());
}

// An engine rooted in a fresh folder whose "morfex" folder holds a lid.fst
// of the votes.
class LidEngine {
public:
    explicit LidEngine(const Votes& votes, VoteArc shape = VoteArc::empty_input) {
        write_lid_fst(tree.root / "morfex" / "lid.fst", votes, shape);
        engine = std::make_shared<dez::trelix::Engine>(
            options_of({{"root_path", tree.root.string()}, {"morfex", ""}}));
    }

    dez::pipeline::fixture::TempTree tree;
    std::shared_ptr<dez::trelix::Engine> engine;
};

} // namespace dez::lid::fixture
