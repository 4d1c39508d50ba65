#include "tools/english/hmm_writer.h"

#include "core-afst/serialization.h"
#include "foundation/pos_table.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace trelix_tools {

namespace {

using Sentence = std::vector<std::pair<std::string, std::string>>; // word, tag

std::vector<Sentence> read_sample(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::vector<Sentence> sentences;
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        Sentence sentence;
        std::istringstream tokens(line);
        for (std::string token; tokens >> token;) {
            const auto cut = token.rfind('_');
            const std::string tag = cut == std::string::npos ? "" : token.substr(cut + 1);
            if (cut == 0 || cut == std::string::npos || !dez::language::pos_table::has(tag.c_str()))
                throw std::runtime_error(file.string() + ":" + std::to_string(number) +
                                         ": not word_TAG with a known tag: " + token);
            sentence.emplace_back(token.substr(0, cut), tag);
        }
        sentences.push_back(std::move(sentence));
    }
    return sentences;
}

bool held_out(std::size_t index) {
    return index % 5 == 4;
}

std::string number_text(double value) {
    std::ostringstream out;
    out.precision(9);
    out << value;
    return out.str();
}

// The tags a word may have, as the analysis gives them: the lexicon's
// readings (and those of the form with a lower-case first letter), else what
// the tokenizer or the default readings give.
class TagDictionary {
public:
    explicit TagDictionary(const LexiconEntries& lexicon) {
        for (const auto& [surface, label] : lexicon.entries()) {
            const auto plus = label.find('+', 1);
            const auto next = label.find('+', plus + 1);
            tags_[surface].insert(
                label.substr(plus + 1, next == std::string::npos ? next : next - plus - 1));
        }
    }

    std::set<std::string> operator()(const std::string& word) const {
        std::set<std::string> result;
        auto add = [&](const std::string& form) {
            if (const auto found = tags_.find(form); found != tags_.end())
                result.insert(found->second.begin(), found->second.end());
        };
        add(word);
        const auto first = static_cast<unsigned char>(word[0]);
        if (std::isupper(first)) {
            std::string lowered = word;
            lowered[0] = static_cast<char>(std::tolower(first));
            add(lowered);
        }
        if (result.empty()) {
            if (std::isdigit(first))
                result.insert("Num");
            else if (std::isupper(first))
                result.insert("Prop-Std");
            else
                result.insert("Nn-Std");
        }
        return result;
    }

private:
    std::unordered_map<std::string, std::set<std::string>> tags_;
};

// Counts, observed in the sample or expected by EM over raw text.
struct Counts {
    std::map<std::string, double> tag, first;
    std::map<std::pair<std::string, std::string>, double> pair;
    std::map<std::pair<std::string, std::string>, double> word_tag;
    std::map<std::string, double> word;
    double tokens = 0, sentences = 0;

    void add(const Counts& other, double weight) {
        for (const auto& [k, v] : other.tag)
            tag[k] += weight * v;
        for (const auto& [k, v] : other.first)
            first[k] += weight * v;
        for (const auto& [k, v] : other.pair)
            pair[k] += weight * v;
        for (const auto& [k, v] : other.word_tag)
            word_tag[k] += weight * v;
        for (const auto& [k, v] : other.word)
            word[k] += weight * v;
        tokens += weight * other.tokens;
        sentences += weight * other.sentences;
    }
};

Counts sample_counts(const std::vector<Sentence>& sentences) {
    Counts counts;
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        if (held_out(i) || sentences[i].empty())
            continue;
        const auto& sentence = sentences[i];
        counts.first[sentence[0].second] += 1;
        counts.sentences += 1;
        for (std::size_t k = 0; k < sentence.size(); ++k) {
            const auto& [word, tag] = sentence[k];
            counts.tag[tag] += 1;
            counts.word_tag[{word, tag}] += 1;
            counts.word[word] += 1;
            counts.tokens += 1;
            if (k > 0)
                counts.pair[{sentence[k - 1].second, tag}] += 1;
        }
    }
    return counts;
}

struct Model {
    std::map<std::string, double> start;                              // tag
    std::map<std::pair<std::string, std::string>, double> transition; // previous, tag
    std::map<std::string, double> emission;                           // word^^tag, P(w|t)/P(w)
    std::map<std::string, double> unseen;                             // tag

    double start_of(const std::string& tag) const {
        const auto found = start.find(tag);
        return found == start.end() ? 1e-13 : found->second;
    }
    double transition_of(const std::string& previous, const std::string& tag) const {
        const auto found = transition.find({previous, tag});
        return found == transition.end() ? 1e-13 : found->second;
    }
    double emission_of(const std::string& word, const std::string& tag) const {
        if (auto found = emission.find(word + "^^" + tag); found != emission.end())
            return found->second;
        if (auto found = unseen.find(tag); found != unseen.end())
            return found->second;
        return 1e-13;
    }
};

// Emissions are stored divided by the word's own probability, P(w|t) / P(w):
// the tagger multiplies 32-bit floats along a window of up to 50 tokens, and
// plain P(w|t) would underflow there. A factor that depends on the word alone
// changes no choice between tags.
// The words of `sample` seen once stand for the words never seen; raw text
// weighs too little per occurrence to tell.
Model model_of(const Counts& counts, const Counts& sample) {
    Model model;
    const double tags = static_cast<double>(counts.tag.size());
    for (const auto& [tag, count] : counts.tag) {
        (void)count;
        const auto found = counts.first.find(tag);
        model.start[tag] = ((found == counts.first.end() ? 0 : found->second) + 0.5) /
                           (counts.sentences + 0.5 * tags);
    }
    for (const auto& [previous, previous_count] : counts.tag)
        for (const auto& [tag, count] : counts.tag) {
            (void)count;
            const auto found = counts.pair.find({previous, tag});
            const double seen = found == counts.pair.end() ? 0 : found->second;
            model.transition[{previous, tag}] = (seen + 0.1) / (previous_count + 0.1 * tags);
        }
    std::map<std::string, double> singles;
    double single_total = 0;
    for (const auto& [key, count] : sample.word_tag)
        if (sample.word.at(key.first) == 1.0) {
            singles[key.second] += count;
            single_total += count;
        }
    const double unseen_word = (single_total + 1) / (sample.tokens + 1);
    for (const auto& [tag, count] : sample.tag)
        model.unseen[tag] = ((singles[tag] + 0.1) / (count + 0.1)) / unseen_word;
    for (const auto& [key, count] : counts.word_tag)
        if (count >= 0.01)
            model.emission[key.first + "^^" + key.second] =
                (count / counts.tag.at(key.second)) / (counts.word.at(key.first) / counts.tokens);
    return model;
}

// One EM step: the counts the model expects over the raw sentences
// (forward-backward over each sentence's candidate tags, columns scaled).
Counts expected_counts(const Model& model, const std::vector<std::vector<std::string>>& raw,
                       const TagDictionary& dictionary) {
    Counts counts;
    std::unordered_map<std::string, std::vector<std::string>> cache;
    auto candidates = [&](const std::string& word) -> const std::vector<std::string>& {
        auto found = cache.find(word);
        if (found == cache.end()) {
            const auto tags = dictionary(word);
            found = cache.emplace(word, std::vector<std::string>(tags.begin(), tags.end())).first;
        }
        return found->second;
    };
    for (const auto& sentence : raw) {
        const std::size_t n = sentence.size();
        if (n == 0)
            continue;
        std::vector<const std::vector<std::string>*> tags(n);
        std::vector<std::vector<double>> emission(n), alpha(n), beta(n);
        for (std::size_t k = 0; k < n; ++k) {
            tags[k] = &candidates(sentence[k]);
            for (const auto& tag : *tags[k])
                emission[k].push_back(model.emission_of(sentence[k], tag));
        }
        auto normalise = [](std::vector<double>& column) {
            double sum = 0;
            for (double v : column)
                sum += v;
            if (sum > 0)
                for (double& v : column)
                    v /= sum;
        };
        for (std::size_t k = 0; k < n; ++k) {
            alpha[k].assign(tags[k]->size(), 0);
            for (std::size_t j = 0; j < tags[k]->size(); ++j) {
                double in = 0;
                if (k == 0)
                    in = model.start_of((*tags[k])[j]);
                else
                    for (std::size_t i = 0; i < tags[k - 1]->size(); ++i)
                        in +=
                            alpha[k - 1][i] * model.transition_of((*tags[k - 1])[i], (*tags[k])[j]);
                alpha[k][j] = in * emission[k][j];
            }
            normalise(alpha[k]);
        }
        for (std::size_t k = n; k-- > 0;) {
            beta[k].assign(tags[k]->size(), k + 1 == n ? 1.0 : 0.0);
            if (k + 1 < n)
                for (std::size_t i = 0; i < tags[k]->size(); ++i)
                    for (std::size_t j = 0; j < tags[k + 1]->size(); ++j)
                        beta[k][i] += model.transition_of((*tags[k])[i], (*tags[k + 1])[j]) *
                                      emission[k + 1][j] * beta[k + 1][j];
            normalise(beta[k]);
        }
        counts.sentences += 1;
        for (std::size_t k = 0; k < n; ++k) {
            std::vector<double> gamma(tags[k]->size());
            for (std::size_t j = 0; j < gamma.size(); ++j)
                gamma[j] = alpha[k][j] * beta[k][j];
            normalise(gamma);
            counts.word[sentence[k]] += 1;
            counts.tokens += 1;
            for (std::size_t j = 0; j < gamma.size(); ++j) {
                const auto& tag = (*tags[k])[j];
                counts.tag[tag] += gamma[j];
                counts.word_tag[{sentence[k], tag}] += gamma[j];
                if (k == 0)
                    counts.first[tag] += gamma[j];
            }
            if (k + 1 == n)
                continue;
            std::vector<double> xi;
            double sum = 0;
            for (std::size_t i = 0; i < tags[k]->size(); ++i)
                for (std::size_t j = 0; j < tags[k + 1]->size(); ++j) {
                    xi.push_back(alpha[k][i] *
                                 model.transition_of((*tags[k])[i], (*tags[k + 1])[j]) *
                                 emission[k + 1][j] * beta[k + 1][j]);
                    sum += xi.back();
                }
            if (sum <= 0)
                continue;
            std::size_t at = 0;
            for (std::size_t i = 0; i < tags[k]->size(); ++i)
                for (std::size_t j = 0; j < tags[k + 1]->size(); ++j)
                    counts.pair[{(*tags[k])[i], (*tags[k + 1])[j]}] += xi[at++] / sum;
        }
    }
    return counts;
}

void store(const Model& model, const std::filesystem::path& file) {
    std::filesystem::remove(file);
    auto db = dez::afst::serialization::open_file(file);
    if (!dez::afst::serialization::create_cbf_table(db.get()))
        throw std::runtime_error("cannot create the store " + file.string());
    std::string start, emission, transition;
    for (const auto& [tag, p] : model.start)
        start += tag + "\t" + number_text(p) + "\n";
    for (const auto& [key, p] : model.emission)
        emission += key + "\t" + number_text(p) + "\n";
    for (const auto& [tag, p] : model.unseen)
        emission += "dummy^^" + tag + "\t" + number_text(p) + "\n";
    for (const auto& [key, p] : model.transition)
        transition += key.first + " " + key.second + "\t" + number_text(p) + "\n";
    dez::afst::serialization::Transaction transaction(db.get());
    dez::afst::serialization::store_binary_data(db.get(), "start-hmm", "", start.data(),
                                                start.size());
    dez::afst::serialization::store_binary_data(db.get(), "emission-hmm", "", emission.data(),
                                                emission.size());
    dez::afst::serialization::store_binary_data(db.get(), "transmission-hmm", "", transition.data(),
                                                transition.size());
    transaction.commit();
}

TaggingScore evaluate(const Model& model, const std::vector<Sentence>& sentences,
                      const TagDictionary& dictionary) {
    TaggingScore score;
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        for (const auto& [word, tag] : sentences[i])
            if (!dictionary(word).count(tag)) {
                ++score.unreachable;
                if (std::getenv("TRELIX_SAMPLE_CHECK"))
                    std::cerr << "unreachable: " << word << "_" << tag << "\n";
            }
        if (!held_out(i))
            continue;
        const auto& sentence = sentences[i];
        // Viterbi in log space: the choice is the tagger's, without its
        // float limits.
        std::vector<std::map<std::string, std::pair<double, std::string>>> columns;
        for (std::size_t k = 0; k < sentence.size(); ++k) {
            std::map<std::string, std::pair<double, std::string>> column;
            for (const auto& tag : dictionary(sentence[k].first)) {
                const double e = std::log(model.emission_of(sentence[k].first, tag));
                if (k == 0) {
                    column[tag] = {std::log(model.start_of(tag)) + e, ""};
                    continue;
                }
                std::pair<double, std::string> best{-1e300, ""};
                for (const auto& [previous, state] : columns.back()) {
                    const double t = std::log(model.transition_of(previous, tag));
                    if (state.first + t + e > best.first)
                        best = {state.first + t + e, previous};
                }
                column[tag] = best;
            }
            columns.push_back(std::move(column));
        }
        std::string tag;
        double best = -1e301;
        for (const auto& [candidate, state] : columns.back())
            if (state.first > best) {
                best = state.first;
                tag = candidate;
            }
        for (std::size_t k = sentence.size(); k-- > 0;) {
            score.total += 1;
            score.correct += tag == sentence[k].second;
            tag = columns[k][tag].second;
        }
    }
    return score;
}

// Splits a gloss segment into tokens roughly as the tokenizer rules do:
// punctuation apart, clitics apart.
std::vector<std::string> gloss_tokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        std::vector<std::string> tail;
        while (!word.empty() && std::ispunct(static_cast<unsigned char>(word.front())) &&
               word.front() != '\'') {
            tokens.emplace_back(1, word.front());
            word.erase(0, 1);
        }
        while (!word.empty() && std::ispunct(static_cast<unsigned char>(word.back()))) {
            tail.emplace_back(1, word.back());
            word.pop_back();
        }
        if (const auto n = word.size(); n > 3 && word.compare(n - 3, 3, "n't") == 0) {
            tokens.push_back(word.substr(0, n - 3));
            tokens.emplace_back("n't");
        } else if (n > 2 && word.compare(n - 2, 2, "'s") == 0) {
            tokens.push_back(word.substr(0, n - 2));
            tokens.emplace_back("'s");
        } else if (!word.empty()) {
            tokens.push_back(word);
        }
        tokens.insert(tokens.end(), tail.rbegin(), tail.rend());
    }
    return tokens;
}

} // namespace

std::vector<std::vector<std::string>> gloss_sentences(const std::filesystem::path& wordnet,
                                                      std::size_t max_tokens) {
    std::vector<std::vector<std::string>> sentences;
    std::size_t tokens = 0;
    for (const char* name : {"data.noun", "data.verb", "data.adj", "data.adv"}) {
        std::ifstream in(wordnet / name);
        if (!in)
            throw std::runtime_error("cannot read " + (wordnet / name).string());
        // Every file contributes its share, so that all parts of speech are seen.
        const std::size_t quota = tokens + max_tokens / 4;
        for (std::string line; tokens < quota && std::getline(in, line);) {
            const auto bar = line.find(" | ");
            if (line.empty() || line[0] == ' ' || bar == std::string::npos)
                continue;
            std::istringstream segments(line.substr(bar + 3));
            for (std::string segment; std::getline(segments, segment, ';');) {
                auto sentence = gloss_tokens(segment);
                sentence.erase(std::remove(sentence.begin(), sentence.end(), "\""), sentence.end());
                if (sentence.size() < 2)
                    continue;
                tokens += sentence.size();
                sentences.push_back(std::move(sentence));
            }
        }
    }
    return sentences;
}

TaggingScore write_hmm(const std::filesystem::path& sample,
                       const std::vector<std::vector<std::string>>& raw,
                       const LexiconEntries& lexicon, const std::filesystem::path& file) {
    const auto sentences = read_sample(sample);
    const TagDictionary dictionary(lexicon);
    const Counts observed = sample_counts(sentences);
    Model model = model_of(observed, observed);
    // One EM step; the raw text weighs three times the sample, however long
    // it is: the hand-given tags keep their say, the raw text adds the words
    // the sample lacks. (Weights 0.3 to 10 and 1 to 4 steps score within a
    // few held-out tokens of each other; more steps drift.)
    constexpr double raw_weight = 3.0;
    if (!raw.empty()) {
        const Counts expected = expected_counts(model, raw, dictionary);
        Counts combined = observed;
        combined.add(expected,
                     expected.tokens > 0 ? raw_weight * observed.tokens / expected.tokens : 0);
        model = model_of(combined, observed);
    }
    store(model, file);
    return evaluate(model, sentences, dictionary);
}

} // namespace trelix_tools
