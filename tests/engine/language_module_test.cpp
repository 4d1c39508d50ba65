#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>
#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include "analysis/tokenizer_facade.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/regex.h"

namespace dez::trelix {
namespace {

std::shared_ptr<LanguageModule> module_with(const nlohmann::json& config) {
    auto module = std::make_shared<LanguageModule>();
    module->data = std::make_shared<LanguageModuleData>("test.language");
    module->data->config = std::make_shared<nlohmann::json>(config);
    return module;
}

TEST(LanguageModule, ExpressionsOnlyWhereTheLanguageHasThem) {
    auto module = module_with(nlohmann::json::object());
    EXPECT_EQ(module->get_abbreviations(), nullptr);
    EXPECT_EQ(module->get_apostrophes(), nullptr);
    EXPECT_EQ(module->get_measures(), nullptr);

    module->data->abbreviations = "Dr|[A-C]";
    module->data->measures = "km";
    auto abbreviations = module->get_abbreviations();
    ASSERT_NE(abbreviations, nullptr);
    EXPECT_TRUE(abbreviations->regex_match("B"));
    EXPECT_FALSE(abbreviations->regex_match("dr"));
    // Compiled once per language: every document shares the object.
    EXPECT_EQ(abbreviations, module->get_abbreviations());
    LanguageModule another;
    another.data = module->data;
    EXPECT_EQ(another.get_abbreviations(), abbreviations);
    EXPECT_TRUE(module->get_measures()->regex_match("km"));
    EXPECT_EQ(LanguageModule().get_measures(), nullptr);
}

TEST(LanguageModule, ChangedExpressionCompilesAgainAndEarlierOnesStay) {
    auto module = module_with(nlohmann::json::object());
    module->data->abbreviations = "Dr";
    auto before = module->get_abbreviations();
    module->data->abbreviations = "Mr";
    auto after = module->get_abbreviations();
    ASSERT_NE(after, before);
    EXPECT_TRUE(after->regex_match("Mr"));
    EXPECT_FALSE(after->regex_match("Dr"));
    // A document still holding the earlier one keeps using it.
    EXPECT_TRUE(before->regex_match("Dr"));
    EXPECT_EQ(module->get_abbreviations(), after);
}

// Documents on many threads set up from one module at once: the first ones
// make the prototype and the expressions, all share them, and each walks
// its own tokenizer.
TEST(LanguageModule, DocumentsOnManyThreadsShareOneModule) {
    auto module = module_with({{"tokenizer_locale", "en"}});
    module->data->apostrophes = "'s|n't";
    constexpr int threads = 8;
    std::vector<std::shared_ptr<dez::Regex>> seen(threads);
    std::vector<int> words(threads, 0);
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t)
        running.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                seen[t] = module->get_apostrophes();
                auto tokenizer = module->get_tokenizer();
                const icu::UnicodeString text("one two three");
                tokenizer->iterator->setText(text);
                int count = 0;
                for (int32_t end = (tokenizer->iterator->first(), tokenizer->iterator->next());
                     end != icu::BreakIterator::DONE; end = tokenizer->iterator->next())
                    ++count;
                words[t] = count;
            }
        });
    for (auto& thread : running)
        thread.join();
    for (int t = 0; t < threads; ++t) {
        EXPECT_EQ(seen[t], seen[0]) << t;
        EXPECT_EQ(words[t], 5) << t; // three words and two spaces
    }
    ASSERT_NE(seen[0], nullptr);
    EXPECT_TRUE(seen[0]->regex_match("n't"));
}

TEST(LanguageModule, ConfigOptions) {
    auto module = module_with({{"sentyziser", "icu"}, {"number", 3}, {"nothing", nullptr}});
    EXPECT_EQ(module->data->get_config_option("sentyziser"), "icu");
    EXPECT_EQ(module->data->get_config_option("absent"), "");
    for (const char* key : {"number", "nothing"}) {
        try {
            module->data->get_config_option(key);
            ADD_FAILURE() << key;
        } catch (const nlohmann::json::type_error& e) {
            EXPECT_EQ(e.id, 302) << key;
        }
    }
    LanguageModuleData without("x.language");
    EXPECT_EQ(without.get_config_option("sentyziser"), "");
}

TEST(LanguageModule, TokenizerFromLocaleOrCompiledRules) {
    auto module = module_with({{"tokenizer_locale", "en"}});
    auto tokenizer = module->get_tokenizer();
    ASSERT_NE(tokenizer, nullptr);
    EXPECT_NE(tokenizer->iterator, nullptr);
    EXPECT_EQ(tokenizer->rule_based, nullptr);

    auto no_rules = module_with(nlohmann::json::object());
    try {
        no_rules->get_tokenizer();
        FAIL() << "no exception";
    } catch (const dez::Exception& e) {
        EXPECT_STREQ(e.what(), "ERROR: assigning tokenizer parser");
    }
    EXPECT_THROW(module_with({{"tokenizer_locale", 3}})->get_tokenizer(),
                 nlohmann::json::type_error);
}

} // namespace
} // namespace dez::trelix
