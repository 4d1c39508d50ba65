#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dez::afst {
class AFst;
class WordLookup;
} // namespace dez::afst

namespace dez::lid {

// Word lookups in lid.fst for one request. A lid.fst is a plain word list:
// when every arc reads one character and writes plain text, the words are
// followed through the walk form directly (identification looks up every
// word of every text); any other network goes through dez::afst::WordLookup.
// Either way the answers are WordLookup::up's: the outputs of every path
// that reads the whole word, sorted byte-wise, without duplicates.
class LidLexicon {
public:
    explicit LidLexicon(std::shared_ptr<dez::afst::AFst> lexicon);
    ~LidLexicon();

    // Whether a network can be followed directly (checked once per store).
    static bool plain_word_list(const dez::afst::AFst& lexicon);

    // `outputs` receives the word's outputs (cleared first).
    void up(const std::string& word, bool plain, std::vector<std::string>& outputs);

private:
    void follow(uint32_t node, std::size_t index, std::vector<std::string>& outputs);

    std::shared_ptr<dez::afst::AFst> lexicon_;
    std::vector<uint32_t> code_points_;
    std::string path_;
    // Made on first use, for networks of any other shape.
    std::unique_ptr<dez::afst::WordLookup> fallback_;
};

} // namespace dez::lid
