#include "core-afst/guesser_lookup.h"

#include "core-afst/afst.h"
#include "core-afst/guesser_lookup_session.h"
#include "core-afst/word_lookup.h"

#include <unicode/uchar.h>
#include <utf8.h>

#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace dez::afst {

namespace {

constexpr std::size_t longest_guess = 50; // bytes; words of this length or more are not guessed

} // namespace

GuesserLookup::GuesserLookup(LookupLexicon guesser, LookupLexicon lexicon,
                             std::shared_ptr<ILookupConverter> converter)
    : guesser_(std::move(guesser).take_or_null()) {
    if (!guesser_)
        throw std::invalid_argument("GuesserLookup: no guesser");
    if (auto words = std::move(lexicon).take_or_null())
        lookup_ = std::make_unique<WordLookup>(std::move(words), std::move(converter));
}

GuesserLookup::~GuesserLookup() = default;

void GuesserLookup::set_guesser(std::shared_ptr<nlohmann::json> config) {
    config_ = std::move(config);
}

int GuesserLookup::type() const {
    return lookup_guesser;
}

std::vector<std::string> GuesserLookup::up(const std::string& word) {
    if (word.size() >= longest_guess || !all_lowecase(word))
        return {};
    GuesserLookupSession session(guesser_, config_);
    std::vector<ResultEntry> entries = session.lookup(word);
    static const std::string no_text;
    return filter(*this, session.text() ? session.text()->text() : no_text, std::move(entries));
}

void GuesserLookup::print_results(const std::string& word) {
    print_result_lines(word, "  -g- ");
}

bool all_lowecase(const std::string& word) {
    for (auto at = word.begin(); at != word.end();)
        if (!u_islower(static_cast<UChar32>(utf8::next(at, word.end()))))
            return false;
    return true;
}

void indent(int count) {
    for (int i = 0; i < count; ++i)
        std::cout << "  ";
}

std::vector<std::string> filter(const GuesserLookup& lookup, const std::string& text,
                                std::vector<ResultEntry> entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ResultEntry& a, const ResultEntry& b) {
                         if (a.fix_count != b.fix_count)
                             return a.fix_count < b.fix_count;
                         return a.score > b.score;
                     });
    // A walk of its own rather than the lookup's member, whose walk state
    // would be shared by concurrent calls.
    std::unique_ptr<WordLookup> inner;
    if (const WordLookup* lexicon = lookup.word_lookup(); lexicon && !entries.empty())
        inner = std::make_unique<WordLookup>(lexicon->afst(), lexicon->converter());
    const auto analyses = [&](const std::string& output) {
        std::vector<std::string> results = inner->up(output);
        for (auto& result : results)
            result += "+guess+nf";
        return results;
    };

    std::vector<std::string> results;
    for (const auto& entry : entries) {
        if (!results.empty())
            break;
        if (entry.output.compare(0, text.size(), text) == 0) {
            if (inner)
                return analyses(entry.output);
            results.push_back(entry.output);
        }
        if (inner) {
            for (auto& result : analyses(entry.output))
                results.push_back(std::move(result));
        } else {
            results.push_back(entry.output + "+guess");
        }
    }
    return results;
}

} // namespace dez::afst
