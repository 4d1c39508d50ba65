#pragma once

#include "core-afst/lookup_converter.h"
#include "core-afst/lookup_interface.h"
#include "core-afst/lookup_lexicon.h"
#include "core-afst/result_entry.h"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <string>
#include <vector>

namespace dez::afst {

class AFst;
class WordLookup;

// Guesses the analyses of lower-case words the lexicon does not know: a
// second transducer, the guesser, is walked over the word with a few
// spelling fixes where it gets stuck, and the best-ranked output reached is
// looked up in the lexicon. Every call keeps its walk state to itself.
class GuesserLookup : public LookupInterface {
public:
    // A null lexicon leaves the lookup without one: the guesser's outputs are
    // then the results. std::invalid_argument for a null guesser.
    GuesserLookup(LookupLexicon guesser, LookupLexicon lexicon,
                  std::shared_ptr<ILookupConverter> converter);
    ~GuesserLookup() override;

    // Replaces the configuration handed to every session (which reads none).
    void set_guesser(std::shared_ptr<nlohmann::json> config);

    int type() const override;
    // Nothing for words of 50 bytes or more or with any character that is
    // not a lower-case letter; otherwise the analyses of the best guess,
    // each followed by "+guess" and "+nf".
    std::vector<std::string> up(const std::string& word) override;
    // One "  -g- " line per result, no header.
    void print_results(const std::string& word) override;

    // Null without a lexicon.
    const WordLookup* word_lookup() const { return lookup_.get(); }
    const std::shared_ptr<AFst>& guesser() const { return guesser_; }
    const std::shared_ptr<nlohmann::json>& config() const { return config_; }

private:
    std::unique_ptr<WordLookup> lookup_;
    std::shared_ptr<AFst> guesser_;
    std::shared_ptr<nlohmann::json> config_;
};

// Every code point is lower case (the empty word too). Throws the UTF-8
// library's exceptions for malformed text.
bool all_lowecase(const std::string& word);

// `count` times two spaces on standard output, for tracing the levels.
void indent(int count);

// The final choice among a session's entries for the (collapsed) text: the
// first entry in rank order that yields anything. Entries with fewer fixes
// rank first, then the higher score; equal ranks keep the recording order.
std::vector<std::string> filter(const GuesserLookup& lookup, const std::string& text,
                                std::vector<ResultEntry> entries);

} // namespace dez::afst
