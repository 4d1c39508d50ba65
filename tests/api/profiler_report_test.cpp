#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "api/profiler.h"

namespace dez::trelix::profiler {
namespace {

const std::string matches_description =
    R"("description":"results of rules that matches the same data.")";
const std::string rules_description =
    R"("description":"timing/counts of the different rules,lexicons,api calls,anaphora and conjecture.")";

std::string report_of(const std::string& concepts, const std::string& files) {
    return R"({"profile":{"matches":{"concept":)" + concepts + "," + matches_description +
           R"(},"rules":{)" + rules_description + R"(,"files":)" + files + "}}}";
}

Info& entry(Profiler& profiler, const std::string& name, int32_t count, double time) {
    Info& info = profiler.infos.try_emplace(name, name).first->second;
    info.count = count;
    info.total_time = time;
    return info;
}

TEST(ProfilerReport, EmptyProfilerGivesTheSmallestReport) {
    Profiler profiler;
    EXPECT_EQ(profiler.report(),
              R"({"profile":{"matches":{"concept":{},"description":"results of rules that )"
              R"(matches the same data."},"rules":{"description":"timing/counts of the )"
              R"(different rules,lexicons,api calls,anaphora and conjecture.","files":{}}}})");
    EXPECT_EQ(&profiler.report(), &profiler.report_text);
}

TEST(ProfilerReport, EntriesGroupByFileFromTheSmallestTime) {
    Profiler profiler;
    profiler.file_names["0_geo.tlx"] = "/src/geo.tlx";
    entry(profiler, "rule_1$MCF:0_geo.tlx__l9_City", 3, 1500.0);
    Info& place = entry(profiler, "rule_2$MCF:0_geo.tlx__l04_Place", 2, 250.5);
    place.hits["Place"].count = 2;
    place.hits["City"].count = 1;
    entry(profiler, "lexicon:/data/geo.dom", 1, 7.0);
    // Listed by init but never tried; a hit still counts.
    entry(profiler, "rule_3$MCF:other.tlx__l1_X", 0, 0.0).hits["X"].count = 1;

    EXPECT_EQ(profiler.report(),
              report_of("{}",
                        R"({"/src/geo.tlx":{"locations":[)"
                        R"({"hits":{"City":{"cnt":1},"Place":{"cnt":2}},"line":4,)"
                        R"("nanosec":250.5,"triggered":2},)"
                        R"({"hits":{},"line":9,"nanosec":1500.0,"triggered":3}]},)"
                        R"("lexicon:/data/geo.dom":{"locations":[)"
                        R"({"hits":{},"line":0,"nanosec":7.0,"triggered":1}]},)"
                        R"("other.tlx":{"locations":[)"
                        R"({"hits":{"X":{"cnt":1}},"line":1,"nanosec":0.0,"triggered":0}]}})"));
}

TEST(ProfilerReport, ConceptsListTextsThatSeveralRulesProduced) {
    Profiler profiler;
    profiler.file_names["0_geo.tlx"] = "/src/geo.tlx";
    auto& city = profiler.concept_matches["City"].matches;
    city["Paris"] = {{"0_geo.tlx:3"}, {"0_geo.tlx:3 "}, {"unknown.tlx:8"}};
    city["Rome"] = {{"0_geo.tlx:5"}};
    profiler.concept_matches["Lone"].matches["x"] = {{"0_geo.tlx:1"}};

    EXPECT_EQ(profiler.report(),
              report_of(R"({"City":{"Paris":{"rules":[{"file":"/src/geo.tlx","line":3},)"
                        R"({"file":"/src/geo.tlx","line":3},{"file":"unknown.tlx:8","line":0}]}}})",
                        "{}"));
}

TEST(ProfilerReport, OneBadLinePartGivesLineZeroForItsEntryOnly) {
    Profiler profiler;
    profiler.file_names["k"] = "/src/k.tlx";
    entry(profiler, "rule_1$MCF:k__lx_A", 1, 1.0);
    entry(profiler, "rule_2$MCF:k__l99999999999999999999_B", 1, 2.0);
    entry(profiler, "rule_3$MCF:k__l-4_C", 1, 3.0);
    entry(profiler, "rule_4$MCF:k__l6_D", 1, 4.0);
    profiler.concept_matches["C"].matches["t"] = {{"k:oops"}, {"k:2"}};

    EXPECT_EQ(profiler.report(),
              report_of(R"({"C":{"t":{"rules":[{"file":"/src/k.tlx","line":2},)"
                        R"({"file":"/src/k.tlx","line":0}]}}})",
                        R"({"/src/k.tlx":{"locations":[)"
                        R"({"hits":{},"line":0,"nanosec":1.0,"triggered":1},)"
                        R"({"hits":{},"line":0,"nanosec":2.0,"triggered":1},)"
                        R"({"hits":{},"line":0,"nanosec":3.0,"triggered":1},)"
                        R"({"hits":{},"line":6,"nanosec":4.0,"triggered":1}]}})"));
}

TEST(ProfilerReport, FailureKeepsThePreviousText) {
    Profiler profiler;
    const std::string first = profiler.report();
    entry(profiler, "lexicon:/data/\xff.dom", 1, 1.0);
    try {
        profiler.report();
        ADD_FAILURE() << "invalid UTF-8 was printed";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind(
                      "Exception: profiler: report [json.exception.type_error.316]", 0),
                  0u)
            << e.what();
    }
    EXPECT_EQ(profiler.report_text, first);
}

TEST(ProfilerReport, RepeatsItselfAndForgetsTimingsAfterClear) {
    Profiler profiler;
    entry(profiler, "lexicon:a.dom", 1, 5.0);
    profiler.concept_matches["C"].matches["t"] = {{"a:1"}, {"b:2"}};
    const std::string first = profiler.report();
    EXPECT_EQ(profiler.report(), first);

    profiler.clear();
    EXPECT_EQ(profiler.report(), report_of(R"({"C":{"t":{"rules":[{"file":"a:1","line":0},)"
                                           R"({"file":"b:2","line":0}]}}})",
                                           "{}"));
}

} // namespace
} // namespace dez::trelix::profiler
