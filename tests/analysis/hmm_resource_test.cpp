#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "analysis/hmm_resource.h"
#include "foundation/exception.h"
#include "tests/analysis/hmm_fixture.h"
#include "tests/document/log_capture.h"
#include "tests/domain/temp_tree.h"

namespace dez::trelix {
namespace {

using core::hmm::Resource;
using core::hmm::detail::make_transition_id;
using fixture::HmmRows;
using fixture::tag;

const HmmRows good_rows{"Nn-Std\t0.25\nV-Fin\t0.75\n", "run^^V-Fin\t0.5\ndummy^^Nn-Std\t0.125",
                        "Nn-Std V-Fin\t0.5\nV-Fin Nn-Std\t0.0625\n"};

std::string load_failure(const std::string& path) {
    try {
        core::hmm::load(path);
    } catch (const dez::Exception& error) {
        return error.what();
    }
    return "no failure";
}

class HmmLoad : public testing::Test {
protected:
    std::string store(const HmmRows& rows, const std::string& name = "english.hmm") {
        const auto path = tree.root / name;
        fixture::write_hmm_store(path, rows);
        return path.string();
    }

    dez::pipeline::fixture::TempTree tree;
};

TEST_F(HmmLoad, ReadsTheThreeTables) {
    const Resource resource = core::hmm::load(store(good_rows));
    EXPECT_EQ(resource.start.size(), 2u);
    EXPECT_FLOAT_EQ(resource.start.at(tag("Nn-Std")), 0.25f);
    EXPECT_FLOAT_EQ(resource.start.at(tag("V-Fin")), 0.75f);
    EXPECT_EQ(resource.emission.size(), 2u);
    EXPECT_FLOAT_EQ(resource.emission.at("run^^V-Fin"), 0.5f);
    EXPECT_FLOAT_EQ(resource.emission.at("dummy^^Nn-Std"), 0.125f);
    EXPECT_EQ(resource.transition.table.size(), 2u);
    EXPECT_FLOAT_EQ(resource.transition.table.at(make_transition_id(tag("Nn-Std"), tag("V-Fin"))),
                    0.5f);
    EXPECT_FLOAT_EQ(resource.transition.table.at(make_transition_id(tag("V-Fin"), tag("Nn-Std"))),
                    0.0625f);
    // The missing-entry probability is the float nearest 1e-13.
    uint32_t bits = 0;
    std::memcpy(&bits, &resource.transition.default_probability, sizeof bits);
    EXPECT_EQ(bits, 0x29E12E13u);
}

TEST_F(HmmLoad, ProbabilityTexts) {
    struct Case {
        const char* line;
        float expected;
    };
    const Case cases[] = {
        {"Nn-Std\t0.5", 0.5f},
        {"Nn-Std\t  0.5", 0.5f},
        {"Nn-Std\t0.5 trailing", 0.5f},
        {"Nn-Std\t0.5\r", 0.5f},
        {"Nn-Std\t5e-3", 0.005f},
        {"Nn-Std\t-0.5", -0.5f},
        {"Nn-Std\tnone", 0.0f},
        {"Nn-Std\t", 0.0f},
        {"Nn-Std\t.25", 0.25f},
        {"Nn-Std\t0.5\nNn-Std\t0.9", 0.5f}, // the first line of a key wins
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::unordered_map<uint32_t, float> table;
        const std::string text = c.line;
        core::hmm::detail::load_probalitity_table(table,
                                                  std::vector<char>(text.begin(), text.end()));
        ASSERT_EQ(table.size(), 1u);
        EXPECT_FLOAT_EQ(table.at(tag("Nn-Std")), c.expected);
    }
}

TEST_F(HmmLoad, FailuresNameTheirCause) {
    struct Case {
        const char* name;
        HmmRows rows;
        std::string message;
    };
    const Case cases[] = {
        {"no start row",
         {std::nullopt, good_rows.emission, good_rows.transition},
         "Cannot find start resource in hmm file."},
        {"empty start row",
         {"", good_rows.emission, good_rows.transition},
         "Cannot find start resource in hmm file."},
        {"no emission row",
         {good_rows.start, std::nullopt, good_rows.transition},
         "Cannot find emission resource in hmm file."},
        {"no transition row",
         {good_rows.start, good_rows.emission, std::nullopt},
         "Cannot find transmission resource in hmm file."},
        {"a line without tab",
         {"Nn-Std\t0.5\nV-Fin 0.5\n", good_rows.emission, good_rows.transition},
         "Invalid line 2 in hmm table: no tab after the key"},
        {"an empty line",
         {"Nn-Std\t0.5\n\nV-Fin\t0.5\n", good_rows.emission, good_rows.transition},
         "Invalid line 2 in hmm table: no tab after the key"},
        {"an emission line without tab",
         {good_rows.start, "run^^V-Fin 0.5", good_rows.transition},
         "Invalid line 1 in hmm table: no tab after the key"},
        {"a number beyond float",
         {"Nn-Std\t0.5\nV-Fin\t1e300\n", good_rows.emission, good_rows.transition},
         "Invalid line 2 in hmm table: number out of range"},
        {"a negative number beyond float",
         {good_rows.start, "run^^V-Fin\t-1e39", good_rows.transition},
         "Invalid line 1 in hmm table: number out of range"},
        {"a transition just beyond float",
         {good_rows.start, good_rows.emission, "Nn-Std V-Fin\t3.5e38\n"},
         "Invalid line 1 in hmm table: number out of range"},
        {"a transition without space",
         {good_rows.start, good_rows.emission, "Nn-Std\t0.5\n"},
         "Invalid line 1 in hmm table: no space between the two tags"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = store(c.rows, "case" + std::to_string(n++) + ".hmm");
        const std::string failure = load_failure(path);
        EXPECT_NE(failure.find(c.message), std::string::npos) << failure;
    }
}

TEST_F(HmmLoad, PathsThatAreNoStoreAreReported) {
    const auto missing = tree.root / "missing.hmm";
    EXPECT_NE(load_failure(missing.string()).find("Cannot open hmm file " + missing.string()),
              std::string::npos);
    // Reading never makes the file.
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_NE(load_failure(tree.folder("folder.hmm").string()), "no failure");
    EXPECT_NE(load_failure(tree.file("text.hmm", "not a store").string()), "no failure");
}

TEST_F(HmmLoad, TagsMissingFromThePosTableAreLeftOutAndLogged) {
    auto& log = fixture::runtime_log();
    log.clear();
    const std::string path = store({"Nn-Std\t0.25\nBogus\t0.5\n", good_rows.emission,
                                    "Bogus Nn-Std\t0.5\nNn-Std Other\t0.5\nNn-Std V-Fin\t0.5\n"});
    const Resource resource = core::hmm::load(path);
    // As id 0 they would have stood for every unknown tag at once.
    EXPECT_EQ(resource.start.count(0), 0u);
    EXPECT_EQ(resource.start.size(), 1u);
    EXPECT_EQ(resource.transition.table.size(), 1u);
    std::vector<std::string> warnings;
    for (const auto& [level, text] : log)
        if (level == dez::wlog::level_warning && text.find(path) != std::string::npos)
            warnings.push_back(text);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("start-hmm"), std::string::npos);
    EXPECT_NE(warnings[0].find("Bogus"), std::string::npos);
    EXPECT_NE(warnings[1].find("transmission-hmm"), std::string::npos);
    EXPECT_NE(warnings[1].find("Bogus, Other"), std::string::npos);
}

TEST(HmmTransitionId, PreviousTagInTheHighWord) {
    EXPECT_EQ(make_transition_id(0x10002, 0x8000003), 0x0001000208000003ull);
    EXPECT_EQ(make_transition_id(0, 0), 0u);
}

} // namespace
} // namespace dez::trelix
