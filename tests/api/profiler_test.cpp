#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "api/profiler.h"
#include "core-afst/serialization.h"
#include "document/annotation_collection.h"
#include "domain/domain_interface.h"
#include "tests/document/sentence_fixture.h"
#include "tests/domain/temp_tree.h"

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

TEST(ProfilerHit, HiddenConceptsLeaveNoTraceAndRulelessOnesAnEmptySet) {
    AnnotationCollection document;
    Sentence* sentence = fixture::make_sentence("big red car");
    document.push_back(sentence);
    Concept* hidden = fixture::add_concept(*sentence, fixture::token_at(*sentence, 0),
                                           fixture::token_at(*sentence, 0), "$Size");
    Concept* plain = fixture::add_concept(*sentence, fixture::token_at(*sentence, 1),
                                          fixture::token_at(*sentence, 2), "Car");

    Profiler profiler;
    profiler.hit("rule_never_started", hidden);
    EXPECT_TRUE(profiler.infos.empty());
    EXPECT_TRUE(profiler.concept_matches.empty());

    profiler.hit("rule_never_started", plain);
    const Info& info = profiler.infos.at("rule_never_started");
    EXPECT_EQ(info.count, 0);
    EXPECT_EQ(info.total_time, 0.0);
    EXPECT_EQ(info.hits.at("Car").count, 1u);
    EXPECT_TRUE(profiler.concept_matches.at("Car").matches.at("red car").empty());
}

TEST(ProfilerTiming, StartCountsAndStopAddsTheTimeSinceTheLastStart) {
    Profiler profiler;
    profiler.stop("never started");
    EXPECT_TRUE(profiler.infos.empty());

    profiler.start("lexicon:geo.dom");
    profiler.start("lexicon:geo.dom");
    const int64_t second_start = profiler.infos.at("lexicon:geo.dom").start_time;
    profiler.stop("lexicon:geo.dom");
    const Info& info = profiler.infos.at("lexicon:geo.dom");
    EXPECT_EQ(info.count, 2);
    EXPECT_EQ(info.start_time, second_start);
    EXPECT_GE(info.total_time, 0.0);

    // A run whose stop never comes is counted without time.
    const double before = info.total_time;
    profiler.start("lexicon:geo.dom");
    EXPECT_EQ(info.count, 3);
    EXPECT_EQ(info.total_time, before);

    profiler.clear();
    EXPECT_TRUE(profiler.infos.empty());
}

TEST(ProfilerNames, RuleIdsParseToFileLineAndRest) {
    Profiler profiler;
    profiler.file_names["0_places.tlx"] = "/src/places.tlx";
    struct Case {
        const char* id;
        const char* file;
        int64_t line;
        const char* remainder;
    };
    const Case cases[] = {
        {"rule_4$MCF:0_places.tlx__l12_Place", "/src/places.tlx", 12, "Place"},
        {"rule_4$MCF:0_places.tlx__l012_Place_b", "/src/places.tlx", 12, "Place_b"},
        {"rule_x$MCF:unknown.tlx__l7_City", "unknown.tlx", 7, "City"},
        {"pre rule_a$MCF:k__l3_r", "k", 3, "r"},
        {"lexicon:/data/geo.dom", "lexicon:/data/geo.dom", 0, ""},
        {"rule_4$MCF:0_places.tlx", "rule_4$MCF:0_places.tlx", 0, ""},
    };
    for (const Case& c : cases) {
        const ParseRuleIDType parsed = profiler.parse_rule_id(c.id);
        EXPECT_EQ(parsed.file, c.file) << c.id;
        EXPECT_EQ(parsed.line, c.line) << c.id;
        EXPECT_EQ(parsed.remainder, c.remainder) << c.id;
    }
}

TEST(ProfilerNames, RuleReferencesResolveOnlyKnownFileKeys) {
    Profiler profiler;
    profiler.file_names["0_places.tlx"] = "/src/places.tlx";
    profiler.file_names["a:b"] = "/src/ab.tlx";
    struct Case {
        const char* reference;
        const char* file;
        int64_t line;
    };
    const Case cases[] = {
        {"0_places.tlx:17", "/src/places.tlx", 17},
        {"a:b:5", "/src/ab.tlx", 5},
        {"other.tlx:17", "other.tlx:17", 0},
        {"other.tlx:x", "other.tlx:x", 0},
        {"no colon", "no colon", 0},
    };
    for (const Case& c : cases) {
        const ParseRuleIDType resolved = profiler.resolve_filename(c.reference);
        EXPECT_EQ(resolved.file, c.file) << c.reference;
        EXPECT_EQ(resolved.line, c.line) << c.reference;
        EXPECT_EQ(resolved.remainder, "") << c.reference;
    }
}

TEST(ProfilerNames, LinePartsThatAreNoNumberRaise) {
    Profiler profiler;
    profiler.file_names["k"] = "/src/k.tlx";
    EXPECT_THROW(profiler.parse_rule_id("rule_1$MCF:k__lx_r"), std::invalid_argument);
    EXPECT_THROW(profiler.parse_rule_id("rule_1$MCF:k__l_r"), std::invalid_argument);
    EXPECT_THROW(profiler.parse_rule_id("rule_1$MCF:k__l99999999999999999999_r"),
                 std::out_of_range);
    EXPECT_THROW(profiler.resolve_filename("k:x"), std::invalid_argument);
    try {
        profiler.parse_rule_id("rule_1$MCF:k__lx_r");
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "stol");
    }
}

// A domain named only by its compiled file.
class FileDomain : public DomainInterface {
public:
    explicit FileDomain(std::string file) : file(std::move(file)) {}
    const std::string& get_sqlite_filename() const override { return file; }
    const std::string& name() const override { return file; }
    std::string file;
};

class ProfilerInit : public ::testing::Test {
protected:
    // The companion store of `domain` with the given file-name record.
    void write_companion(const std::string& domain, const std::string& record) {
        auto db = dez::afst::serialization::open_file(tree.root / (domain + ".dom_inc"));
        ASSERT_TRUE(dez::afst::serialization::create_cbf_table(db.get()));
        dez::afst::serialization::delete_binary_data(db.get(), "uniq_id_2_filename_map");
        dez::afst::serialization::store_binary_data(db.get(), "uniq_id_2_filename_map", "",
                                                    record.data(), record.size());
    }
    std::string dom(const std::string& domain) const {
        return (tree.root / (domain + ".dom")).string();
    }

    dez::pipeline::fixture::TempTree tree;
};

TEST_F(ProfilerInit, ListsEveryRuleAndKeepsTheFiguresItHas) {
    Profiler profiler;
    profiler.start("rule_b");
    FileDomain domain(dom("geo"));
    profiler.init(&domain, {"rule_a", "rule_b"});
    profiler.init(nullptr, {"rule_c"});
    ASSERT_EQ(profiler.infos.size(), 3u);
    EXPECT_EQ(profiler.infos.at("rule_a").count, 0);
    EXPECT_EQ(profiler.infos.at("rule_b").count, 1);
    EXPECT_TRUE(profiler.file_names.empty());
}

TEST_F(ProfilerInit, ReadsEachDomainsCompanionStoreOnce) {
    write_companion("geo", R"({"0_places.tlx":"/src/places.tlx","k":"/src/geo_k.tlx"})");
    write_companion("people", R"({"0_names.tlx":"/src/names.tlx","k":"/src/people_k.tlx"})");
    Profiler profiler;
    profiler.file_names["k"] = "/src/mine.tlx";
    FileDomain geo(dom("geo"));
    FileDomain people(dom("people"));

    profiler.init(&geo, {});
    // Another collection of the same domain does not read the store again.
    write_companion("geo", R"({"late.tlx":"/src/late.tlx"})");
    profiler.init(&geo, {});
    profiler.init(&people, {});
    const std::map<std::string, std::string> expected{{"0_names.tlx", "/src/names.tlx"},
                                                      {"0_places.tlx", "/src/places.tlx"},
                                                      {"k", "/src/mine.tlx"}};
    EXPECT_EQ(profiler.file_names, expected);
}

TEST_F(ProfilerInit, MissingCompanionStoreIsNeitherReadNorMade) {
    Profiler profiler;
    FileDomain domain(dom("geo"));
    profiler.init(&domain, {"rule_a"});
    EXPECT_TRUE(profiler.file_names.empty());
    EXPECT_FALSE(std::filesystem::exists(tree.root / "geo.dom_inc"));
    EXPECT_TRUE(std::filesystem::is_empty(tree.root));

    // A store without the record adds nothing either.
    {
        auto db = dez::afst::serialization::open_file(tree.root / "people.dom_inc");
        ASSERT_TRUE(dez::afst::serialization::create_cbf_table(db.get()));
    }
    FileDomain people(dom("people"));
    profiler.init(&people, {});
    EXPECT_TRUE(profiler.file_names.empty());
}

TEST_F(ProfilerInit, ReadOnlyCompanionStoreIsRead) {
    write_companion("geo", R"({"0_places.tlx":"/src/places.tlx"})");
    const auto store = tree.root / "geo.dom_inc";
    std::filesystem::permissions(store, std::filesystem::perms::owner_read);
    Profiler profiler;
    FileDomain domain(dom("geo"));
    profiler.init(&domain, {});
    EXPECT_EQ(profiler.file_names.at("0_places.tlx"), "/src/places.tlx");
    std::filesystem::permissions(store, std::filesystem::perms::owner_all);
}

} // namespace
} // namespace dez::trelix::profiler
