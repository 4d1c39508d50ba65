#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dez::afst {
class AFst;
}

namespace dez::lid {

// One sound vote of a lexicon output: its two code bytes and its score.
struct LidVote {
    char code[2];
    int32_t score;
};

// The score after the two code bytes of a lexicon output; false for an
// output too short to hold a code and for a score outside 0 to 2^31-1, which
// no sound lexicon writes.
bool parse_vote(const std::string& output, int64_t& score);

// lid.fst read into a table once, when it is a plain word list: acyclic, every
// arc reads one character and writes plain text (votes on any arc of the
// path). Identification looks up every word of every text, and a table
// answers faster than a walk. Each word keeps the sound votes of its
// distinct outputs, as WordLookup::up would give them. Tables are shared by
// every store over the same transducer.
class LidWordTable {
public:
    // The table of `lexicon`, or null when it is no plain word list (or holds
    // more than max_words paths): such networks are walked by WordLookup.
    static std::shared_ptr<const LidWordTable> of(const std::shared_ptr<dez::afst::AFst>& lexicon);

    static constexpr std::size_t max_words = 2000000;

    // The votes of a word; `known` is false when the lexicon does not hold it.
    // A word whose outputs are all unsound is known with no votes.
    struct Votes {
        bool known = false;
        const LidVote* begin = nullptr;
        const LidVote* end = nullptr;
    };
    Votes find(const std::string& word) const;

    std::size_t size() const { return words_; }

private:
    // Open addressing over the words, whose bytes lie in one text: a lookup
    // touches one slot and the word's bytes.
    struct Slot {
        uint64_t hash = 0;
        uint32_t key = 0;
        uint32_t key_length = 0;
        uint32_t votes = 0;
        uint32_t vote_count = 0;
        bool used = false;
    };
    void insert(const std::string& word, const std::vector<LidVote>& votes);

    std::vector<Slot> slots_;
    std::string keys_;
    std::vector<LidVote> votes_;
    std::size_t words_ = 0;
    // Keeps the transducer (and so the cache key) alive as long as the table.
    std::shared_ptr<dez::afst::AFst> lexicon_;
};

} // namespace dez::lid
