#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/offset_table.h"
#include "api/profiler.h"
#include "document/add_concept_to_collection_profiler.h"
#include "document/concept_insertion.h"
#include "document/raw_annotation_printer.h"
#include "domain/concept_definition.h"
#include "matcher/memento_store.h"
#include "matcher/runtime_context.h"
#include "tests/document/insertion_fixture.h"

namespace dez::trelix {
namespace {

using fixture::InsertionDocument;
using fixture::token_at;
using fixture::values;

const char* const plain = "Sentence(0,15) a b c d e f g h e15[Sentence] eos";

// Tokens are numbered from 0 ("a" is 0, "b" 1 ...); offsets of token i are
// 2i and 2i+1.
struct Step {
    size_t first;
    size_t last;
    const char* uri;
    const char* attributes;
    bool added; // a concept comes back
};

struct SequenceCase {
    const char* name;
    std::vector<Step> steps;
    const char* layout;
};

TEST(ConceptInsertion, PlacesAndDecidesAsTheListRequires) {
    const std::vector<SequenceCase> cases = {
        {"new concept before its first token, end marker after its last",
         {{1, 2, "U", "", true}},
         "Sentence(0,15) a U(2,5) b c e5[U] d e f g h e15[Sentence] eos"},
        {"a concept at the sentence start stays behind the sentence concept",
         {{0, 0, "U", "", true}},
         "Sentence(0,15) U(0,1) a e1[U] b c d e f g h e15[Sentence] eos"},
        {"a concept over the last token shares the sentence's end marker",
         {{7, 7, "U", "", true}},
         "Sentence(0,15) a b c d e f g U(14,15) h e15[U,Sentence] eos"},
        {"same span twice: one concept",
         {{1, 2, "U", "", true}, {1, 2, "U", "", true}},
         "Sentence(0,15) a U(2,5) b c e5[U] d e f g h e15[Sentence] eos"},
        {"shorter one of the same uri and begin is ignored",
         {{1, 3, "U", "", true}, {1, 2, "U", "", false}},
         "Sentence(0,15) a U(2,7) b c d e7[U] e f g h e15[Sentence] eos"},
        {"longer one goes first and deletes the nested one",
         {{1, 2, "U", "", true}, {1, 3, "U", "", true}},
         "Sentence(0,15) a U(2,7) xU(2,5) b c e5[U] d e7[U] e f g h e15[Sentence] eos"},
        {"longer one goes before the concepts ending with the shorter one",
         {{1, 2, "U", "", true}, {1, 2, "V", "", true}, {1, 3, "U", "", true}},
         "Sentence(0,15) a U(2,7) V(2,5) xU(2,5) b c e5[V,U] d e7[U] e f g h e15[Sentence] "
         "eos"},
        {"inner one of the same uri is refused",
         {{1, 4, "U", "", true}, {2, 3, "U", "", false}},
         "Sentence(0,15) a U(2,9) b c d e e9[U] f g h e15[Sentence] eos"},
        {"inner one asking for the shortest match deletes the outer one",
         {{1, 4, "U", "", true}, {2, 3, "U", "@match=shortest", true}},
         "Sentence(0,15) a xU(2,9) b U(4,7) c d e7[U] e e9[U] f g h e15[Sentence] eos"},
        {"overlapping one of the same uri is refused",
         {{1, 2, "U", "", true}, {2, 4, "U", "", false}},
         "Sentence(0,15) a U(2,5) b c e5[U] d e f g h e15[Sentence] eos"},
        {"outer one added later deletes the inner one",
         {{2, 3, "U", "", true}, {1, 4, "U", "", true}},
         "Sentence(0,15) a U(2,9) b xU(4,7) c d e7[U] e e9[U] f g h e15[Sentence] eos"},
        {"an inner one that asked for the shortest match deletes the outer newcomer",
         {{2, 3, "U", "@match=shortest", true}, {1, 4, "U", "", true}},
         "Sentence(0,15) a xU(2,9) b U(4,7) c d e7[U] e e9[U] f g h e15[Sentence] eos"},
        {"equal spans of other uris: newest first",
         {{1, 2, "A", "", true}, {1, 2, "B", "", true}, {1, 2, "C", "", true}},
         "Sentence(0,15) a C(2,5) B(2,5) A(2,5) b c e5[C,B,A] d e f g h e15[Sentence] eos"},
        {"outer before inner whatever the order of arrival",
         {{1, 1, "A", "", true}, {1, 3, "B", "", true}, {1, 2, "C", "", true}},
         "Sentence(0,15) a B(2,7) C(2,5) A(2,3) b e3[A] c e5[C] d e7[B] e f g h "
         "e15[Sentence] eos"},
        {"a concept right after another's end marker stands in front of its token",
         {{1, 1, "A", "", true}, {2, 2, "B", "", true}},
         "Sentence(0,15) a A(2,3) b e3[A] B(4,5) c e5[B] d e f g h e15[Sentence] eos"},
    };
    for (const SequenceCase& c : cases) {
        InsertionDocument doc;
        for (const Step& step : c.steps) {
            Concept* result = doc.add(step.first, step.last, step.uri, step.attributes);
            EXPECT_EQ(result != nullptr, step.added) << c.name << ": " << step.uri;
        }
        EXPECT_EQ(doc.layout(), c.layout) << c.name;
    }
}

TEST(ConceptInsertion, AStretchStartingAtAnEndMarkerUsesTheTokenAfterIt) {
    InsertionDocument doc;
    doc.add(1, 1, "A");
    Annotation* marker = token_at(*doc.sentence, 1)->next;
    ASSERT_EQ(marker->type, annotation_end);
    Concept* b = (*doc.document->collector)(RawPtrIterator(marker),
                                            RawPtrIterator(token_at(*doc.sentence, 2)->next), "B",
                                            "", nullptr, "r");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->begin, 4u);
    EXPECT_EQ(b->end, 5u);
}

TEST(ConceptInsertion, UpdateMergesAttributesAndParentsAndRevivesTheConcept) {
    InsertionDocument doc;
    Concept* p = doc.add(0, 3, "P");
    Concept* q = doc.add(0, 4, "Q");
    Concept* first = doc.add(1, 2, "U", "@k=1", p);
    ASSERT_NE(first, nullptr);
    first->flags.set(Concept::deleted);
    Concept* second = doc.add(1, 2, "U", "@k=2;k=1", q);
    EXPECT_EQ(second, first);
    EXPECT_FALSE(first->flags.test(Concept::deleted));
    EXPECT_EQ(values(first->attributes.attributes, "k"), (std::vector<std::string>{"1", "2"}));
    ASSERT_TRUE(first->parents);
    EXPECT_EQ(*first->parents, (std::vector<Concept*>{p, q}));
    EXPECT_EQ(doc.layout(), "Sentence(0,15) Q(0,9) P(0,7) a U(2,5) b c e5[U] d e7[P] e e9[Q] "
                            "f g h e15[Sentence] eos");
}

TEST(ConceptInsertion, UpdateOfAFilteredConceptDeletesItAndAnswersNull) {
    InsertionDocument doc;
    Concept* c = doc.add(1, 2, "U");
    c->flags.set(Concept::filtered);
    EXPECT_EQ(doc.add(1, 2, "U", "@k=1"), nullptr);
    EXPECT_TRUE(c->flags.test(Concept::deleted));
    EXPECT_FALSE(c->has_attribute("k"));
}

TEST(ConceptInsertion, OverlapWithTheDebugFlagIsReportedAndKept) {
    InsertionDocument doc(R"({"dbg":"overlap"})");
    doc.add(1, 2, "U");
    testing::internal::CaptureStdout();
    Concept* second = doc.add(2, 4, "U");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "! we have a overlapping issue. for 4:9:U\n");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(doc.layout(),
              "Sentence(0,15) a U(2,5) b U(4,9) c e5[U] d e e9[U] f g h e15[Sentence] eos");
}

TEST(ConceptInsertion, InsertionTraceNamesEveryDecision) {
    InsertionDocument doc(R"({"dbg":"insertion"})");
    testing::internal::CaptureStdout();
    Concept* c = doc.add(1, 2, "U", "@k=v");
    doc.add(1, 2, "U");
    doc.add(1, 1, "U");
    c->flags.set(Concept::deleted);
    doc.add(1, 2, "U");
    c->flags.set(Concept::filtered);
    doc.add(1, 2, "U");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "add concept:U:2:5@k=v; [b c]\n"
              " - add new:U\n"
              "add concept:U:2:5 [b c]\n"
              "  - update:U@l:k:v;\n"
              "add concept:U:2:3 [b]\n"
              " - ignore:U\n"
              "add concept:U:2:5 [b c]\n"
              "x - update:U@l:k:v;\n"
              "add concept:U:2:5 [b c]\n"
              " ! has been filtered (sorry):U@k=v;\n");
}

TEST(ConceptInsertion, RawPrinterShowsTheInsertedConcept) {
    InsertionDocument doc("{}", "{}", "a b");
    doc.add(0, 1, "U", "@k=v");
    std::ostringstream out;
    RawAnnotationPrinter printer(out);
    printer.visit(*doc.sentence);
    EXPECT_EQ(out.str(), "Sentence:(0,3)\n"
                         " c(0,3):Sentence { \n"
                         " c(0,3):U { l:k:v;\n"
                         "  t(0,1) a\n\t{not-found}\n"
                         "  t(2,3) b\n\t{not-found}\n"
                         " e(3,3): }:U }:Sentence\n"
                         " eos(3,3):\n");
}

TEST(ConceptInsertion, PlusUrisCarryTheirCanonicalForms) {
    struct Case {
        const char* uri;
        const char* expected_uri;
        std::vector<std::string> canonical;
    };
    for (const Case& c : {Case{"Date+Time", "Time", {"Date"}},
                          Case{"A+B+C", "C", {"A", "B"}},
                          Case{"John Smith+Person", "Person", {"John Smith"}},
                          Case{"+Person", "Person", {""}}}) {
        InsertionDocument doc;
        Concept* concept_ = doc.add(1, 2, c.uri);
        ASSERT_NE(concept_, nullptr) << c.uri;
        EXPECT_EQ(concept_->uri, c.expected_uri);
        EXPECT_EQ(values(concept_->attributes.attributes, "canonical"), c.canonical) << c.uri;
    }
}

TEST(ConceptInsertion, FilterUrisTellDifferentActionsApart) {
    EXPECT_EQ(filter_uri(Attributes()), "tlx::filter0");
    const Attributes by_concept{{"concept", std::string("Person")}};
    const Attributes by_attribute{{"attribute", std::string("Person")}};
    const Attributes ab{{"a", std::string("1")}, {"b", std::string("2")}};
    const Attributes ba{{"b", std::string("2")}, {"a", std::string("1")}};
    const Attributes swapped{{"a", std::string("2")}, {"b", std::string("1")}};
    EXPECT_NE(filter_uri(by_concept), filter_uri(by_attribute));
    EXPECT_NE(filter_uri(ab), filter_uri(ba));
    EXPECT_NE(filter_uri(ab), filter_uri(swapped));
    EXPECT_EQ(filter_uri(ab), filter_uri(Attributes(ab)));

    InsertionDocument doc;
    Concept* none = doc.add(1, 1, "tlx::filter");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->uri, "tlx::filter0");
    Concept* first = doc.add(2, 2, "tlx::filter", "@concept=Person");
    Concept* other = doc.add(2, 2, "tlx::filter", "@attribute=Person");
    Concept* again = doc.add(2, 2, "tlx::filter", "@concept=Person");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(first, other);
    EXPECT_EQ(again, first);
    EXPECT_EQ(first->uri, filter_uri(by_concept));
}

TEST(ConceptInsertion, AChildWithItsParentsSpanFollowsTheParent) {
    InsertionDocument with_parent;
    Concept* parent = with_parent.add(1, 2, "P");
    with_parent.add(1, 2, "C", "", parent);
    EXPECT_EQ(with_parent.layout(),
              "Sentence(0,15) a P(2,5) C(2,5) b c e5[C,P] d e f g h e15[Sentence] eos");

    InsertionDocument without_parent;
    without_parent.add(1, 2, "P");
    without_parent.add(1, 2, "C");
    EXPECT_EQ(without_parent.layout(),
              "Sentence(0,15) a C(2,5) P(2,5) b c e5[C,P] d e f g h e15[Sentence] eos");

    // A longer parent is not at the insertion position: the usual order.
    InsertionDocument longer;
    Concept* outer = longer.add(1, 3, "P");
    Concept* child = longer.add(1, 2, "C", "", outer);
    EXPECT_EQ(longer.layout(),
              "Sentence(0,15) a P(2,7) C(2,5) b c e5[C] d e7[P] e f g h e15[Sentence] eos");
    EXPECT_TRUE(has_parent(child, outer));
}

TEST(ConceptInsertion, NoCrlfConceptsDoNotSpanALineFeed) {
    InsertionDocument doc("{}", "{}", "a b\nc d");
    doc.domain->no_crlf.insert("Addr");
    EXPECT_EQ(doc.add(0, 1, "Addr"), nullptr);
    EXPECT_NE(doc.add(0, 0, "Addr"), nullptr);
    EXPECT_NE(doc.add(0, 1, "Other"), nullptr);
    EXPECT_NE(doc.add(2, 2, "Addr"), nullptr);
}

TEST(ConceptInsertion, LineFeedTestReadsTheBytesOfTheCharacterSpan) {
    struct Case {
        const char* text;
        uint32_t begin;
        uint32_t end;
        bool expected;
    };
    // "é" takes two bytes: a byte window indexed with character offsets
    // would miss the first line feed and find the second.
    for (const Case& c : {Case{"ééé x\ny", 4, 7, true}, Case{"ééé x\ny", 0, 5, false},
                          Case{"éééé\nabcdefgh", 7, 9, false}, Case{"éééé\nabcdefgh", 3, 5, true},
                          Case{"éééé\nabcdefgh", 5, 50, false}, Case{"a\nb", 1, 1, false}}) {
        fixture::TestAnalyzer analyzer;
        auto document = fixture::make_blackboard(analyzer);
        const std::string text = c.text;
        document->set_text(text.data(), text.size());
        document->offset_table =
            generate_offset_mappings(document->text, static_cast<int>(document->text_length));
        EXPECT_EQ(has_crlf(*document, c.begin, c.end), c.expected)
            << c.text << " " << c.begin << "-" << c.end;
    }

    // Without an offset table the offsets are taken as bytes.
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    document->set_text("ab\ncd", 5);
    EXPECT_TRUE(has_crlf(*document, 1, 3));
    EXPECT_FALSE(has_crlf(*document, 3, 5));
    EXPECT_FALSE(has_crlf(*document, 3, 99));
}

TEST(ConceptInsertion, ConceptIdsComeFromTheCurrentDomain) {
    InsertionDocument doc;
    doc.domain->concept_names["U"] = 7;
    doc.sentence->encoded_ids.clear();
    doc.sentence->changed = false;

    Concept* unknown = doc.add(3, 3, "V");
    EXPECT_EQ(unknown->encoded_id, 0u);
    EXPECT_TRUE(doc.sentence->encoded_ids.empty());
    EXPECT_FALSE(doc.sentence->changed);

    Concept* known = doc.add(1, 2, "U");
    EXPECT_EQ(known->encoded_id, 7u);
    EXPECT_EQ(doc.sentence->encoded_ids, (std::set<uint32_t>{0x20000007u}));
    EXPECT_TRUE(doc.sentence->changed);

    // An update enters the id again, so a later pass sees the concept.
    doc.sentence->encoded_ids.clear();
    doc.sentence->changed = false;
    EXPECT_EQ(doc.add(1, 2, "U"), known);
    EXPECT_EQ(doc.sentence->encoded_ids, (std::set<uint32_t>{0x20000007u}));
    EXPECT_TRUE(doc.sentence->changed);
}

TEST(ConceptInsertion, WithoutACurrentDomainConceptsAreStillAdded) {
    InsertionDocument doc;
    doc.document->current_domain.reset();
    Concept* c = doc.add(1, 2, "U", "@k=v");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->encoded_id, 0u);
    EXPECT_EQ(doc.add(1, 2, "U"), c);
}

TEST(ConceptInsertion, RuleInfoNotesTheDomain) {
    InsertionDocument doc(R"({"dbg":"rule_info"})");
    Concept* c = doc.add(1, 2, "U");
    EXPECT_EQ(c->get_attribute("_domain"), "x/y/test.dom");
    InsertionDocument plain_doc;
    EXPECT_FALSE(plain_doc.add(1, 2, "U")->has_attribute("_domain"));
}

TEST(ConceptInsertion, ThePointerEntryReachesTheSameInsertion) {
    InsertionDocument doc;
    const Annotation* begin = token_at(*doc.sentence, 1);
    const Annotation* end = token_at(*doc.sentence, 2)->next;
    Concept* c = (*doc.document->collector)(begin, end, "A+U", "@k=v", nullptr, "r");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->uri, "U");
    EXPECT_EQ(c->get_attribute("canonical"), "A");
    EXPECT_EQ(c->get_attribute("k"), "v");
}

TEST(ConceptInsertion, RuleFunctionsAreDispatchedAndMovedForwardOnUpdate) {
    InsertionDocument doc;
    doc.add(1, 1, "X");
    Concept* call = doc.add(1, 1, "::plugin::f");
    ASSERT_NE(call, nullptr);
    ASSERT_EQ(doc.document->delayed_functions.size(), 1u);
    EXPECT_EQ(doc.document->delayed_functions[0].second.uri, "::plugin::f");
    EXPECT_EQ(doc.document->delayed_functions[0].second.concept, call);
    doc.add(1, 1, "Y");
    EXPECT_EQ(doc.layout(), "Sentence(0,15) a Y(2,3) ::plugin::f(2,3) X(2,3) b e3[Y,::plugin::f,X] "
                            "c d e f g h e15[Sentence] eos");
    EXPECT_EQ(doc.add(1, 1, "::plugin::f"), call);
    EXPECT_EQ(doc.layout(), "Sentence(0,15) a ::plugin::f(2,3) Y(2,3) X(2,3) b e3[Y,::plugin::f,X] "
                            "c d e f g h e15[Sentence] eos");
    EXPECT_EQ(doc.document->delayed_functions.size(), 2u);
}

TEST(ConceptInsertion, CaptureGroupOfTheContextIsTheTopParent) {
    InsertionDocument doc;
    Concept* top = doc.add(0, 5, "Top");
    Concept* middle = doc.add(0, 4, "Middle", "", top);
    doc.add(1, 2, "::plugin::f", "", middle);
    ASSERT_EQ(doc.document->delayed_functions.size(), 1u);
    EXPECT_EQ(doc.document->delayed_functions[0].second.capture_group, top);
    EXPECT_EQ(doc.document->delayed_functions[0].second.sentence->sentence, doc.sentence);
}

TEST(ConceptInsertion, PartOfSpeechFilterConditionsAndInheritanceRunOnInsertion) {
    InsertionDocument doc;
    token_at(*doc.sentence, 1)->readings.emplace_back("Det", "the", 1.0);
    token_at(*doc.sentence, 2)->readings.emplace_back("Nn-Sg", "house", 1.0);

    Concept* passes = doc.add(1, 2, "NP", "@pos=/Det.*Nn/");
    EXPECT_FALSE(passes->flags.test(Concept::deleted));
    EXPECT_FALSE(passes->has_attribute("pos"));

    // Refused by the filter: returned, deleted, and its function never runs.
    Concept* fails = doc.add(1, 2, "::plugin::g", "@pos=Adj");
    ASSERT_NE(fails, nullptr);
    EXPECT_TRUE(fails->flags.test(Concept::deleted));
    EXPECT_TRUE(doc.document->delayed_functions.empty());

    Concept* unconditioned = doc.add(3, 3, "C", "@_condition=k=a");
    EXPECT_TRUE(unconditioned->flags.test(Concept::deleted));
    doc.document->memento_store = std::make_shared<MementoStore>();
    doc.document->memento_store->add("k", "a", 0);
    Concept* holds = doc.add(4, 4, "C", "@_condition=k=a");
    EXPECT_FALSE(holds->flags.test(Concept::deleted));
    Concept* malformed = doc.add(5, 5, "C", "@_condition=k");
    EXPECT_TRUE(malformed->flags.test(Concept::deleted));
}

TEST(ConceptInsertion, InstructionsStayOffTheSharedPart) {
    InsertionDocument doc;
    token_at(*doc.sentence, 1)->readings.emplace_back("Det", "the", 1.0);
    Concept* c = doc.add(1, 1, "U");
    c->attributes.shared = std::make_shared<Attributes>();
    EXPECT_EQ(doc.add(1, 1, "U", "@pos=Adj;inherit=true;_condition=k=a;color=red"), c);
    EXPECT_TRUE(c->flags.test(Concept::deleted)); // the own "pos" value was tested
    EXPECT_EQ(values(*c->attributes.shared, "color"), std::vector<std::string>{"red"});
    for (const char* key : {"pos", "inherit", "_condition"})
        EXPECT_FALSE(has(*c->attributes.shared, key)) << key;
    EXPECT_TRUE(has(c->attributes.attributes, "inherit"));
    EXPECT_TRUE(has(c->attributes.attributes, "_condition"));
}

TEST(ConceptInsertion, InheritanceFromNestedConceptsOnInsertion) {
    InsertionDocument same_uri;
    same_uri.add(1, 1, "Person", "@gender=w;_rule=1");
    same_uri.add(2, 2, "Person", "@gender=m;age=3");
    Concept* outer = same_uri.add(1, 2, "Person", "@inherit=true");
    EXPECT_EQ(values(outer->attributes.attributes, "gender"), std::vector<std::string>{"m"});
    EXPECT_EQ(outer->get_attribute("age"), "3");
    EXPECT_FALSE(outer->has_attribute("_rule"));
    EXPECT_FALSE(outer->has_attribute("inherit"));
    EXPECT_EQ(same_uri.layout(), "Sentence(0,15) a Person(2,5) xPerson(2,3) b e3[Person] "
                                 "xPerson(4,5) c e5[Person,Person] d e f g h e15[Sentence] eos");

    InsertionDocument named;
    named.add(1, 1, "Person", "@gender=w");
    named.add(2, 2, "Person", "@gender=m;age=3");
    Concept* group = named.add(1, 2, "Group", "@inherit=Person[2].gender");
    EXPECT_EQ(values(group->attributes.attributes, "gender"), std::vector<std::string>{"m"});
    EXPECT_FALSE(group->has_attribute("age"));
}

TEST(ConceptInsertion, ConceptDefinitionsAddAttributesFollowUpsAndFunctions) {
    InsertionDocument doc;
    ConceptDefinition person;
    person.attributes = {{"type", std::string("human")}, {"label", std::string("f\"plain\"")}};
    person.follow_ups = {
        {"Human", {{"k", std::string("v")}}},
        {"tlx::push_att", {{"from", std::string("A")}, {"to", std::string("B")}}},
        {"tlx::inherit", {{"from", std::string("Name")}}},
    };
    doc.domain->concept_definitions["Person"] = person;
    ConceptDefinition human;
    human.attributes = {{"kind", std::string("h")}};
    doc.domain->concept_definitions["Human"] = human;

    Concept* c = doc.add(1, 2, "Person");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->get_attribute("type"), "human");
    EXPECT_EQ(c->get_attribute("label"), "plain");
    EXPECT_EQ(doc.layout(), "Sentence(0,15) a tlx::inherit(2,5) Human(2,5) Person(2,5) b c "
                            "e5[tlx::inherit,Human,Person] d e f g h e15[Sentence] eos");
    Concept* follow_up = static_cast<Concept*>(c->prev);
    EXPECT_EQ(follow_up->get_attribute("k"), "v");
    EXPECT_EQ(follow_up->get_attribute("kind"), "h"); // its own definition ran too
    Concept* inherit = static_cast<Concept*>(follow_up->prev);
    EXPECT_EQ(inherit->get_attribute("from"), "Name");
    EXPECT_EQ(inherit->get_attribute("to"), "Person");

    // Both actions are delayed: push_att with its arguments, then the
    // inherit action concept.
    const auto& queued = doc.document->delayed_functions;
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].second.uri, "tlx::push_att");
    EXPECT_EQ(queued[0].second.concept, c);
    ASSERT_TRUE(queued[0].second.arguments);
    EXPECT_EQ(*queued[0].second.arguments,
              (std::vector<std::pair<std::string, std::string>>{{"from", "A"}, {"to", "B"}}));
    EXPECT_EQ(queued[1].second.uri, "tlx::inherit");
    EXPECT_EQ(queued[1].second.concept, inherit);
}

TEST(ConceptInsertion, ProfilerCountsEveryConceptItGetsBack) {
    InsertionDocument doc("{}", R"({"profiler":"true"})");
    ASSERT_TRUE(doc.document->profiler);
    ASSERT_NE(dynamic_cast<AddConceptToCollectionProfiler*>(doc.document->collector.get()),
              nullptr);
    doc.add(1, 2, "U", "", nullptr, "r1");
    doc.add(1, 2, "U", "", nullptr, "r1");
    EXPECT_EQ(doc.add(1, 1, "U", "", nullptr, "r1"), nullptr); // ignored: no hit
    (*doc.document->collector)(token_at(*doc.sentence, 3), token_at(*doc.sentence, 4), "V", "",
                               nullptr, "r2");
    auto& infos = doc.document->profiler->infos;
    EXPECT_EQ(infos.at("r1").hits.at("U").count, 2u);
    EXPECT_EQ(infos.at("r2").hits.at("V").count, 1u);

    InsertionDocument unprofiled;
    EXPECT_EQ(dynamic_cast<AddConceptToCollectionProfiler*>(unprofiled.document->collector.get()),
              nullptr);
}

} // namespace
} // namespace dez::trelix
