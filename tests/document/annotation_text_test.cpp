#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <utf8.h>

#include "document/annotation_collection.h"
#include "document/annotation_text.h"
#include "document/morph_data.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::add_concept;
using fixture::make_sentence;
using fixture::token_at;

// Owns the sentence of a test.
struct Doc {
    explicit Doc(const std::vector<fixture::TokenDef>& tokens) : sentence(make_sentence(tokens)) {
        list.push_back(sentence);
    }
    Token* token(size_t i) { return token_at(*sentence, i); }
    Concept* concept_over(size_t first, size_t last, const std::string& uri = "C") {
        return add_concept(*sentence, token(first), token(last), uri);
    }

    AnnotationCollection list;
    Sentence* sentence;
};

void add_reading(Token* token, const std::string& pos, const std::string& stem) {
    token->readings.emplace_back(pos, stem, 0.0);
}

// Leaves the concept without end marker, as if none had been registered.
void drop_end_marker(Concept* concept_) {
    auto& listed = concept_->end_annotation->concepts;
    listed.erase(std::find(listed.begin(), listed.end(), concept_));
    concept_->end_annotation = nullptr;
}

TEST(AnnotationText, LiteralAndRealSpacing) {
    struct Case {
        std::vector<fixture::TokenDef> tokens;
        std::string literal;
        std::string real;
    };
    for (const Case& c : {
             Case{{{"New", 0, 3}, {"York", 4, 8}}, "New York", "New York"},
             Case{{{"New", 0, 3}, {"York", 3, 7}}, "New York", "NewYork"},
             // An overlap also gives one space.
             Case{{{"ab", 0, 2}, {"cd", 1, 3}}, "ab cd", "ab cd"},
             Case{{{"well", 0, 4}, {"-", 5, 6}, {"known", 7, 12}}, "well - known", "well known"},
             Case{{{"-x", 0, 2}, {"y", 2, 3}}, "-x y", "y"},
             Case{{{" ", 0, 1}, {"a", 1, 2}, {"\n", 2, 3}}, "a", "a"},
             Case{{{"\r\tb", 0, 3}}, "b", "b"},
             Case{{{"\xC2\xA0"
                    "b",
                    0, 2}},
                  "\xC2\xA0"
                  "b",
                  "\xC2\xA0"
                  "b"},
             Case{{}, "", ""},
         }) {
        Doc doc(c.tokens);
        Concept* head = static_cast<Concept*>(doc.sentence->annotations.head);
        EXPECT_EQ(get_annotation_string(head, head->end_annotation), c.literal);
        EXPECT_EQ(get_annotation_real_string(head, head->end_annotation), c.real);
        // A range starting at the sentence walks into its list.
        EXPECT_EQ(get_annotation_string(doc.sentence, nullptr), c.literal);
    }
}

TEST(AnnotationText, RealTextUsesStemsOfNameParts) {
    Doc doc({{"Peters", 0, 6}, {"house", 7, 12}});
    Token* name = doc.token(0);
    add_reading(name, "Prop-Std", "Peter");
    name->properties.insert("gen");
    add_reading(doc.token(1), "Nn-Sg", "house-stem");
    Concept* c = doc.concept_over(0, 1);
    EXPECT_EQ(get_annotation_real_string(c, c->end_annotation), "Peter house");

    name->properties.insert("guess");
    EXPECT_EQ(get_annotation_real_string(c, c->end_annotation), "Peters house");

    // "Prop-Gen" needs no property.
    Doc gen({{"Annas", 0, 5}});
    add_reading(gen.token(0), "Nn-Sg", "annas");
    add_reading(gen.token(0), "Prop-Gen", "Anna");
    Concept* g = gen.concept_over(0, 0);
    EXPECT_EQ(get_annotation_real_string(g, g->end_annotation), "annas");

    // A proper name without gen, giv or fam keeps its literal.
    Doc plain({{"Paris", 0, 5}});
    add_reading(plain.token(0), "Prop-Std", "paris-stem");
    Concept* p = plain.concept_over(0, 0);
    EXPECT_EQ(get_annotation_real_string(p, p->end_annotation), "Paris");
}

TEST(AnnotationText, CanonicalForms) {
    Doc doc({{"JOHN", 0, 4}, {"smith", 5, 10}});
    Concept* c = doc.concept_over(0, 1, "Person");
    EXPECT_EQ(get_canonical(c), "JOHN smith");
    EXPECT_EQ(get_person_canonical(c), "John Smith");
    c->add("canonical", "");
    EXPECT_EQ(get_canonical(c), "JOHN smith");
    c->remove_attributes("canonical");
    c->add("canonical", "J. Smith");
    EXPECT_EQ(get_canonical(c), "J. Smith");
    EXPECT_EQ(get_person_canonical(c), "J. Smith");
}

TEST(AnnotationText, PosSequence) {
    Doc doc({{"Paris", 0, 5}, {"cats", 6, 10}, {"run", 11, 14}, {"x", 15, 16}});
    add_reading(doc.token(0), "Prop-Std", "Paris");
    add_reading(doc.token(1), "Nn-Pl", "cat");
    add_reading(doc.token(2), "V", "run");
    EXPECT_EQ(get_pos_sequence(doc.concept_over(0, 1)), "PropNn");
    EXPECT_EQ(get_pos_sequence(doc.concept_over(2, 3)), "V");
    EXPECT_EQ(get_pos_sequence(doc.concept_over(3, 3)), "");
}

TEST(AnnotationText, ConceptWithoutEndMarkerStaysInsideItsSpan) {
    Doc doc({{"a", 0, 1}, {"b", 2, 3}, {"c", 4, 5}, {"d", 6, 7}});
    add_reading(doc.token(1), "Nn-Sg", "b");
    add_reading(doc.token(2), "V", "c");
    add_reading(doc.token(3), "Adj", "d");
    Concept* c = doc.concept_over(1, 2);
    drop_end_marker(c);
    EXPECT_EQ(concept_range_end(c), RawPtrIterator(doc.token(2)->next));
    EXPECT_EQ(get_canonical(c), "b c");
    EXPECT_EQ(get_person_canonical(c), "B C");
    EXPECT_EQ(get_pos_sequence(c), "NnV");
    Concept* last = doc.concept_over(3, 3);
    drop_end_marker(last);
    EXPECT_EQ(get_canonical(last), "d");
}

TEST(AnnotationText, CleanupInput) {
    EXPECT_EQ(cleanup_input("\xE2\x80\x9Cword\xE2\x80\x9D"), "\"word\"");
    EXPECT_EQ(cleanup_input("it\xE2\x80\x99s"), "it\xE2\x80\x99s");
    EXPECT_EQ(cleanup_input("\xC5\x81\xC3\xB3"
                            "d\xC5\xBA"),
              "l\xC3\xB3"
              "d\xC5\xBA");
    EXPECT_EQ(dez_input_converter.size(), 14u);
    EXPECT_THROW(cleanup_input("a\xFF"), utf8::invalid_utf8);
    EXPECT_THROW(cleanup_input("a\xC3"), utf8::not_enough_room);
}

} // namespace
} // namespace dez::trelix
