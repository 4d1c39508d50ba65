#include <gtest/gtest.h>

#include <string>

#include "api/profiler.h"
#include "document/annotation_collection.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix::profiler {
namespace {

TEST(ProfilerHit, CountsConceptsAndTheirRulesPerText) {
    AnnotationCollection document;
    Sentence* sentence = fixture::make_sentence("New York is big");
    document.push_back(sentence);
    Concept* city = fixture::add_concept(*sentence, fixture::token_at(*sentence, 0),
                                         fixture::token_at(*sentence, 1), "City");
    city->add("_rule", "b.tlx:3", store_own);
    city->add("_rule", "a.tlx:9", store_own);
    Concept* hidden = fixture::add_concept(*sentence, fixture::token_at(*sentence, 3),
                                           fixture::token_at(*sentence, 3), "$tmp");

    Profiler profiler;
    profiler.hit("rule_1", city);
    profiler.hit("rule_1", city);
    profiler.hit("rule_1", hidden);
    ASSERT_EQ(profiler.infos.size(), 1u);
    const Info& info = profiler.infos.at("rule_1");
    EXPECT_EQ(info.name, "rule_1");
    EXPECT_EQ(info.count, 0);
    EXPECT_EQ(info.hits.at("City").count, 2u);
    const auto& rules = profiler.concept_matches.at("City").matches.at("New York");
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules.begin()->rule, "a.tlx:9");
    EXPECT_EQ(profiler.concept_matches.count("$tmp"), 0u);
}

} // namespace
} // namespace dez::trelix::profiler
