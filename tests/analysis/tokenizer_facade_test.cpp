#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unicode/brkiter.h>
#include <unicode/rbbi.h>

#include "analysis/tokenize.h"
#include "analysis/tokenizer_facade.h"
#include "foundation/exception.h"
#include "tests/analysis/tokenizer_fixture.h"

namespace dez::trelix {
namespace {

using Strings = std::vector<std::string>;

// Every document gets its own iterator, cloned from one per language.
TEST(TokenizerFacade, OneCompiledIteratorPerLanguage) {
    auto module = fixture::make_rules_module();
    auto first = module->get_tokenizer();
    auto second = module->get_tokenizer();
    ASSERT_NE(first->rule_based, nullptr);
    EXPECT_EQ(first->rule_based, first->iterator.get());
    EXPECT_NE(first->iterator.get(), second->iterator.get());
    ASSERT_NE(module->data->tokenizer_prototype, nullptr);
    EXPECT_NE(module->data->tokenizer_prototype.get(), first->iterator.get());

    // Clones walk their own texts.
    const icu::UnicodeString a(u"ab cd");
    const icu::UnicodeString b(u"xyz");
    first->iterator->setText(a);
    second->iterator->setText(b);
    EXPECT_EQ(first->iterator->following(0), 2);
    EXPECT_EQ(second->iterator->following(0), 3);
    EXPECT_EQ(first->iterator->next(), 3);

    // The locale iterator is shared the same way and reads no rule status.
    auto locale = fixture::make_language_module("english");
    auto words = locale->get_tokenizer();
    EXPECT_EQ(words->rule_based, nullptr);
    EXPECT_NE(words->iterator.get(), locale->get_tokenizer()->iterator.get());
}

// An iterator made from serialised rules reads them in place: a document's
// tokenizer keeps them alive after its language is gone.
TEST(TokenizerFacade, OutlivesItsLanguage) {
    fixture::Document document("kept 42 alive");
    std::shared_ptr<TokenizerFacade> tokenizer = document->tokenizer;
    std::weak_ptr<LanguageModuleData> data = document.analyzer.module->data;
    document.analyzer.module->data.reset();
    document->language_module->data.reset();
    EXPECT_FALSE(data.expired());
    Sentence* sentence = document.tokenize_all();
    EXPECT_EQ(fixture::literals_of(*sentence), (Strings{"kept", "42", "alive"}));
    document->tokenizer.reset();
    tokenizer.reset();
    EXPECT_TRUE(data.expired());
}

// Documents of one language on several threads: each clones and walks its
// own iterator. (The documents are made first: the test loggers of other
// cases are not thread-safe.)
TEST(TokenizerFacade, DocumentsOnSeveralThreads) {
    auto module = fixture::make_rules_module();
    const std::string text = "It costs $5m, see https://example.com/a/b now.";
    std::vector<std::unique_ptr<fixture::Document>> documents;
    for (int i = 0; i < 4 * 20; ++i)
        documents.push_back(std::make_unique<fixture::Document>(text, "{}", "{}", module));
    std::vector<Strings> seen(documents.size());
    std::vector<std::thread> threads;
    for (size_t t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (size_t i = t; i < documents.size(); i += 4) {
                fixture::Document& document = *documents[i];
                document->tokenizer = module->get_tokenizer();
                seen[i] = fixture::literals_of(*document.tokenize_all());
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    const Strings expected{"It", "costs", "$5m", ",", "see", "https://example.com/a/b", "now", "."};
    for (const Strings& literals : seen)
        EXPECT_EQ(literals, expected);
}

TEST(TokenizerFacade, FailuresAreNotRemembered) {
    auto module = fixture::make_rules_module();
    module->data->release_rules();
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            module->get_tokenizer();
            FAIL() << "no exception";
        } catch (const dez::Exception& e) {
            EXPECT_STREQ(e.what(), "ERROR: assigning tokenizer parser");
        }
    }
    auto bad_locale = fixture::make_language_module("english");
    (*bad_locale->data->config)["tokenizer_locale"] = 7;
    EXPECT_THROW(bad_locale->get_tokenizer(), nlohmann::json::type_error);
}

} // namespace
} // namespace dez::trelix
