#include <gtest/gtest.h>

#include <pthread.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/concept_insertion.h"
#include "document/end_of_stream.h"
#include "tests/document/insertion_fixture.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::add_concept;
using fixture::make_sentence;
using fixture::token_at;

using Range = std::pair<Annotation*, Annotation*>;

// "a b c": V and U over a-b in front of a (V first), W over c.
struct ConceptRun {
    ConceptRun() : sentence(make_sentence("a b c")) {
        u = add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "U");
        v = new Concept(0, 3, "V");
        sentence->annotations.insert(RawPtrIterator(u), v);
        u->end_annotation->add(v);
        v->end_annotation = u->end_annotation;
        w = add_concept(*sentence, token_at(*sentence, 2), token_at(*sentence, 2), "W");
    }
    AnnotationCollection& list() { return sentence->annotations; }
    std::unique_ptr<Sentence> sentence;
    Concept* u;
    Concept* v;
    Concept* w;
};

TEST(InsertionSteps, FindRangeKeepsTheSentenceConceptOut) {
    ConceptRun r;
    Token* a = token_at(*r.sentence, 0);
    EXPECT_EQ(find_range(a, r.list()), Range(r.v, a));
    EXPECT_EQ(find_range(r.u, r.list()), Range(r.v, a));
    Token* c = token_at(*r.sentence, 2);
    EXPECT_EQ(find_range(c, r.list()), Range(r.w, c));
    EXPECT_EQ(find_range(nullptr, r.list()), Range(nullptr, nullptr));

    std::unique_ptr<Sentence> bare(make_sentence("x y"));
    Token* x = token_at(*bare, 0);
    EXPECT_EQ(find_range(x, bare->annotations), Range(x, x));
    EXPECT_EQ(find_range(bare->annotations.head, bare->annotations),
              Range(x, x));
}

TEST(InsertionSteps, InsertionPointDecision) {
    ConceptRun r;
    Token* a = token_at(*r.sentence, 0);
    const auto run = find_range(a, r.list());
    struct Case {
        uint32_t begin;
        uint32_t end;
        const char* uri;
        InsertionAction action;
        Annotation* position;
    };
    for (const Case& c : {Case{0, 3, "U", insertion_update, r.u},
                          Case{0, 5, "U", insertion_add, r.v}, // before V, which ends with U
                          Case{0, 1, "U", insertion_ignore, r.u},
                          Case{0, 3, "X", insertion_add, r.v},
                          Case{0, 5, "X", insertion_add, r.v},
                          Case{0, 1, "X", insertion_add, a}}) {
        const auto decision = find_insertion_point(run, c.begin, c.end, c.uri);
        EXPECT_EQ(decision.first, c.action) << c.uri << c.begin << "-" << c.end;
        EXPECT_EQ(decision.second, c.position) << c.uri << c.begin << "-" << c.end;
    }
    EXPECT_EQ(find_insertion_point({nullptr, nullptr}, 0, 1, "U"),
              std::make_pair(insertion_add, static_cast<Annotation*>(nullptr)));
    EXPECT_EQ(find_insertion_point({a, a}, 0, 1, "U"),
              std::make_pair(insertion_add, static_cast<Annotation*>(a)));
}

TEST(InsertionSteps, BiggerConceptOfTheUriBeginsBeforeAndEndsAfterTheBegin) {
    ConceptRun r;
    Token* b = token_at(*r.sentence, 1);
    Token* c = token_at(*r.sentence, 2);
    EXPECT_EQ(has_bigger_concepts(b, 2, 3, "U"), r.u);
    EXPECT_EQ(has_bigger_concepts(b, 2, 3, "V"), r.v);
    EXPECT_EQ(has_bigger_concepts(b, 2, 3, "W"), nullptr);
    EXPECT_EQ(has_bigger_concepts(c, 4, 5, "U"), nullptr); // U ends at 3
    EXPECT_EQ(has_bigger_concepts(r.u, 0, 3, "U"), nullptr); // same begin is not bigger
}

TEST(InsertionSteps, EndMarkerIsFoundOrMade) {
    // "a b c d" with X over a-b: [S X a b e3 c d e7 eos].
    std::unique_ptr<Sentence> s(make_sentence("a b c d"));
    AnnotationCollection& list = s->annotations;
    Concept* x = add_concept(*s, token_at(*s, 0), token_at(*s, 1), "X");
    EndAnnotation* e3 = x->end_annotation;
    Token* c = token_at(*s, 2);
    Token* d = token_at(*s, 3);

    // At the marker itself.
    auto* at_marker = new Concept(2, 3, "A");
    list.insert(RawPtrIterator(token_at(*s, 1)), at_marker);
    EXPECT_EQ(add_end_annotation(list, token_at(*s, 1), e3, at_marker), e3);
    EXPECT_EQ(at_marker->end_annotation, e3);

    // At the token after the marker: registered there, answer null.
    auto* behind = new Concept(0, 3, "B");
    list.insert(RawPtrIterator(x), behind);
    EXPECT_EQ(add_end_annotation(list, token_at(*s, 0), c, behind), nullptr);
    EXPECT_EQ(behind->end_annotation, e3);
    ASSERT_EQ(e3->concepts.size(), 3u);
    EXPECT_EQ(e3->concepts[0], at_marker); // larger begin first
    EXPECT_EQ(e3->concepts[1], behind);    // newcomer before equal begins
    EXPECT_EQ(e3->concepts[2], x);

    // At a token with no marker in front: a new one.
    auto* fresh = new Concept(4, 5, "C");
    list.insert(RawPtrIterator(c), fresh);
    EndAnnotation* made = add_end_annotation(list, c, d, fresh);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->begin, 5u);
    EXPECT_EQ(made->next, d);
    EXPECT_EQ(fresh->end_annotation, made);

    // The end of the list and a sentence kind register nothing.
    auto* loose = new Concept(6, 7, "D");
    list.insert(RawPtrIterator(d), loose);
    EXPECT_EQ(add_end_annotation(list, d, RawPtrIterator(), loose), nullptr);
    EXPECT_EQ(loose->end_annotation, nullptr);
    Sentence other(0, 0);
    EXPECT_EQ(add_end_annotation(list, d, RawPtrIterator(&other), loose), nullptr);
    EXPECT_EQ(loose->end_annotation, nullptr);
}

TEST(InsertionSteps, MoveToNewLocationPassesNoLongerConceptsWithTheBegin) {
    ConceptRun r;
    auto* f = new Concept(0, 3, "tlx::f");
    r.list().insert(RawPtrIterator(token_at(*r.sentence, 0)), f);
    move_to_new_location(r.list(), f);
    EXPECT_EQ(r.list().head->next, f);
    EXPECT_EQ(f->next, r.v);

    // A longer concept in front stops the move; nothing passes the head.
    auto* longer = new Concept(0, 5, "L");
    r.list().insert(RawPtrIterator(f), longer);
    auto* g = new Concept(0, 3, "tlx::g");
    r.list().insert(RawPtrIterator(token_at(*r.sentence, 0)), g);
    move_to_new_location(r.list(), g);
    EXPECT_EQ(longer->next, g);
    EXPECT_EQ(g->next, f);
}

TEST(InsertionSteps, TopLevelCaptureGroupFollowsAtMostFiveParents) {
    std::vector<std::unique_ptr<Concept>> chain;
    for (int i = 0; i < 8; ++i)
        chain.push_back(std::make_unique<Concept>(0, 1, "C" + std::to_string(i)));
    for (int i = 0; i + 1 < 8; ++i)
        add_parent(chain[i].get(), chain[i + 1].get());
    EXPECT_EQ(get_top_level_capture_group(chain[0].get()), chain[5].get());
    EXPECT_EQ(get_top_level_capture_group(chain[4].get()), chain[7].get());
    EXPECT_EQ(get_top_level_capture_group(chain[7].get()), chain[7].get());
    EXPECT_EQ(get_top_level_capture_group(nullptr), nullptr);
    int depth = 3;
    EXPECT_EQ(get_top_level_capture_group_recursive(chain[0].get(), depth), chain[2].get());
    EXPECT_EQ(depth, 5);
    // Parents go before their children are destroyed.
    for (int i = 7; i >= 0; --i)
        chain[i].reset();
}

// [S U0 U1 ... Un-1 t0 e t1 e ...]: U0 encloses U1 encloses ... all ending at
// different tokens.
struct DeepNesting {
    explicit DeepNesting(size_t depth, const std::string& uri = "U") {
        std::vector<fixture::TokenDef> tokens;
        for (size_t i = 0; i < depth; ++i)
            tokens.push_back({"t", static_cast<uint32_t>(2 * i), static_cast<uint32_t>(2 * i + 1)});
        sentence.reset(make_sentence(tokens));
        Token* first = token_at(*sentence, 0);
        std::vector<Token*> by_index;
        for (Annotation* a = first; a; a = a->next)
            if (a->type == annotation_token)
                by_index.push_back(static_cast<Token*>(a));
        for (size_t i = 0; i < depth; ++i) {
            Token* last = by_index[depth - 1 - i];
            auto* c = new Concept(0, last->end, uri);
            sentence->annotations.insert(RawPtrIterator(first), c);
            auto* marker = new EndAnnotation(last->end);
            sentence->annotations.insert(RawPtrIterator(last->next), marker);
            marker->add(c);
            c->end_annotation = marker;
            concepts.push_back(c);
        }
    }
    std::unique_ptr<Sentence> sentence;
    std::vector<Concept*> concepts;
};

TEST(NestedDeletion, DeepNestingNeedsNoDeepStack) {
    // A walk that recursed once per level would overflow this small stack.
    DeepNesting nesting(3000);
    struct Job {
        DeepNesting* nesting;
        bool answer = false;
    } job{&nesting};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attributes,
                  [](void* data) -> void* {
                      auto* j = static_cast<Job*>(data);
                      j->answer = mark_childeren_as_deleted(j->nesting->sentence->annotations,
                                                            j->nesting->concepts[0], 0);
                      return nullptr;
                  },
                  &job),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(job.answer);
    EXPECT_FALSE(nesting.concepts[0]->flags.test(Concept::deleted));
    for (size_t i = 1; i < nesting.concepts.size(); ++i)
        ASSERT_TRUE(nesting.concepts[i]->flags.test(Concept::deleted)) << i;
}

TEST(NestedDeletion, ConceptFormMarksChildrenAndSameUriConcepts) {
    // "a b c d": K over all; X names K as parent; U same uri; Y neither.
    std::unique_ptr<Sentence> s(make_sentence("a b c d"));
    Concept* k = add_concept(*s, token_at(*s, 0), token_at(*s, 3), "U");
    Concept* x = add_concept(*s, token_at(*s, 1), token_at(*s, 1), "X");
    Concept* u = add_concept(*s, token_at(*s, 2), token_at(*s, 3), "U");
    Concept* y = add_concept(*s, token_at(*s, 2), token_at(*s, 2), "Y");
    Concept* uy = add_concept(*s, token_at(*s, 3), token_at(*s, 3), "Z");
    add_parent(x, k);
    add_parent(uy, u); // reached through U
    EXPECT_TRUE(mark_childeren_as_deleted(k, Concept::filtered));
    EXPECT_FALSE(k->flags.test(Concept::filtered));
    EXPECT_TRUE(x->flags.test(Concept::filtered));
    EXPECT_TRUE(u->flags.test(Concept::filtered));
    EXPECT_FALSE(y->flags.test(Concept::filtered));
    EXPECT_TRUE(uy->flags.test(Concept::filtered));
    EXPECT_FALSE(x->flags.test(Concept::deleted));

    EXPECT_THROW(mark_childeren_as_deleted(k, 6), std::out_of_range);
}

TEST(NestedDeletion, ALaterShortestMatchStopsTheWalk) {
    std::unique_ptr<Sentence> s(make_sentence("a b c"));
    Concept* k = add_concept(*s, token_at(*s, 0), token_at(*s, 2), "U");
    Concept* same_begin = add_concept(*s, token_at(*s, 0), token_at(*s, 0), "U");
    Concept* later = add_concept(*s, token_at(*s, 1), token_at(*s, 1), "U");
    same_begin->flags.set(Concept::shorted_match);
    later->flags.set(Concept::shorted_match);
    EXPECT_FALSE(mark_childeren_as_deleted(k, Concept::deleted));
    EXPECT_TRUE(same_begin->flags.test(Concept::deleted)); // not later: marked
    EXPECT_FALSE(later->flags.test(Concept::deleted));

    // The list form answers false as well, so insertion deletes the outer one.
    same_begin->flags.reset(Concept::deleted);
    EXPECT_FALSE(mark_childeren_as_deleted(s->annotations, k, Concept::deleted));
}

TEST(NestedDeletion, IteratorFormWantsAConceptWithAnInside) {
    std::unique_ptr<Sentence> s(make_sentence("a b"));
    Token* a = token_at(*s, 0);
    EXPECT_FALSE(mark_childeren_as_deleted(a, a->next, "U", 0));
    Concept* k = add_concept(*s, a, token_at(*s, 1), "U");
    EXPECT_FALSE(mark_childeren_as_deleted(k, k->next, "U", 0));
    EXPECT_TRUE(mark_childeren_as_deleted(k, k->end_annotation, "U", 0));
    Concept* inner = add_concept(*s, token_at(*s, 1), token_at(*s, 1), "U");
    EXPECT_TRUE(mark_childeren_as_deleted(k, k->end_annotation, "U", 0));
    EXPECT_TRUE(inner->flags.test(Concept::deleted));
}

TEST(InsertionSteps, EncodingNeedsAKnownUri) {
    fixture::InsertionDocument doc;
    doc.domain->concept_names["U"] = 3;
    Concept known(2, 3, "U");
    Concept unknown(2, 3, "V");
    doc.sentence->encoded_ids.clear();
    doc.sentence->changed = false;
    reset_encoding(*doc.document, &unknown, doc.sentence);
    EXPECT_EQ(unknown.encoded_id, 0u);
    EXPECT_FALSE(doc.sentence->changed);
    reset_encoding(*doc.document, &known, doc.sentence);
    EXPECT_EQ(known.encoded_id, 3u);
    EXPECT_EQ(doc.sentence->encoded_ids.count(0x20000003u), 1u);
    EXPECT_TRUE(doc.sentence->changed);
    doc.document->current_domain.reset();
    Concept later(2, 3, "U");
    reset_encoding(*doc.document, &later, doc.sentence);
    EXPECT_EQ(later.encoded_id, 0u);
}

TEST(InsertionSteps, AlignBeginSkipsEndMarkers) {
    std::unique_ptr<Sentence> s(make_sentence("a b"));
    Concept* x = add_concept(*s, token_at(*s, 0), token_at(*s, 0), "X");
    EXPECT_EQ(align_begin(x->end_annotation).get(), token_at(*s, 1));
    EXPECT_EQ(align_begin(token_at(*s, 0)).get(), token_at(*s, 0));
    Annotation* sentence_end = token_at(*s, 1)->next;
    EXPECT_EQ(align_begin(sentence_end)->type, annotation_end_of_stream);
    EXPECT_EQ(align_begin(RawPtrIterator()).get(), nullptr);
}

} // namespace
} // namespace dez::trelix
