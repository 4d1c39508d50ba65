#include "core-afst/cleaner_lookup.h"

#include "core-afst/word_cleaning.h"

#include <cstring>
#include <set>
#include <utility>

namespace dez::afst {

namespace {

constexpr std::size_t longest_word = 79;
constexpr std::size_t most_runs = 3;

} // namespace

CleanerLookup::CleanerLookup(LookupLexicon lexicon, std::shared_ptr<ILookupConverter> converter)
    : lookup_(std::move(lexicon), std::move(converter)) {}

CleanerLookup::~CleanerLookup() = default;

int CleanerLookup::type() const {
    return lookup_cleaner;
}

std::vector<std::string> CleanerLookup::up(const std::string& word) {
    if (word.size() > longest_word)
        return {};
    char buffer[longest_word + 1];
    std::memcpy(buffer, word.data(), word.size());
    buffer[word.size()] = '\0';
    int length = static_cast<int>(word.size());
    const std::vector<int> positions = clean_word_tree_consecutive_char(buffer, length);
    if (positions.empty() || positions.size() > most_runs || length <= 2)
        return {};

    std::set<std::string> candidates;
    generate_permutations(candidates, buffer, length, positions, 0, 0);
    std::vector<std::string> output;
    for (const auto& candidate : candidates) {
        std::vector<std::string> results = lookup_.up(candidate);
        addProperty(results);
        for (auto& result : results)
            output.push_back(std::move(result));
    }
    return output;
}

void CleanerLookup::print_results(const std::string& word) {
    print_result_lines(word, "  -g- ");
}

} // namespace dez::afst
