#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fst/vector-fst.h>

#include "analysis/encoder_facade.h"
#include "analysis/lexicon_facade.h"
#include "core-afst/serialization.h"
#include "foundation/attribute_text.h"
#include "foundation/exception.h"
#include "tests/core-afst/container_fixture.h"
#include "tests/core-afst/lexicon_fixture.h"

namespace dez::trelix::core {
namespace {

namespace serialization = dez::afst::serialization;
using Strings = std::vector<std::string>;

class LexiconFacades : public afst_test::ContainerFixture {
protected:
    void store(const std::string& key, const std::string& attributes) {
        serialization::store_fsm(*lexicon, db, key, attributes);
    }

    std::shared_ptr<fst::StdVectorFst> lexicon =
        afst_test::build_lexicon({"new york:new_york[+Prop]", "new:new[+Adj]"});
};

TEST_F(LexiconFacades, FromTheStoreWithItsInputStream) {
    struct Case {
        std::string attributes;
        dez::text_stream_type input;
    };
    const Case cases[] = {
        {"", dez::literal},
        {"kind=lexicon", dez::literal},
        {"kind=lexicon;input=stem", dez::stem},
        {"input=normalized_literal;input=stem", dez::normalized_literal},
    };
    for (const Case& c : cases) {
        store("lexicon", c.attributes);
        LexiconFacade facade(db, "lexicon");
        EXPECT_EQ(facade.input, c.input) << c.attributes;
        EXPECT_EQ(facade.attributes, dez::string2attributes(c.attributes));
        EXPECT_EQ(facade.up("new"), Strings{"new+Adj"});
        serialization::delete_binary_data(db.get(), "lexicon");
    }
}

TEST_F(LexiconFacades, RangeLookupFromTheStart) {
    LexiconFacade facade(lexicon, "ignored", "");
    const std::string text = "new york city";
    auto matches = facade.up(text.data(), text.data() + text.size());
    std::sort(matches.begin(), matches.end());
    EXPECT_EQ(matches,
              (std::vector<std::pair<int, std::string>>{{3, "new+Adj"}, {8, "new_york+Prop"}}));
    EXPECT_TRUE(facade.up("york").empty());
}

// Threads share one facade and take no lock: each walk keeps to its own
// scratch, so answers never mix.
TEST_F(LexiconFacades, SeveralThreadsLookUpAtOnce) {
    std::vector<std::string> entries;
    std::vector<std::pair<std::string, Strings>> expected;
    for (int k = 0; k < 60; ++k) {
        const std::string word = "word" + std::to_string(k) + std::string(k % 7, 'x');
        entries.push_back(word + ":lemma" + std::to_string(k) + "[+N]");
        Strings outputs{"lemma" + std::to_string(k) + "+N"};
        if (k % 3 == 0) {
            entries.push_back(word + ":" + word + "[+V]");
            outputs.push_back(word + "+V");
        }
        std::sort(outputs.begin(), outputs.end());
        expected.emplace_back(word, outputs);
    }
    expected.emplace_back("word", Strings{});
    expected.emplace_back("word1xx", Strings{});
    const LexiconFacade facade(afst_test::build_lexicon(entries), "shared", "");

    constexpr int threads = 8;
    std::vector<int> wrong(threads, 0);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int round = 0; round < 200; ++round)
                for (size_t k = 0; k < expected.size(); ++k) {
                    const auto& [word, outputs] = expected[(k + t * 7) % expected.size()];
                    wrong[t] += facade.up(word) != outputs;
                }
        });
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(wrong, std::vector<int>(threads, 0));
}

TEST_F(LexiconFacades, Failures) {
    EXPECT_THROW(LexiconFacade(lexicon, "x", "input=sideways"), std::out_of_range);
    store("broken", "");
    serialization::store_binary_data(db.get(), "garbage", "", "not a transducer", 16);
    for (const char* key : {"garbage", "absent"}) {
        try {
            LexiconFacade facade(db, key);
            ADD_FAILURE() << key;
        } catch (const dez::Exception& e) {
            EXPECT_STREQ(e.what(), "Could not read data from stream.") << key;
        }
    }
}

TEST_F(LexiconFacades, Encoder) {
    store("encoder", "");
    EXPECT_NE(EncoderFacade(db, "encoder").fst, nullptr);
    EXPECT_EQ(EncoderFacade(db, "absent").fst, nullptr);
}

} // namespace
} // namespace dez::trelix::core
