#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "document/annotation_collection.h"
#include "document/raw_annotation_printer.h"
#include "document/visitor.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::add_concept;
using fixture::make_sentence;
using fixture::token_at;

// Two sentences: readings with tags and components, properties, a token
// without readings, concepts with own and shared attributes, a deleted one,
// instance data, and an end marker closing two concepts.
std::unique_ptr<AnnotationCollection> small_document() {
    auto document = std::make_unique<AnnotationCollection>();
    Sentence* first = make_sentence("New York is big");
    Token* new_ = token_at(*first, 0);
    new_->readings.emplace_back("Prop", "New", 1.0);
    new_->properties = {"cap", "gen"};
    Token* york = token_at(*first, 1);
    york->readings.emplace_back("Prop", "York", 0.5);
    york->readings.back().tags = {"+Sg", "_hidden"};
    Token* is = token_at(*first, 2);
    is->readings.emplace_back("V-Pres", "be", 1.0);
    Concept* place = add_concept(*first, new_, york, "Place");
    place->flags.set(Concept::deleted);
    Concept* city = add_concept(*first, new_, york, "City");
    city->attributes.shared = std::make_shared<Attributes>();
    city->add("canonical", "New York");
    city->add("_id", "7");
    city->instance_index = -3;
    city->instance_key = "nyc";
    document->push_back(first);

    Sentence* second = make_sentence({{"doghouse", 17, 25}, {".", 25, 26}});
    Token* doghouse = token_at(*second, 0);
    MorphData compound("Nn", "doghouse", 2.25);
    compound.components.emplace_back("Nn", "dog", 1.0);
    compound.components.back().tags = {"+Sg"};
    compound.components.emplace_back("Nn", "house", 1.0);
    doghouse->readings.push_back(compound);
    document->push_back(second);
    return document;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream os;
    os << in.rdbuf();
    return os.str();
}

TEST(RawAnnotationPrinter, GoldenDumpOfASmallDocument) {
    auto document = small_document();
    std::ostringstream out;
    RawAnnotationPrinter printer(out);
    EXPECT_TRUE(printer.visit(*document));
    EXPECT_EQ(out.str(),
              read_file(std::string(TRELIX_TEST_DATA) + "/document/raw_annotations.txt"));
}

std::string dump(const Annotation* a) {
    std::ostringstream out;
    RawAnnotationPrinter printer(out);
    printer.visit(a);
    return out.str();
}

TEST(RawAnnotationPrinter, TokenLines) {
    Token bare(0, 3, "abc");
    EXPECT_EQ(dump(&bare), "  t(0,3) abc\n\t{not-found}\n");
    bare.properties = {"b", "a"};
    EXPECT_EQ(dump(&bare), "  t(0,3) abc\n\t{not-found} @(a, b, )\n");
    Token read(4, 6, "is");
    read.readings.emplace_back("V", "be", 0.125);
    EXPECT_EQ(dump(&read), "  t(4,6) is\n\tbe:V(" + std::to_string(read.readings.front().pos_id) +
                               "),r=0.125\n");
}

TEST(RawAnnotationPrinter, ConceptLines) {
    Concept c(2, 9, "Person");
    EXPECT_EQ(dump(&c), " c(2,9):Person { \n");
    c.flags.set(Concept::deleted);
    c.add("a", "1");
    EXPECT_EQ(dump(&c), "x c(2,9):Person { l:a:1;\n");
    Concept big(0x80000000u, 0xFFFFFFFFu, "Far");
    EXPECT_EQ(dump(&big), " c(-2147483648,-1):Far { \n"); // offsets print signed
}

TEST(RawAnnotationPrinter, MarkerLines) {
    Concept a(0, 5, "A"), b(3, 5, "B");
    EndAnnotation marker(5);
    marker.concepts = {&b, &a};
    EXPECT_EQ(dump(&marker), " e(5,5): }:B }:A\n");
    marker.concepts.clear();
    EndOfStream eos(5);
    EXPECT_EQ(dump(&eos), " eos(5,5):\n");
}

TEST(RawAnnotationPrinter, RangeOfOneConcept) {
    auto document = small_document();
    auto* first = static_cast<Sentence*>(document->head);
    Concept* city = static_cast<Concept*>(token_at(*first, 0)->prev);
    ASSERT_EQ(city->uri, "City");
    testing::internal::CaptureStdout();
    print_annotaion_range(city);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind(" c(0,8), lid=-3:, did=nyc::City {", 0), 0u) << out;
    EXPECT_NE(out.find("  t(4,8) York"), std::string::npos);
    EXPECT_EQ(out.find(" e("), std::string::npos); // stops before the end marker
    EXPECT_EQ(out.find("is"), std::string::npos);
}

// Records the handlers the walk calls, in order.
class Recorder : public Visitor<Recorder> {
public:
    explicit Recorder(bool descend) : Visitor<Recorder>(this), descend(descend) {}
    using Visitor<Recorder>::visit;

    void visit(const Concept& c) { log += "c:" + c.uri + " "; }
    bool visit(const Token& t) {
        log += "t:" + t.literal + " ";
        return descend;
    }
    void visit(const MorphData& m) { log += "r:" + m.stem + " "; }
    void visit(const std::string& property) { log += "p:" + property + " "; }
    void visit(const EndAnnotation&) { log += "e "; }
    void visit(const EndOfStream&) { log += "eos "; }

    bool descend;
    std::string log;
};

TEST(Visitor, DispatchesByKindAndDescendsOnRequest) {
    AnnotationCollection document;
    Sentence* sentence = make_sentence("a b");
    Token* a = token_at(*sentence, 0);
    a->readings.emplace_back("Nn", "A", 1.0);
    a->readings.emplace_back("V", "A2", 1.0);
    a->properties = {"y", "x"};
    document.push_back(sentence);

    Recorder deep(true);
    EXPECT_TRUE(deep.visit(document));
    EXPECT_EQ(deep.log, "c:Sentence t:a r:A r:A2 p:x p:y t:b e eos ");

    Recorder shallow(false);
    shallow.visit(document);
    EXPECT_EQ(shallow.log, "c:Sentence t:a t:b e eos ");

    Recorder one(true);
    EXPECT_TRUE(one.visit(static_cast<const Annotation*>(sentence)));
    EXPECT_EQ(one.log, deep.log);
}

TEST(Visitor, NestedSentencesAreWalkedDepthFirst) {
    AnnotationCollection document;
    Sentence* outer = make_sentence("a");
    Sentence* inner = make_sentence("b");
    outer->annotations.insert(outer->annotations.tail, inner); // before the end-of-stream marker
    document.push_back(outer);
    Recorder recorder(false);
    recorder.visit(document);
    EXPECT_EQ(recorder.log, "c:Sentence t:a e c:Sentence t:b e eos eos ");
}

} // namespace
} // namespace dez::trelix
