#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/dictionary_lookup.h"
#include "analysis/lookup_condition_types.h"
#include "analysis/morph_data.h"
#include "document/token_flags.h"
#include "engine/engine.h"
#include "tests/analysis/lookup_fixture.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using Strings = std::vector<std::string>;

// A language folder written by the test: its `.language` file and lexicons
// built with our builder, loaded through the engine.
class LanguageChains : public fixture::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        data = tree.folder("data");
        lexicon("mini.morph", {"cat:cat[+Nn]", "the:the[+Det]"});
        lexicon("second.morph", {"dog:dog[+Nn]"});
        lexicon("guess.morph", {"blick:blick[+Nn+guess]"});
        lexicon("abbrev.morph", {"Dr.:doctor[+Nn]"});
        engine = std::make_shared<Engine>(
            fixture::options_of({{"root_path", data.parent_path().string()},
                                 {"morfex", data.string()},
                                 {"resource_manager_config", "{}"}}));
    }
    void lexicon(const std::string& name, const std::vector<std::string>& lines) const {
        ASSERT_TRUE(afst_test::build_lexicon(lines)->Write((data / name).string()));
    }
    std::shared_ptr<LanguageModule> load(const nlohmann::json& config) const {
        std::ofstream((data / "mini.language").string()) << config.dump();
        return engine->get_language_module("mini");
    }

    fixture::fs::path data;
    std::shared_ptr<Engine> engine;
};

TEST_F(LanguageChains, FromTheLanguageFileToReadings) {
    auto module =
        load({{"tokenizer_locale", "en"},
              {"morph_chain",
               {{{"file", "mini.morph"}, {"properties", {"x"}}},
                {{"file", "second.morph"}, {"lookup", "plain"}}}},
              {"not_found", {{{"file", "guess.morph"}}}},
              {"property_chain", {{"abbrev", {{{"file", "abbrev.morph"}}}}}},
              {"conditions", {{{"type", "property"}, {"value", "nf"}, {"action", "merge"}}}}});
    const LanguageModuleData& loaded = *module->data;
    ASSERT_EQ(loaded.morph_chain.size(), 2u);
    EXPECT_EQ(loaded.morph_chain[0].properties, "+x");
    ASSERT_EQ(loaded.conditions.size(), 1u);
    EXPECT_EQ(loaded.conditions[0]->action_mode, LookupConditionInterface::merge);

    fixture::TestAnalyzer analyzer("{}", module);
    auto document = fixture::make_blackboard(analyzer);
    document->set_languge_module(module);
    ASSERT_EQ(document->named_lookups.count("abbrev"), 1u);
    Sentence* sentence = fixture::add_sentence(*document, "the cat dog blick Dr.");
    fixture::token_at(*sentence, 4)->token_flags |= token_flags::known_abbreviation;
    add_dictionary_lookup_information(*document);
    const Strings expected[] = {{"the/Det[x]@1.00"},
                                {"cat/Nn[x]@1.00"},
                                {"dog/Nn@1.00"},
                                {"blick/Nn[guess]@1.00"},
                                {"doctor/Nn@1.00"}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(fixture::readings_of(*fixture::token_at(*sentence, i)), expected[i]) << i;
}

TEST_F(LanguageChains, ABadEntryFailsTheLoad) {
    const std::string failure = fixture::failure_of([&] {
        load({{"tokenizer_locale", "en"},
              {"morph_chain", {{{"file", "mini.morph"}, {"lookup", "compound"}}}}});
    });
    EXPECT_NE(failure.find("unknown lookup type"), std::string::npos) << failure;
    const std::string condition = fixture::failure_of([&] {
        load({{"tokenizer_locale", "en"}, {"conditions", {{{"type", "pos"}}}}});
    });
    EXPECT_EQ(condition, "Invalid language configuration in conditions sections. value missing");
}

} // namespace
} // namespace dez::trelix
