#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/lookup_streams.h"
#include "foundation/text_stream_type.h"
#include "tests/api/result_fixture.h"

namespace dez::trelix {
namespace {

using fixture::internal_of;
using fixture::TestResult;
using fixture::token_at;

TEST(InternalJson, EveryConceptWithItsFlags) {
    TestResult result;
    Sentence* s = result.sentence({{"a", 0, 1}, {"b", 2, 3}});
    auto* head = static_cast<Concept*>(s->annotations.head);
    head->add("topic", "t", store_own);
    Concept* both = fixture::add_concept(*s, token_at(*s, 0), token_at(*s, 0), "$x");
    both->flags.set(Concept::import);
    both->flags.set(Concept::deleted);
    Concept* all = fixture::add_concept(*s, token_at(*s, 1), token_at(*s, 1), "B");
    all->flags.set();
    // The "Sentence" concept and the '$' one are written, every flag as a
    // member in name order; no sentence attributes after the items.
    EXPECT_EQ(internal_of(result.document),
              R"({"sentences":[ [1,0,3,[[2,0,3,"Sentence",{"topic":["t"]},{}],)"
              R"([2,0,1,"$x",{},{"deleted":["true"],"import":["true"]}],[3,0,1,"a",[],[]],)"
              R"([2,2,3,"B",{},{"deleted":["true"],"filtered":["true"],"import":["true"],)"
              R"("shorted_match":["true"],"to_delete":["true"],"to_resolve":["true"]}],)"
              R"([3,2,3,"b",[],[]]]]],"streams" : []})");
}

TEST(InternalJson, AttributeNamesAsInThePublicForm) {
    for (const bool rule_info : {false, true}) {
        TestResult result("{}", rule_info ? R"({"dbg":"rule_info"})" : "{}");
        Sentence* s = result.sentence({{"a", 0, 1}});
        Concept* c = fixture::add_concept(*s, token_at(*s, 0), token_at(*s, 0), "C");
        c->add("_rule", "r", store_own);
        c->add("inherit_a", "1", store_own);
        const std::string json = internal_of(result.document);
        EXPECT_EQ(json.find("\"_rule\"") != std::string::npos, rule_info);
        EXPECT_EQ(json.find("inherit"), std::string::npos);
    }
}

TEST(InternalJson, Streams) {
    TestResult result;
    // No lookup ran: the array is empty and an empty collection is left.
    EXPECT_EQ(internal_of(result.document), R"({"sentences":[ ],"streams" : []})");
    ASSERT_EQ(result.document.properties.count("asi"), 1u);
    stream_collection_type& streams = get_lookup_streams(result.document);
    for (const auto& stream : streams)
        EXPECT_TRUE(stream.buffer.empty());

    streams[1].stream_type = dez::stem;
    streams[1].buffer = {'r', 'u', 'n', ' '};
    streams[6].stream_type = dez::canonical;
    const std::string text = "a\"b\n";
    streams[6].buffer.assign(text.begin(), text.end());
    EXPECT_EQ(internal_of(result.document),
              R"({"sentences":[ ],"streams" : [{ "type":"stem","text":"run "},)"
              R"({ "type":"canonical","text":"a\"b\n"}]})");
}

TEST(Metadata, ObjectOrEmpty) {
    TestResult result;
    std::ostringstream empty;
    stream_json_api_metadata(result.document, empty);
    EXPECT_EQ(empty.str(), "{}");

    result.document.set_metadata("date", "2026");
    result.document.set_metadata("date", "2027");
    std::ostringstream filled;
    stream_json_api_metadata(result.document, filled);
    EXPECT_EQ(filled.str(), R"({"date":["2026","2027"]})");
}

} // namespace
} // namespace dez::trelix
