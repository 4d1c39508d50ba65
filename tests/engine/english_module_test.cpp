// The English module that the build generates (tools/english): it loads
// through the engine, and its lexicon, tokenizer rules, expressions, guesser
// and tagger tables give what the analysis road expects of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <unicode/rbbi.h>
#include <unicode/unistr.h>

#include "analysis/hmm_resource.h"
#include "analysis/morph_data_descriptor.h"
#include "analysis/tokenizer_facade.h"
#include "core-afst/guesser_lookup.h"
#include "core-afst/serialization.h"
#include "core-afst/word_lookup.h"
#include "engine/engine.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/pos_table.h"
#include "foundation/regex.h"
#include "tests/analysis/english_fixture.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/tokenizer_statuses.h"

namespace dez::trelix {
namespace {

using namespace fixture;
namespace pos_table = dez::language::pos_table;

const fs::path english_data = TRELIX_ENGLISH_DATA;

// One engine and one module for the whole suite: loading builds nothing, the
// generator left the tokenizer cache beside the rules.
class EnglishModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        engine =
            std::make_shared<Engine>(options_of({{"root_path", english_data.parent_path().string()},
                                                 {"morfex", english_data.string()},
                                                 {"resource_manager_config", "{}"}}));
        testing::internal::CaptureStdout();
        module = engine->get_language_module("english");
        build_notice = testing::internal::GetCapturedStdout();
    }
    static void TearDownTestSuite() {
        module.reset();
        engine.reset();
    }

    static const LanguageModuleData& data() { return *module->data; }

    static std::vector<std::string> lookup(const std::string& word) {
        afst::WordLookup lexicon(data().morph_chain.at(0).afst, nullptr);
        return lexicon.up(word);
    }

    static std::vector<std::pair<std::string, int>> tokens(const std::string& text) {
        return fixture::statused_tokens(*module, text);
    }

    static std::shared_ptr<Engine> engine;
    static std::shared_ptr<LanguageModule> module;
    static std::string build_notice;
};

std::shared_ptr<Engine> EnglishModule::engine;
std::shared_ptr<LanguageModule> EnglishModule::module;
std::string EnglishModule::build_notice;

TEST_F(EnglishModule, LoadsThroughTheEngineWithEveryFileItNames) {
    EXPECT_EQ(module->name, "english");
    EXPECT_EQ(build_notice, "") << "the generator should leave a warm tokenizer cache";
    EXPECT_TRUE(data().owns_rules_data);
    EXPECT_GT(data().rules_size, 0u);
    ASSERT_EQ(data().morph_chain.size(), 1u);
    EXPECT_NE(data().morph_chain[0].afst, nullptr);
    ASSERT_EQ(data().not_found_chain.size(), 1u);
    EXPECT_NE(data().not_found_chain[0].guesser_afst, nullptr);
    EXPECT_EQ(data().property_chains.count("abbrev"), 1u);
    EXPECT_EQ(data().property_chains.count("apostrophe"), 1u);
    EXPECT_NE(data().postagger, nullptr);
    EXPECT_EQ(data().conditions.size(), 1u);
    EXPECT_FALSE(data().hmm->emission.empty());
    EXPECT_FALSE(data().abbreviations.empty());
    EXPECT_FALSE(data().apostrophes.empty());
    EXPECT_FALSE(data().measures.empty());
    EXPECT_TRUE(data().detect_headers);
}

TEST_F(EnglishModule, LexiconReadings) {
    const struct {
        const char* word;
        std::vector<std::string> expected; // each among the readings
    } cases[] = {
        // irregular forms
        {"went", {"go+V-Past"}},
        {"gone", {"go+V-PaPart"}},
        {"children", {"child+Nn-Pl"}},
        {"mice", {"mouse+Nn-Pl"}},
        {"better", {"good+Adj-Comp", "well+Adv-Comp"}},
        {"was", {"be+Aux-Fin-be+Past"}},
        // regular inflection and its spelling changes
        {"cats", {"cat+Nn-Pl"}},
        {"boxes", {"box+Nn-Pl"}},
        {"cities", {"city+Nn-Pl"}},
        {"walked", {"walk+V-Past", "walk+V-PaPart"}},
        {"walks", {"walk+V-Pres-3-Sg", "walk+Nn-Pl"}},
        {"stopping", {"stop+V-PrPart"}},
        {"making", {"make+V-PrPart"}},
        {"carries", {"carry+V-Pres-3-Sg"}},
        {"biggest", {"big+Adj-Sup"}},
        {"happier", {"happy+Adj-Comp"}},
        {"walk", {"walk+V-Inf", "walk+V-Pres", "walk+Nn-Sg"}},
        // closed classes
        {"the", {"the+Det-Def"}},
        {"an", {"a+Det-Indef"}},
        {"them", {"they+Pron-Pers"}},
        {"of", {"of+Prep-of"}},
        {"because", {"because+Conj-Sub"}},
        {"could", {"can+Aux-Fin"}},
        // clitics
        {"n't", {"not+Part-Neg"}},
        {"'s", {"'s+Part-Poss", "be+Aux-Fin-be"}},
        {"'re", {"be+Aux-Fin-be"}},
        {"ca", {"can+Aux-Fin"}},
        // punctuation
        {".", {".+Punct-Sent"}},
        {",", {",+Punct-Comma"}},
        {"(", {"(+Punct-Open"}},
        {":", {":+Punct"}},
        // numbers and units
        {"seven", {"seven+Num-Writ"}},
        {"hundred", {"hundred+Num-Writ"}},
        {"third", {"third+Adj-Ord"}},
        {"m", {"metre+Nn-Sg+unit", "million+Num+value"}},
        // abbreviations
        {"e.g.", {"for_example+Adv-Std+abbrev"}},
        {"Dr.", {"doctor+Nn-Sg+abbrev"}},
        // names and proper nouns
        {"John", {"John+Prop-Std+giv"}},
        {"Smith", {"Smith+Prop-Std+fam"}},
        {"London", {"London+Prop-Std"}},
    };
    for (const auto& c : cases) {
        const auto readings = lookup(c.word);
        for (const auto& label : c.expected)
            EXPECT_NE(std::find(readings.begin(), readings.end(), label), readings.end())
                << c.word << " lacks " << label;
    }
}

TEST_F(EnglishModule, FormsTheLexiconMustNotHave) {
    // Irregular verbs and nouns get no regular forms; lookups keep case.
    for (const char* word : {"goed", "runned", "childs", "gooder", "Went", "beed", "bes"})
        EXPECT_EQ(lookup(word), std::vector<std::string>{}) << word;
}

TEST_F(EnglishModule, EveryReadingNamesATagOfThePartOfSpeechTable) {
    for (const char* word : {"went", "walks", "the", "'s", "Dr.", "e.g.", ".", "m", "John"}) {
        const auto labels = lookup(word);
        EXPECT_FALSE(labels.empty()) << word;
        for (const auto& label : labels) {
            const auto plus = label.find('+', 1);
            const auto pos = label.substr(plus + 1, label.find('+', plus + 1) - plus - 1);
            EXPECT_NE(pos_table::id(pos), 0u) << word << ": " << label;
        }
    }
}

TEST_F(EnglishModule, TokenMapReadsTheLanguageStatuses) {
    // The language's own statuses come after the defaults of the token map.
    const struct {
        int status;
        std::vector<std::string> tags;
    } cases[] = {
        {513, {"+Punct-Quote", "-Punct-Quote"}},
        {3001, {"+Adj-Ord"}},
        {3002, {"+Num", "time"}},
        {3003, {"+Num", "date"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> tags;
        const auto [first, last] = data().token_map.equal_range(c.status);
        for (auto it = first; it != last; ++it)
            tags.push_back(it->second);
        EXPECT_EQ(tags, c.tags) << c.status;
    }
}

TEST_F(EnglishModule, TokenizerStatuses) {
    using Tokens = std::vector<std::pair<std::string, int>>;
    const struct {
        const char* text;
        Tokens expected;
    } cases[] = {
        {"I don't know.", {{"I", 0}, {"do", 513}, {"n't", 0}, {"know", 0}, {".", 501}}},
        {"John's car", {{"John", 0}, {"'s", 513}, {"car", 0}}},
        {"we\u2019re here", {{"we", 0}, {"\u2019re", 513}, {"here", 0}}},
        {"O'Brien came", {{"O'Brien", 0}, {"came", 0}}},
        {"Dr. Smith", {{"Dr.", 510}, {"Smith", 0}}},
        {"e.g. this", {{"e.g.", 510}, {"this", 0}}},
        {"well-known facts", {{"well-known", 0}, {"facts", 0}}},
        {"in 1990 and 3.14", {{"in", 0}, {"1990", 100}, {"and", 0}, {"3.14", 511}}},
        {"5kg or 50%", {{"5kg", 200}, {"or", 0}, {"50%", 200}}},
        {"$5m and $", {{"$5m", 200}, {"and", 0}, {"$", 514}}},
        {"a, (b) \"c\"",
         {{"a", 0},
          {",", 502},
          {"(", 504},
          {"b", 0},
          {")", 505},
          {"\"", 503},
          {"c", 0},
          {"\"", 503}}},
        {"wait... ok", {{"wait", 0}, {"...", 501}, {"ok", 0}}},
        {"x; y - z", {{"x", 0}, {";", 500}, {"y", 0}, {"-", 500}, {"z", 0}}},
        {"-----", {{"-----", 506}}},
        {"<b>bold</b>", {{"<b>", 512}, {"bold", 0}, {"</b>", 512}}},
        {"mail jo.doe@example.com now", {{"mail", 0}, {"jo.doe@example.com", 520}, {"now", 0}}},
        {"see www.example.org/a now", {{"see", 0}, {"www.example.org/a", 621}, {"now", 0}}},
        {"nice :-)", {{"nice", 0}, {":-)", 522}}},
        {"MP3 player", {{"MP3", 523}, {"player", 0}}},
        {"the 21st and 3rd", {{"the", 0}, {"21st", 3001}, {"and", 0}, {"3rd", 3001}}},
        {"at 10:30 on 2024-05-01", {{"at", 0}, {"10:30", 3002}, {"on", 0}, {"2024-05-01", 3003}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tokens(c.text), c.expected) << c.text;
}

// The numbers of the groups that took part in a whole match; empty when the
// expression does not match.
std::vector<int> groups_matched(const dez::Regex& regex, const std::string& text) {
    dez::SMatch match;
    std::vector<int> groups;
    if (!regex.regex_match(text, match))
        return groups;
    for (std::size_t i = 1; i < match.size(); ++i)
        if (match[i].matched)
            groups.push_back(static_cast<int>(i));
    return groups;
}

TEST_F(EnglishModule, MeasureExpressionGroups) {
    // Groups 1 and 2: unit before the value; 2 and 3: value then unit; all
    // three: currency, value and multiplier; anything else leaves the token.
    const struct {
        const char* text;
        std::vector<int> groups;
    } cases[] = {
        {"$100", {1, 2}},   {"€3.50", {1, 2}}, {"5kg", {2, 3}}, {"50%", {2, 3}}, {"5m", {2, 3}},
        {"$5m", {1, 2, 3}}, {"1990", {2}},     {"5th", {}},     {"1990s", {}},
    };
    // The expression as the analysis compiles it.
    const auto regex = module->get_measures();
    ASSERT_NE(regex, nullptr);
    for (const auto& c : cases)
        EXPECT_EQ(groups_matched(*regex, c.text), c.groups) << c.text;
}

TEST_F(EnglishModule, ApostropheExpressionSplitsBeforeTheClitic) {
    // The split is the end of the first group that took part.
    const struct {
        const char* joined;
        std::size_t split; // 0: no match
    } cases[] = {
        {"don't", 2}, {"DON'T", 2}, {"can't", 2},   {"John's", 4},
        {"we're", 2}, {"I'm", 1},   {"they'll", 4}, {"o'clock", 0},
    };
    const auto regex = module->get_apostrophes();
    ASSERT_NE(regex, nullptr);
    for (const auto& c : cases) {
        dez::SMatch match;
        std::size_t split = 0;
        if (regex->regex_match(c.joined, match))
            for (std::size_t i = 1; i < match.size() && split == 0; ++i)
                if (match[i].matched)
                    split = match[i].str.size();
        EXPECT_EQ(split, c.split) << c.joined;
    }
}

TEST_F(EnglishModule, AbbreviationExpressionKnowsTheListedAbbreviations) {
    const auto regex = module->get_abbreviations();
    ASSERT_NE(regex, nullptr);
    for (const char* text : {"Dr.", "e.g.", "etc.", "U.S."})
        EXPECT_TRUE(regex->regex_match(text)) << text;
    for (const char* text : {"Dr", "eg.", "Drx"})
        EXPECT_FALSE(regex->regex_match(text)) << text;
}

TEST_F(EnglishModule, GuesserReadsUnknownWordsBySuffix) {
    const auto& entry = data().not_found_chain.at(0);
    afst::GuesserLookup guesser(entry.guesser_afst, entry.afst, nullptr);
    const struct {
        const char* word;
        std::vector<std::string> expected;
    } cases[] = {
        {"blorfing", {"~ing+V-PrPart+guess+nf", "~ing+Nn-Sg+guess+nf"}},
        {"zarkly", {"~ly+Adv-Std+guess+nf"}},
        {"grommeted", {"~ed+V-Past+guess+nf", "~ed+V-PaPart+guess+nf", "~ed+Adj-Std+guess+nf"}},
        {"wuzzification", {"~tion+Nn-Sg+guess+nf"}},
        {"blorfs", {"~s+Nn-Pl+guess+nf", "~s+V-Pres-3-Sg+guess+nf"}},
        // the longer suffix, not a plural "-s"
        {"blorfness", {"~ness+Nn-Sg+guess+nf"}},
        {"blorfless", {"~less+Adj-Std+guess+nf"}},
        {"blorfous", {"~ous+Adj-Std+guess+nf"}},
        {"Blorfing", {}}, // only lower-case words are guessed
        // no spelling fixes: a word ending in no suffix gets no guess
        {"xyzzq", {}},
        {"blorfingx", {}},
        {"blorf2ing", {}},
    };
    for (const auto& c : cases) {
        auto results = guesser.up(c.word);
        std::sort(results.begin(), results.end());
        auto expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(results, expected) << c.word;
    }
}

TEST_F(EnglishModule, HmmStoreRowsUseKnownTagsAndPositiveProbabilities) {
    auto db = afst::serialization::open_shared_db_read((english_data / "english.hmm").string());
    ASSERT_NE(db, nullptr);
    const struct {
        const char* key;
        char tag_end; // what ends the (first) tag in a line
    } rows[] = {{"start-hmm", '\t'}, {"emission-hmm", '\t'}, {"transmission-hmm", ' '}};
    for (const auto& row : rows) {
        const auto bytes = afst::serialization::get_binary_data(db.get(), row.key).second;
        ASSERT_FALSE(bytes.empty()) << row.key;
        std::istringstream lines(std::string(bytes.begin(), bytes.end()));
        std::size_t count = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            const auto tab = line.find('\t');
            ASSERT_NE(tab, std::string::npos) << row.key << ": " << line;
            std::string key = line.substr(0, tab);
            std::vector<std::string> tags;
            if (row.tag_end == ' ') {
                const auto space = key.find(' ');
                ASSERT_NE(space, std::string::npos) << line;
                tags = {key.substr(0, space), key.substr(space + 1)};
            } else if (const auto caret = key.find("^^"); caret != std::string::npos) {
                tags = {key.substr(caret + 2)};
            } else {
                tags = {key};
            }
            for (const auto& tag : tags)
                EXPECT_NE(pos_table::id(tag), 0u) << row.key << ": " << line;
            EXPECT_GT(std::stod(line.substr(tab + 1)), 0.0) << row.key << ": " << line;
        }
        EXPECT_GT(count, 0u) << row.key;
    }
}

// The rows of the stored tagger tables: key text -> probability.
std::map<std::string, double> hmm_rows(sqlite3* db, const char* key) {
    const auto bytes = afst::serialization::get_binary_data(db, key).second;
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    std::map<std::string, double> rows;
    for (std::string line; std::getline(lines, line);) {
        const auto tab = line.find('\t');
        rows.emplace(line.substr(0, tab), std::stod(line.substr(tab + 1)));
    }
    return rows;
}

// Tags the held-out sentences of the hand-tagged sample (every fifth) with
// the stored tables and the readings of the module's lexicon, the way the
// tagger chooses (Viterbi over the readings' tags, a missing entry 1e-13).
// The generator reported 695 of 718 tokens (96.8%).
TEST_F(EnglishModule, StoredTaggerTablesTagTheHeldOutSentences) {
    auto db = afst::serialization::open_shared_db_read((english_data / "english.hmm").string());
    ASSERT_NE(db, nullptr);
    const auto start = hmm_rows(db.get(), "start-hmm");
    const auto emission = hmm_rows(db.get(), "emission-hmm");
    const auto transition = hmm_rows(db.get(), "transmission-hmm");
    auto value = [](const std::map<std::string, double>& table, const std::string& key) {
        const auto found = table.find(key);
        return std::log(found == table.end() ? 1e-13 : found->second);
    };
    auto emit = [&](const std::string& word, const std::string& tag) {
        if (emission.count(word + "^^" + tag))
            return value(emission, word + "^^" + tag);
        return value(emission, "dummy^^" + tag);
    };
    auto tags_of = [&](const std::string& word) {
        std::set<std::string> tags;
        auto add = [&](const std::string& form) {
            for (const auto& label : lookup(form)) {
                const auto plus = label.find('+', 1);
                tags.insert(label.substr(plus + 1, label.find('+', plus + 1) - plus - 1));
            }
        };
        add(word);
        if (std::isupper(static_cast<unsigned char>(word[0])))
            add(std::string(1, static_cast<char>(std::tolower(word[0]))) + word.substr(1));
        if (tags.empty())
            tags.insert(std::isdigit(static_cast<unsigned char>(word[0]))   ? "Num"
                        : std::isupper(static_cast<unsigned char>(word[0])) ? "Prop-Std"
                                                                            : "Nn-Std");
        return tags;
    };

    const auto sentences = fixture::held_out_sentences();
    ASSERT_FALSE(sentences.empty());
    std::size_t correct = 0, total = 0;
    for (const auto& tokens : sentences) {
        // Per token: tag -> (best log score, previous tag).
        std::vector<std::map<std::string, std::pair<double, std::string>>> columns;
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            std::map<std::string, std::pair<double, std::string>> column;
            for (const auto& tag : tags_of(tokens[k].first)) {
                const double e = emit(tokens[k].first, tag);
                std::pair<double, std::string> best{value(start, tag) + e, ""};
                if (k > 0) {
                    best.first = -1e300;
                    for (const auto& [previous, state] : columns.back()) {
                        const double score =
                            state.first + value(transition, previous + " " + tag) + e;
                        if (score > best.first)
                            best = {score, previous};
                    }
                }
                column[tag] = best;
            }
            columns.push_back(std::move(column));
        }
        std::string tag;
        double best = -1e301;
        for (const auto& [candidate, state] : columns.back())
            if (state.first > best)
                std::tie(best, tag) = std::make_pair(state.first, candidate);
        for (std::size_t k = tokens.size(); k-- > 0; tag = columns[k][tag].second) {
            ++total;
            correct += tag == tokens[k].second;
        }
    }
    EXPECT_GE(total, 700u);
    EXPECT_GE(static_cast<double>(correct) / static_cast<double>(total), 0.965)
        << correct << " of " << total;
}

} // namespace
} // namespace dez::trelix
