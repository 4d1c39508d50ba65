#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "document/annotation_collection.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/morph_data.h"
#include "document/sentence.h"
#include "document/sentence_info.h"
#include "document/token.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::add_concept;
using fixture::make_sentence;
using fixture::token_at;

TEST(AnnotationKinds, EachClassCarriesItsNumber) {
    Sentence sentence(0, 10);
    Concept concept_(1, 2, "Person");
    Token token(3, 4, "x");
    EndAnnotation marker(5);
    EndOfStream eos(6);
    struct Case {
        const Annotation* annotation;
        int32_t kind;
        uint32_t begin, end;
    };
    for (const Case& c : {Case{&sentence, 1, 0, 10}, Case{&concept_, 2, 1, 2},
                          Case{&token, 3, 3, 4}, Case{&marker, 4, 5, 5}, Case{&eos, 5, 6, 6}}) {
        EXPECT_EQ(c.annotation->type, c.kind);
        EXPECT_EQ(c.annotation->begin, c.begin);
        EXPECT_EQ(c.annotation->end, c.end);
    }
}

TEST(AnnotationKinds, FreshStateOfEachClass) {
    Sentence sentence(0, 1);
    EXPECT_TRUE(sentence.changed);
    EXPECT_EQ(sentence.sentence_flags, 0u);
    EXPECT_TRUE(sentence.annotations.empty());
    Token token(0, 1, "a");
    EXPECT_EQ(token.token_flags, 0u);
    Concept concept_(0, 1, "A");
    EXPECT_TRUE(concept_.flags.none());
    EXPECT_FALSE(concept_.parents);
    EXPECT_EQ(concept_.end_annotation, nullptr);
    EXPECT_EQ(concept_.encoded_id, 0u);
    EXPECT_FALSE(concept_.instance_key);
    EXPECT_FALSE(concept_.instance_index);
}

TEST(AnnotationKinds, ConceptFlagPositions) {
    EXPECT_EQ(Concept::deleted, 0u);
    EXPECT_EQ(Concept::shorted_match, 1u);
    EXPECT_EQ(Concept::import, 2u);
    EXPECT_EQ(Concept::filtered, 3u);
    EXPECT_EQ(Concept::to_resolve, 4u);
    EXPECT_EQ(Concept::to_delete, 5u);
    Concept c(0, 1, "A");
    EXPECT_THROW(c.flags.set(6), std::out_of_range);
}

TEST(EncodedIds, BaseKindsStoreNothing) {
    Sentence sentence(0, 1);
    EndAnnotation marker(1);
    EndOfStream eos(1);
    for (Annotation* a : std::vector<Annotation*>{&sentence, &marker, &eos}) {
        a->push(7);
        EXPECT_FALSE(a->has(7));
        EXPECT_FALSE(a->requires_match());
        EXPECT_FALSE(a->requires_match(true));
        EXPECT_FALSE(a->requires_match());
    }
}

TEST(EncodedIds, TokenKeepsAscendingOrderAndDuplicates) {
    Token token(0, 1, "a");
    for (uint32_t id : {30u, 10u, 20u, 10u, 0x90000000u})
        token.push(id);
    EXPECT_EQ(token.encoded_ids, (std::vector<uint32_t>{10, 10, 20, 30, 0x90000000u}));
    EXPECT_TRUE(token.has(10));
    EXPECT_TRUE(token.has(0x90000000u));
    EXPECT_FALSE(token.has(15));
}

TEST(EncodedIds, ConceptReplacesIdAndHidesItWhenDeleted) {
    Concept c(0, 1, "A");
    c.push(5);
    c.push(8);
    EXPECT_EQ(c.encoded_id, 8u);
    EXPECT_TRUE(c.has(8));
    EXPECT_FALSE(c.has(5));
    c.flags.set(Concept::deleted);
    EXPECT_FALSE(c.has(8));
}

std::vector<Concept*> concepts_of(const EndAnnotation& marker) {
    std::vector<Concept*> out;
    for (Annotation* a : marker.concepts)
        out.push_back(static_cast<Concept*>(a));
    return out;
}

TEST(EndMarker, OrdersByBeginGreatestFirstNewcomerFirstAmongEquals) {
    Concept first5(5, 9, "A"), two(2, 9, "B"), second5(5, 9, "C");
    EndAnnotation marker(9);
    marker.add(&first5);
    marker.add(&two);
    marker.add(&second5);
    EXPECT_EQ(concepts_of(marker), (std::vector<Concept*>{&second5, &first5, &two}));
    marker.concepts.clear(); // the concepts here are not registered through end_annotation
}

TEST(EndMarker, ComparesOffsetsAsUnsigned) {
    // Above 2^31 a signed comparison would sort these below the small one.
    Concept low(3, 0xF0000000u, "low"), high(0x80000001u, 0xF0000000u, "high"),
        higher(0xE0000000u, 0xF0000000u, "h2");
    EndAnnotation marker(0xF0000000u);
    marker.add(&low);
    marker.add(&high);
    marker.add(&higher);
    EXPECT_EQ(concepts_of(marker), (std::vector<Concept*>{&higher, &high, &low}));
    marker.concepts.clear();
}

TEST(Ownership, SentenceDestroysItsWholeList) {
    // Run under ASan: every annotation of the list must be freed exactly once.
    Sentence* sentence = make_sentence("New York is big");
    add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "City");
    sentence->encoded_ids.insert(0x20000001);
    EXPECT_EQ(fixture::kinds(*sentence), "2,2,3,3,4,3,3,4,5");
    delete sentence;
}

// Annotations of kind Base that count how many of them are alive.
int live_annotations = 0;
template <typename Base> class Counted : public Base {
public:
    template <typename... Args>
    explicit Counted(Args&&... args) : Base(std::forward<Args>(args)...) {
        ++live_annotations;
    }
    ~Counted() override { --live_annotations; }
};

TEST(Ownership, CollectionDestroysItsSentences) {
    const int before = live_annotations;
    auto collection = std::make_shared<AnnotationCollection>();
    for (const std::string text : {"one two", "three"}) {
        auto* sentence = new Counted<Sentence>(0, static_cast<uint32_t>(text.size()));
        for (const auto& word : fixture::words_of(text))
            sentence->annotations.push_back(new Counted<Token>(word.begin, word.end, word.literal));
        collection->push_back(sentence);
    }
    EXPECT_EQ(live_annotations - before, 5); // two sentences, three tokens
    collection.reset();
    EXPECT_EQ(live_annotations, before);
}

TEST(Ownership, SentenceInfoPointsAtTheSentenceList) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b"));
    SentenceInfo info(sentence.get());
    EXPECT_EQ(info.sentence, sentence.get());
    EXPECT_EQ(info.annotations, &sentence->annotations);
}

// Destroying a concept must leave no pointer to it in its end marker or in the
// parents of other concepts: later walks (printing, inheritance, purging) read
// those lists.
TEST(Ownership, DestroyedConceptLeavesNoDanglingPointers) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b c"));
    Concept* outer =
        add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 2), "Outer");
    Concept* inner =
        add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "Inner");
    Concept* twin = add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "Twin");
    add_parent(inner, outer);
    add_parent(twin, outer);
    add_parent(twin, inner);
    EndAnnotation* inner_end = inner->end_annotation;
    ASSERT_EQ(inner_end->concepts.size(), 2u);

    // The parent goes first: both children lose it.
    sentence->annotations.unlink(outer);
    delete outer;
    EXPECT_TRUE(inner->parents->empty());
    ASSERT_EQ(twin->parents->size(), 1u);
    EXPECT_EQ((*twin->parents)[0], inner);

    // A child goes: its end marker and its parents forget it.
    sentence->annotations.unlink(inner);
    delete inner;
    EXPECT_TRUE(twin->parents->empty());
    EXPECT_EQ(concepts_of(*inner_end), (std::vector<Concept*>{twin}));
    // Destroying the sentence afterwards touches only live annotations.
}

// The parent must not reach a destroyed child when it goes itself. The child
// lives in storage of the test; a stranger built in its place names the
// parent without the parent knowing, so a write through a stale back link
// would show in the stranger's list.
TEST(Ownership, DestroyedChildIsForgottenByItsParent) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b"));
    Concept* outer =
        add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "Outer");
    alignas(Concept) unsigned char storage[sizeof(Concept)];
    Concept* inner = new (storage) Concept(0, 1, "Inner");
    add_parent(inner, outer);
    EXPECT_TRUE(has_parent(inner, outer));
    inner->~Concept();

    Concept* stranger = new (storage) Concept(0, 1, "Stranger");
    stranger->parents.emplace(std::vector<Concept*>{outer});
    sentence->annotations.unlink(outer);
    delete outer;
    EXPECT_EQ(*stranger->parents, std::vector<Concept*>{outer});
    stranger->parents.reset(); // its parent is gone
    stranger->~Concept();
}

TEST(Ownership, DestroyedEndMarkerIsForgottenByItsConcepts) {
    std::unique_ptr<Sentence> sentence(make_sentence("a b"));
    Concept* c = add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 0), "A");
    EndAnnotation* marker = c->end_annotation;
    sentence->annotations.unlink(marker);
    delete marker;
    EXPECT_EQ(c->end_annotation, nullptr);
}

TEST(Parents, AddHasRemove) {
    Concept child(0, 1, "C"), parent(0, 2, "P"), other(0, 3, "O");
    add_parent(&child, nullptr);
    add_parent(&child, &child);
    EXPECT_FALSE(child.parents); // nothing to add yet
    EXPECT_FALSE(has_parent(&child, &parent));
    add_parent(&child, &parent);
    add_parent(&child, &parent);
    add_parent(&child, &other);
    EXPECT_EQ(*child.parents, (std::vector<Concept*>{&parent, &other}));
    EXPECT_TRUE(has_parent(&child, &parent));
    EXPECT_FALSE(has_parent(&child, nullptr));
    remove_parent(&child, &parent);
    EXPECT_EQ(*child.parents, (std::vector<Concept*>{&other}));
    remove_parent(&child, &parent); // absent: nothing happens
    EXPECT_EQ(child.parents->size(), 1u);
}

TEST(Readings, ConstructorAndSetPosKeepThePosIdInStep) {
    MorphData reading("Nn", "house", 0.5);
    EXPECT_EQ(reading.pos_id, 0x200001u);
    EXPECT_EQ(reading.stem, "house");
    EXPECT_DOUBLE_EQ(reading.weight, 0.5);
    EXPECT_TRUE(reading.tags.empty());
    EXPECT_TRUE(reading.components.empty());
    reading.set_pos("Adj");
    EXPECT_EQ(reading.pos, "Adj");
    EXPECT_EQ(reading.pos_id, 0x10001u);
    reading.set_pos("no-such-tag");
    EXPECT_EQ(reading.pos_id, 0u);
}

TEST(Readings, CopyIsDeep) {
    MorphData word("Nn", "doghouse", 1.0);
    word.tags = {"+Sg"};
    word.components.emplace_back("Nn", "dog", 1.0);
    word.components.back().components.emplace_back("Nn", "inner", 1.0);
    MorphData copy = word;
    copy.components.front().stem = "cat";
    copy.components.front().components.front().stem = "changed";
    EXPECT_EQ(word.components.front().stem, "dog");
    EXPECT_EQ(word.components.front().components.front().stem, "inner");
    EXPECT_EQ(copy.tags, word.tags);
}

} // namespace
} // namespace dez::trelix
