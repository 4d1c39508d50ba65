#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/lid_lexicon.h"
#include "core-afst/word_lookup.h"
#include "engine/load_afst.h"
#include "tests/analysis/lid_fixture.h"

namespace dez::lid {
namespace {

using fixture::VoteArc;

// Both shapes of the same votes answer every word as WordLookup does.
TEST(LidLexicon, AnswersAsTheWordLookupInBothShapes) {
    const fixture::Votes votes = fixture::lexicon_file("small_lexicon.txt");
    const std::vector<std::string> words = {"und", "un",  "unde", "de",   "der", "die", "la", "le",
                                            "les", "z.b", "übÉr", "kurz", "xyz", "",    "d",  "ü"};
    struct {
        VoteArc shape;
        bool plain;
    } cases[] = {{VoteArc::empty_input, false}, {VoteArc::last_character, true}};
    for (const auto& c : cases) {
        dez::pipeline::fixture::TempTree tree;
        fixture::write_lid_fst(tree.root / "lid.fst", votes, c.shape);
        const auto lexicon = dez::trelix::load_afst((tree.root / "lid.fst").string());
        EXPECT_EQ(LidLexicon::plain_word_list(*lexicon), c.plain);
        LidLexicon direct(lexicon);
        dez::afst::WordLookup reference(lexicon, nullptr);
        std::vector<std::string> outputs = {"left over"};
        for (const std::string& word : words) {
            direct.up(word, c.plain, outputs);
            EXPECT_EQ(outputs, reference.up(word)) << word << " plain " << c.plain;
        }
        direct.up("la", c.plain, outputs);
        EXPECT_EQ(outputs, (std::vector<std::string>{"ES20", "FR20"}));
    }
}

} // namespace
} // namespace dez::lid
