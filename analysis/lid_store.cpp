#include "analysis/lid_store.h"

#include <algorithm>
#include <limits>
#include <vector>

#include <utf8.h>

#include "analysis/language_blocks.h"
#include "analysis/lid_lexicon.h"
#include "analysis/lid_word_walk.h"
#include "analysis/saturating_int32.h"
#include "core-afst/afst.h"
#include "core-afst/word_lookup.h"
#include "engine/engine_interface.h"
#include "foundation/exception.h"
#include "foundation/language_table.h"
#include "foundation/options.h"
#include "foundation/string_utils.h"

namespace dez::lid {

namespace {

// Every this many words, a language that already wins by a clear margin
// ends the walk of a long text.
constexpr int early_decision_words = 250;

std::size_t two_byte_key(char first, char second) {
    return std::size_t(static_cast<unsigned char>(first)) << 8 | static_cast<unsigned char>(second);
}

// Votes while a text is walked: a few languages at most, in a flat list;
// the ordered tally is made when a decision is due.
class WalkTally {
public:
    void add(const char* code, std::size_t size, int64_t score) {
        for (Entry& entry : entries_)
            if (entry.code.size() == size && entry.code.compare(0, size, code, size) == 0) {
                add_vote(entry.data, score);
                return;
            }
        entries_.push_back({std::string(code, size), {}});
        add_vote(entries_.back().data, score);
    }

    LidTally tally() const {
        LidTally tally;
        for (const Entry& entry : entries_)
            tally.emplace(entry.code, entry.data);
        return tally;
    }

private:
    struct Entry {
        std::string code;
        LidLanguageData data;
    };
    std::vector<Entry> entries_;
};

// A word the lexicon does not know votes by the blocks of its characters:
// 5 per character for each block's language, one contribution per language.
void add_block_votes(const std::string& word, WalkTally& votes) {
    struct BlockVote {
        const std::string* code;
        int64_t score;
    };
    std::vector<BlockVote> word_votes;
    for (const char* p = word.data(); p < word.data() + word.size();) {
        const LanguageBlock* block = find_language_block(utf8::unchecked::next(p));
        if (!block)
            continue;
        const std::string& code = std::get<2>(*block);
        auto it = std::find_if(word_votes.begin(), word_votes.end(),
                               [&](const BlockVote& vote) { return *vote.code == code; });
        if (it == word_votes.end())
            word_votes.push_back({&code, 5});
        else
            it->score += 5;
    }
    // The tally is ordered by code, as a block scan's is.
    std::sort(word_votes.begin(), word_votes.end(),
              [](const BlockVote& a, const BlockVote& b) { return *a.code < *b.code; });
    for (const BlockVote& vote : word_votes)
        votes.add(vote.code->data(), vote.code->size(), vote.score);
}

} // namespace

std::string language_long_name(const std::string& code) {
    const auto& table = dez::language::language_map();
    auto it = table.find(code);
    return it == table.end() ? code : it->second;
}

void check_utf8(const char* text, std::size_t length) {
    if (length == 0)
        return;
    if (!text)
        throw dez::Exception("No text given for language identification.");
    const char* invalid = utf8::find_invalid(text, text + length);
    if (invalid != text + length)
        throw dez::Exception("Invalid UTF-8 in the text at byte " + std::to_string(invalid - text) +
                             ".");
}

namespace {

// The block scan over text already known to be valid.
SectionDetectionResult scan_blocks(const char* text, std::size_t length) {
    SectionDetectionResult result;
    const char* position = text;
    const char* end = text + length;
    while (position < end) {
        const char32_t c = utf8::unchecked::next(position);
        result.count = saturating_add(result.count, 1);
        const LanguageBlock* block = find_language_block(c);
        if (!block)
            continue;
        result.hits = saturating_add(result.hits, 1);
        add_vote(result.languages[std::get<2>(*block)], 5);
    }
    return result;
}

} // namespace

SectionDetectionResult character_range_detection(const char* text, std::size_t length) {
    check_utf8(text, length);
    return scan_blocks(text, length);
}

bool valid_condition(const SectionDetectionResult& result) {
    return result.identified && result.count > 2;
}

void update_probability(SectionDetectionResult& current, const SectionDetectionResult& paragraph) {
    if (paragraph.probability > 0.5)
        current.probability = (paragraph.probability + current.probability) * 0.5;
    current.count = paragraph.count;
    current.hits = paragraph.hits;
}

std::shared_ptr<dez::afst::AFst> load_lid_fst(const dez::trelix::EngineInterface* engine) {
    if (!engine)
        throw dez::Exception("Could not load language identification data. [lid.fst]");
    return engine->get_language_identifier_data();
}

LIDStore::LIDStore(const dez::trelix::EngineInterface* engine,
                   std::shared_ptr<dez::IOptions> options_in)
    : options(std::move(options_in)), lexicon(load_lid_fst(engine)),
      language_codes(dez::language::get_language_codes()) {
    if (options) {
        section_data = options->get_bool("section_data", false);
        long_names = options->get_bool("long_names", true);
        const std::string codes = options->get("language_codes");
        if (!codes.empty()) {
            language_codes.clear();
            dez::string::split_set(language_codes, codes, ',');
        }
        default_language = options->get("default_language", default_language);
    }
    if (default_language.empty() || !language_codes.count(default_language))
        throw dez::Exception("Invalid default_language option, or is not in the default set: [" +
                             default_language + "]");
    words_ = LidWordTable::of(lexicon);
    // Lexicon votes name two-byte codes; a code of another length never matches.
    voting_codes_.assign(1 << 16, false);
    for (const std::string& code : language_codes)
        if (code.size() == 2)
            voting_codes_[two_byte_key(code[0], code[1])] = true;
}

bool LIDStore::votes_for(char first, char second) const {
    return voting_codes_[two_byte_key(first, second)];
}

std::string LIDStore::name_of(const std::string& code) const {
    return long_names ? language_long_name(code) : code;
}

SectionDetectionResult LIDStore::identify_language(const char* text, std::size_t length) {
    check_utf8(text, length);
    return identify_valid_text(text, length);
}

SectionDetectionResult LIDStore::identify_valid_text(const char* text, std::size_t length) const {
    SectionDetectionResult result;
    if (length == 0) {
        result.language = name_of(default_language);
        return result;
    }
    // A general network is walked per request: a lookup keeps its walk state.
    std::unique_ptr<dez::afst::WordLookup> walker;
    if (!words_)
        walker = std::make_unique<dez::afst::WordLookup>(lexicon, nullptr);
    WordWalk walk(text, length);
    WalkTally votes;
    std::string word;
    char32_t closing = 0;
    bool at_end = false;
    int words_since_check = 0;
    while (walk.next(word, closing, at_end)) {
        result.count = saturating_add(result.count, 1);
        if (words_) {
            const LidWordTable::Votes found = words_->find(word);
            if (found.known) {
                for (const LidVote* vote = found.begin; vote != found.end; ++vote)
                    if (votes_for(vote->code[0], vote->code[1]))
                        votes.add(vote->code, 2, vote->score);
            } else {
                add_block_votes(word, votes);
            }
        } else {
            const std::vector<std::string> outputs = walker->up(word);
            for (const std::string& output : outputs) {
                int64_t score = 0;
                if (parse_vote(output, score) && votes_for(output[0], output[1]))
                    votes.add(output.data(), 2, score);
            }
            if (outputs.empty())
                add_block_votes(word, votes);
        }
        if (++words_since_check >= early_decision_words) {
            result.languages = votes.tally();
            const ProbabilityResult decision =
                get_probability(result.languages, result.count, default_condition);
            if (!decision.language.empty()) {
                result.language = name_of(decision.language);
                result.identified = true;
                result.probability = decision.probability;
                result.hits = result.languages[decision.language].count;
                return result;
            }
            words_since_check = 0;
        }
    }
    result.languages = votes.tally();
    LidTally& tally = result.languages;

    std::string chosen;
    const ProbabilityResult decision = get_probability(tally, result.count, small_buffer_condition);
    if (!decision.language.empty()) {
        chosen = decision.language;
        result.identified = true;
        result.probability = decision.probability;
        result.hits = tally[chosen].count;
    } else {
        tally.clear();
        const SectionDetectionResult blocks = scan_blocks(text, length);
        const ProbabilityResult by_blocks =
            get_probability(blocks.languages, saturate_int32(length), small_buffer_condition);
        if (!by_blocks.language.empty()) {
            chosen = by_blocks.language;
            result.identified = true;
            result.probability = by_blocks.probability;
            result.hits = 0;
            tally[chosen] = LidLanguageData();
        } else {
            chosen = default_language;
        }
    }
    result.language = name_of(chosen);
    return result;
}

std::shared_ptr<LIDStoreInterface> createStore(const dez::trelix::EngineInterface* engine,
                                               std::shared_ptr<dez::IOptions> options) {
    return std::make_shared<LIDStore>(engine, std::move(options));
}

} // namespace dez::lid
