#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "domain/convert_attributes.h"
#include "domain/purge_deleted_concepts.h"
#include "domain/remove_intermediate_concepts.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

using fixture::add_concept;
using fixture::token_at;

// The uris of the concepts of the sentence, in list order.
std::vector<std::string> concepts_of(const Sentence& sentence) {
    std::vector<std::string> out;
    for (const Annotation* a = sentence.annotations.head; a; a = a->next)
        if (a->type == annotation_concept)
            out.push_back(static_cast<const Concept*>(a)->uri);
    return out;
}

TEST(ConceptPurge, ToDeleteConceptsGoAndDeletedParentsAreForgotten) {
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    Sentence* s = fixture::add_sentence(*document, "a b c");
    Concept* gone = add_concept(*s, token_at(*s, 0), token_at(*s, 2), "Gone");
    Concept* dead = add_concept(*s, token_at(*s, 0), token_at(*s, 1), "Dead");
    Concept* child = add_concept(*s, token_at(*s, 1), token_at(*s, 1), "Child");
    Concept* alive = add_concept(*s, token_at(*s, 2), token_at(*s, 2), "Alive");
    add_parent(child, gone);
    add_parent(child, dead);
    add_parent(child, alive);
    gone->flags.set(Concept::to_delete);
    dead->flags.set(Concept::deleted);

    purge_deleted_concepts(*document);
    EXPECT_EQ(concepts_of(*s), (std::vector<std::string>{"Sentence", "Dead", "Child", "Alive"}));
    ASSERT_TRUE(child->parents);
    EXPECT_EQ(*child->parents, std::vector<Concept*>{alive});
}

TEST(ConceptPurge, IntermediateConceptsLeaveParentListsAndEndMarkers) {
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    Sentence* s = fixture::add_sentence(*document, "a b c");
    Concept* helper = add_concept(*s, token_at(*s, 0), token_at(*s, 0), "$Helper");
    Concept* inside = add_concept(*s, token_at(*s, 1), token_at(*s, 1), "Inside");
    Concept* kept = add_concept(*s, token_at(*s, 0), token_at(*s, 0), "Kept");
    add_parent(inside, helper);
    add_parent(kept, helper);
    EndAnnotation* shared = helper->end_annotation;

    remove_intermediate_concepts(*document);
    EXPECT_TRUE(helper->flags.test(Concept::to_delete));
    EXPECT_FALSE(kept->flags.test(Concept::to_delete));
    // Kept lies inside the helper's span; Inside comes after its end marker
    // and loses the helper only to the purge.
    EXPECT_TRUE(kept->parents && kept->parents->empty());
    EXPECT_TRUE(has_parent(inside, helper));
    EXPECT_EQ(helper->end_annotation, nullptr);
    ASSERT_EQ(shared->concepts.size(), 1u); // Kept still ends there
    EXPECT_EQ(shared->concepts[0], kept);

    purge_deleted_concepts(*document);
    EXPECT_EQ(concepts_of(*s), (std::vector<std::string>{"Sentence", "Kept", "Inside"}));
    EXPECT_TRUE(inside->parents && inside->parents->empty());
    EXPECT_EQ(fixture::kinds(*s), "2,2,3,4,2,3,4,3,4,5");
}

TEST(ConceptPurge, AnEndMarkerLeftEmptyIsRemoved) {
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    Sentence* s = fixture::add_sentence(*document, "a b");
    add_concept(*s, token_at(*s, 0), token_at(*s, 0), "$Only");
    EXPECT_EQ(fixture::kinds(*s), "2,2,3,4,3,4,5");
    remove_intermediate_concepts(*document);
    EXPECT_EQ(fixture::kinds(*s), "2,2,3,3,4,5");
    purge_deleted_concepts(*document);
    EXPECT_EQ(fixture::kinds(*s), "2,3,3,4,5");
}

TEST(ConvertAttributes, PairsOfTextsInListOrder) {
    Attributes attributes;
    attributes.emplace_back("b", std::string("2"));
    attributes.emplace_back("a", AttributeFormatValue{"{x}", "resolved"});
    attributes.emplace_back("c", 5);
    EXPECT_EQ(convert_attributes(attributes),
              (std::vector<std::pair<std::string, std::string>>{
                  {"b", "2"}, {"a", "resolved"}, {"c", ""}}));
}

} // namespace
} // namespace dez::trelix
