#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/concept_conditions.h"
#include "matcher/memento_store.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/document/log_capture.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::add_concept;
using fixture::make_sentence;
using fixture::token_at;
using fixture::values;

// "the house" read as Det and Nn-Sg.
struct TwoTokens {
    TwoTokens() : sentence(make_sentence("the house")) {
        token_at(*sentence, 0)->readings.emplace_back("Det", "the", 1.0);
        token_at(*sentence, 1)->readings.emplace_back("Nn-Sg", "house", 1.0);
        concept_ = add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "NP");
    }
    std::unique_ptr<Sentence> sentence;
    Concept* concept_;
};

TEST(PartOfSpeechFilter, ComparesTheWordClassSequence) {
    struct Case {
        std::vector<std::string> pos;
        bool passes;
    };
    for (const Case& c : {Case{{"/Det.*Nn/"}, true}, Case{{"Adj"}, false},
                          Case{{"Det Nn"}, true}, Case{{"DetNn"}, true},
                          Case{{"DetNn-Sg"}, false}, Case{{"Adj", "DetNn"}, true},
                          Case{{"/Det/"}, false}, Case{{"/(?:Det|Adj)Nn/"}, true},
                          Case{{"/[DA]etNn/"}, true}}) {
        TwoTokens t;
        for (const auto& value : c.pos)
            t.concept_->add("pos", value, store_own);
        EXPECT_EQ(apply_pos_filter(t.sentence->annotations, t.concept_), c.passes) << c.pos[0];
        EXPECT_EQ(t.concept_->flags.test(Concept::deleted), !c.passes) << c.pos[0];
        EXPECT_FALSE(t.concept_->has_attribute("pos")) << c.pos[0];
    }
}

TEST(PartOfSpeechFilter, AConceptWithoutPosPassesUntouched) {
    TwoTokens t;
    t.concept_->add("k", "v");
    EXPECT_TRUE(apply_pos_filter(t.sentence->annotations, t.concept_));
    EXPECT_FALSE(t.concept_->flags.test(Concept::deleted));
    EXPECT_EQ(t.concept_->get_attribute("k"), "v");
}

TEST(PartOfSpeechFilter, ASharedPosValueIsNeverTested) {
    TwoTokens t;
    t.concept_->attributes.shared = std::make_shared<Attributes>();
    t.concept_->add("pos", "DetNn"); // goes to the shared part
    EXPECT_FALSE(apply_pos_filter(t.sentence->annotations, t.concept_));
    EXPECT_TRUE(t.concept_->flags.test(Concept::deleted));
    EXPECT_EQ(values(*t.concept_->attributes.shared, "pos"), std::vector<std::string>{"DetNn"});
}

TEST(PartOfSpeechFilter, ABadExpressionIsReportedAndDeletesNothing) {
    auto& log = fixture::runtime_log();
    log.clear();
    TwoTokens t;
    t.concept_->add("pos", "/(Det/", store_own);
    EXPECT_TRUE(apply_pos_filter(t.sentence->annotations, t.concept_));
    EXPECT_FALSE(t.concept_->flags.test(Concept::deleted));
    EXPECT_FALSE(t.concept_->has_attribute("pos"));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, dez::wlog::level_error);
    EXPECT_NE(log[0].second.find("/(Det/"), std::string::npos);
}

struct ConditionCase {
    std::vector<std::string> conditions;
    bool with_store;
    bool deleted;
};

TEST(Conditions, MementosDecideWhetherTheConceptStays) {
    // Mementos: k=a from offset 0, k=b from offset 4; the concept begins at 5.
    const std::vector<ConditionCase> cases = {
        {{"k=b"}, true, false},
        {{"k=a"}, true, true},
        {{"k=b", "m=x"}, true, true},
        {{"m=x", "k=b"}, true, true},
        {{"k=b", "k=b=c"}, true, false},
        {{"k=b"}, false, true},
        {{"k"}, true, true},
        {{""}, true, true},
        {{"=b"}, true, true},
        {{}, false, false},
    };
    for (const ConditionCase& c : cases) {
        fixture::TestAnalyzer analyzer;
        auto document = fixture::make_blackboard(analyzer);
        if (c.with_store) {
            document->memento_store = std::make_shared<MementoStore>();
            document->memento_store->add("k", "a", 0);
            document->memento_store->add("k", "b", 4);
        }
        std::unique_ptr<Sentence> sentence(make_sentence("a bb ccc"));
        Concept* concept_ =
            add_concept(*sentence, token_at(*sentence, 2), token_at(*sentence, 2), "C");
        for (const auto& condition : c.conditions)
            concept_->add("_condition", condition);
        apply_conditions(*document, concept_);
        const std::string name = c.conditions.empty() ? "none" : c.conditions[0];
        EXPECT_EQ(concept_->flags.test(Concept::deleted), c.deleted) << name << c.with_store;
        EXPECT_EQ(values(concept_->attributes.attributes, "_condition"), c.conditions) << name;
    }
}

// "a b c d e": Outer Person over a-d, Person over b, Person over c, Other
// over d.
struct Nested {
    Nested() : sentence(make_sentence("a b c d e")) {
        outer = add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 3), "Person");
        first = add_concept(*sentence, token_at(*sentence, 1), token_at(*sentence, 1), "Person");
        second = add_concept(*sentence, token_at(*sentence, 2), token_at(*sentence, 2), "Person");
        other = add_concept(*sentence, token_at(*sentence, 3), token_at(*sentence, 3), "Other");
        first->add("gender", "f");
        first->add("name", "Ann");
        first->add("_rule", "r1");
        second->add("gender", "m");
        second->add("gender", "x");
        second->add("_rule", "r2");
        other->add("gender", "n");
    }
    std::unique_ptr<Sentence> sentence;
    Concept* outer;
    Concept* first;
    Concept* second;
    Concept* other;
};

TEST(Inheritance, TrueTakesEachKeyFromTheNestedConceptNearestTheEnd) {
    Nested n;
    n.outer->add("inherit", "true", store_own);
    apply_inheritance(n.sentence->annotations, n.outer);
    EXPECT_EQ(values(n.outer->attributes.attributes, "gender"), std::vector<std::string>{"m"});
    EXPECT_EQ(n.outer->get_attribute("name"), "Ann");
    EXPECT_FALSE(n.outer->has_attribute("_rule"));
    EXPECT_FALSE(n.outer->has_attribute("inherit"));
}

TEST(Inheritance, TrueSkipsDeletedConceptsAndReadsSharedParts) {
    Nested n;
    n.second->flags.set(Concept::deleted);
    n.first->attributes.shared = std::make_shared<Attributes>();
    n.first->attributes.shared->add("city", "Rome");
    n.outer->add("inherit", "true", store_own);
    apply_inheritance(n.sentence->annotations, n.outer);
    EXPECT_EQ(values(n.outer->attributes.attributes, "gender"), std::vector<std::string>{"f"});
    EXPECT_EQ(n.outer->get_attribute("city"), "Rome");
}

TEST(Inheritance, NamedReferencesPickTheNthConcept) {
    struct Case {
        const char* reference;
        std::vector<std::string> gender;
        std::string name;
    };
    for (const Case& c : {Case{"Person[1]", {"f"}, "Ann"}, Case{"Person[2].gender", {"m", "x"}, ""},
                          Case{"Person[1].name", {}, "Ann"}, Case{"Person[3]", {}, ""},
                          Case{"Other[1]", {"n"}, ""}, Case{"Person[2].missing", {}, ""}}) {
        Nested n;
        n.outer->uri = "Wrapper"; // not counted
        Concept* group =
            add_concept(*n.sentence, token_at(*n.sentence, 0), token_at(*n.sentence, 3), "Group");
        group->add("inherit", c.reference, store_own);
        apply_inheritance(n.sentence->annotations, group);
        EXPECT_EQ(values(group->attributes.attributes, "gender"), c.gender) << c.reference;
        EXPECT_EQ(group->get_attribute("name"), c.name) << c.reference;
        EXPECT_FALSE(group->has_attribute("_rule")) << c.reference;
        EXPECT_FALSE(group->has_attribute("inherit")) << c.reference;
    }
}

TEST(Inheritance, NamedReferenceCountsFromTheRunOfEqualSpans) {
    Nested n;
    // A Person with the group's span standing in front of it counts first.
    Concept* group =
        add_concept(*n.sentence, token_at(*n.sentence, 0), token_at(*n.sentence, 3), "Group");
    EXPECT_EQ(align_begin_concept(group), n.outer);
    EXPECT_EQ(align_begin_concept(n.first), n.first);
    n.outer->add("gender", "o");
    group->add("inherit", "Person[1].gender", store_own);
    apply_inheritance(n.sentence->annotations, group);
    EXPECT_EQ(values(group->attributes.attributes, "gender"), std::vector<std::string>{"o"});
}

TEST(Inheritance, AnUnreadableReferenceIsLoggedAndInheritsNothing) {
    auto& log = fixture::runtime_log();
    for (const char* reference : {"Person[0]", "Person", "Person[12]", "Person[1].a.b"}) {
        log.clear();
        Nested n;
        n.outer->add("inherit", reference, store_own);
        apply_inheritance(n.sentence->annotations, n.outer);
        EXPECT_FALSE(n.outer->has_attribute("gender")) << reference;
        EXPECT_FALSE(n.outer->has_attribute("inherit")) << reference;
        ASSERT_EQ(log.size(), 1u) << reference;
        EXPECT_EQ(log[0].first, dez::wlog::level_debug);
        EXPECT_EQ(log[0].second, "Could not parse inherit attribute, check your rules");
    }
}

TEST(Inheritance, AnaphoraConceptsKeepTheirInheritPair) {
    Nested n;
    Concept* anaphora = add_concept(*n.sentence, token_at(*n.sentence, 0),
                                    token_at(*n.sentence, 3), "tlx::anaphora");
    anaphora->add("inherit", "true", store_own);
    apply_inheritance(n.sentence->annotations, anaphora);
    EXPECT_EQ(anaphora->get_attribute("inherit"), "true");
    EXPECT_FALSE(anaphora->has_attribute("gender"));
}

TEST(Inheritance, AConceptWithoutEndMarkerInheritsNothing) {
    Nested n;
    auto* loose = new Concept(0, 7, "Person");
    n.sentence->annotations.insert(RawPtrIterator(n.outer), loose);
    loose->add("inherit", "true", store_own);
    loose->add("inherit", "Person[1]", store_own);
    apply_inheritance(n.sentence->annotations, loose);
    EXPECT_FALSE(loose->has_attribute("gender"));
    EXPECT_FALSE(loose->has_attribute("inherit"));
}

} // namespace
} // namespace dez::trelix
