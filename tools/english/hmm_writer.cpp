#include "tools/english/hmm_writer.h"

#include "core-afst/serialization.h"
#include "foundation/pos_table.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
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

struct Model {
    std::map<std::string, double> start;                           // tag
    std::map<std::pair<std::string, std::string>, double> transition; // previous, tag
    std::map<std::string, double> emission;                        // word^^tag
    std::map<std::string, double> unseen;                          // tag
};

// Emissions are stored divided by the word's own probability, P(w|t) / P(w):
// the tagger multiplies 32-bit floats along a window of up to 50 tokens, and
// plain P(w|t) would underflow there. A factor that depends on the word alone
// changes no choice between tags.
Model train(const std::vector<Sentence>& sentences) {
    std::map<std::string, double> tag_count, first_count;
    std::map<std::pair<std::string, std::string>, double> pair_count;
    std::map<std::pair<std::string, std::string>, double> word_tag;
    std::map<std::string, double> word_count;
    double tokens = 0, first_total = 0;
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        if (held_out(i) || sentences[i].empty())
            continue;
        const auto& sentence = sentences[i];
        first_count[sentence[0].second] += 1;
        first_total += 1;
        for (std::size_t k = 0; k < sentence.size(); ++k) {
            const auto& [word, tag] = sentence[k];
            tag_count[tag] += 1;
            word_tag[{word, tag}] += 1;
            word_count[word] += 1;
            tokens += 1;
            if (k > 0)
                pair_count[{sentence[k - 1].second, tag}] += 1;
        }
    }
    Model model;
    const double tags = static_cast<double>(tag_count.size());
    for (const auto& [tag, count] : tag_count) {
        (void)count;
        model.start[tag] = (first_count[tag] + 0.5) / (first_total + 0.5 * tags);
    }
    for (const auto& [previous, previous_count] : tag_count)
        for (const auto& [tag, count] : tag_count) {
            (void)count;
            const auto found = pair_count.find({previous, tag});
            const double seen = found == pair_count.end() ? 0 : found->second;
            model.transition[{previous, tag}] = (seen + 0.1) / (previous_count + 0.1 * tags);
        }
    // Words seen once stand for the words never seen.
    std::map<std::string, double> singles;
    double single_total = 0;
    for (const auto& [key, count] : word_tag)
        if (word_count[key.first] == 1) {
            singles[key.second] += count;
            single_total += count;
        }
    const double unseen_word = (single_total + 1) / (tokens + 1);
    for (const auto& [tag, count] : tag_count)
        model.unseen[tag] = ((singles[tag] + 0.1) / (count + 0.1)) / unseen_word;
    for (const auto& [key, count] : word_tag)
        model.emission[key.first + "^^" + key.second] =
            (count / tag_count[key.second]) / (word_count[key.first] / tokens);
    return model;
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
    dez::afst::serialization::store_binary_data(db.get(), "start-hmm", "", start.data(), start.size());
    dez::afst::serialization::store_binary_data(db.get(), "emission-hmm", "", emission.data(),
                                          emission.size());
    dez::afst::serialization::store_binary_data(db.get(), "transmission-hmm", "", transition.data(),
                                          transition.size());
    transaction.commit();
}

// The candidate tags of a token as the analysis gives them: the lexicon's
// readings (and those of the lower-cased form), else what the tokenizer or
// the default readings give.
std::set<std::string> candidates(const std::string& word,
                                 const std::multimap<std::string, std::string>& tags) {
    std::set<std::string> result;
    auto add = [&](const std::string& form) {
        const auto [first, last] = tags.equal_range(form);
        for (auto it = first; it != last; ++it)
            result.insert(it->second);
    };
    add(word);
    if (!word.empty() && std::isupper(static_cast<unsigned char>(word[0]))) {
        std::string lowered = word;
        lowered[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(word[0])));
        add(lowered);
    }
    if (result.empty()) {
        if (std::isdigit(static_cast<unsigned char>(word[0])))
            result.insert("Num");
        else if (std::isupper(static_cast<unsigned char>(word[0])))
            result.insert("Prop-Std");
        else
            result.insert("Nn-Std");
    }
    return result;
}

double emission_of(const Model& model, const std::string& word, const std::string& tag) {
    if (auto found = model.emission.find(word + "^^" + tag); found != model.emission.end())
        return found->second;
    if (auto found = model.unseen.find(tag); found != model.unseen.end())
        return found->second;
    return 1e-13;
}

double table_value(const std::map<std::string, double>& table, const std::string& key) {
    const auto found = table.find(key);
    return found == table.end() ? 1e-13 : found->second;
}

TaggingScore evaluate(const Model& model, const std::vector<Sentence>& sentences,
                      const LexiconEntries& lexicon) {
    std::multimap<std::string, std::string> tags;
    for (const auto& [surface, label] : lexicon.entries()) {
        const auto plus = label.find('+', 1);
        const auto next = label.find('+', plus + 1);
        tags.emplace(surface, label.substr(plus + 1, next == std::string::npos ? next : next - plus - 1));
    }
    TaggingScore score;
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        for (const auto& [word, tag] : sentences[i])
            if (!candidates(word, tags).count(tag)) {
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
            for (const auto& tag : candidates(sentence[k].first, tags)) {
                const double e = std::log(emission_of(model, sentence[k].first, tag));
                if (k == 0) {
                    column[tag] = {std::log(table_value(model.start, tag)) + e, ""};
                    continue;
                }
                std::pair<double, std::string> best{-1e300, ""};
                for (const auto& [previous, state] : columns.back()) {
                    const auto found = model.transition.find({previous, tag});
                    const double t = std::log(found == model.transition.end() ? 1e-13 : found->second);
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

} // namespace

TaggingScore write_hmm(const std::filesystem::path& sample, const LexiconEntries& lexicon,
                       const std::filesystem::path& file) {
    const auto sentences = read_sample(sample);
    const Model model = train(sentences);
    store(model, file);
    return evaluate(model, sentences, lexicon);
}

} // namespace trelix_tools
