#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <utf8.h>

#include "document/annotation_buffer.h"
#include "document/annotation_collection.h"
#include "document/sorted_offset_map.h"
#include "tests/document/sentence_fixture.h"

namespace dez::trelix {
namespace {

using fixture::add_concept;
using fixture::make_sentence;
using fixture::token_at;

template <typename Map> std::string render(const Map& map) {
    std::string out;
    for (const auto& [key, value] : map) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(key) + ":" + std::to_string(value);
    }
    return out;
}

std::string text(const annotation_stream_info& info) {
    return std::string(info.buffer.begin(), info.buffer.end());
}

MorphData& add_reading(Token* token, const std::string& stem,
                       const std::vector<std::string>& components = {}) {
    MorphData& reading = token->readings.emplace_back("Nn-Sg", stem, 0.0);
    for (const std::string& component : components)
        reading.components.emplace_back("Nn-Sg", component, 0.0);
    return reading;
}

TEST(AnnotationBuffer, LiteralStreamOfAnOrdinarySentence) {
    AnnotationCollection document;
    document.push_back(make_sentence({{"Hello", 0, 5}, {"world", 6, 11}, {".", 11, 12}}));
    const annotation_stream_info info = get_annotation_buffer(document, dez::literal);
    EXPECT_EQ(text(info), "Hello world . ");
    EXPECT_EQ(info.buffer.size(), 14u);
    EXPECT_EQ(render(info.begin_map), "0:0 6:6 11:12");
    EXPECT_EQ(render(info.end_map), "5:5 11:11 13:12");
    EXPECT_EQ(info.stream_type, 0u);
}

// Hello(0-5) Stadthäuser(6-17, components Stadt+Haus) -(18-19) ÉCOLE(20-25),
// the last two without readings; "X" over the first two words, "City Houses"
// over the second.
class AllStreams : public ::testing::Test {
protected:
    void SetUp() override {
        Sentence* sentence = make_sentence({{"Hello", 0, 5},
                                            {"Stadth\xC3\xA4user", 6, 17},
                                            {"-", 18, 19},
                                            {"\xC3\x89"
                                             "COLE",
                                             20, 25}});
        document.push_back(sentence);
        add_reading(token_at(*sentence, 0), "hello");
        add_reading(token_at(*sentence, 1), "Stadthaus", {"Stadt", "Haus"});
        add_concept(*sentence, token_at(*sentence, 1), token_at(*sentence, 1), "Houses")
            ->add("canonical", "City Houses");
        add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 1), "Outer")
            ->add("canonical", "X");
    }

    AnnotationCollection document;
};

TEST_F(AllStreams, EachStreamWithItsMaps) {
    struct Case {
        dez::text_stream_type type;
        std::string text;
        std::string begin_map;
        std::string end_map;
    };
    for (const Case& c : {
             Case{dez::literal,
                  "Hello Stadth\xC3\xA4user - \xC3\x89"
                  "COLE ",
                  "0:0 6:6 18:19 20:21", "5:5 18:17 20:19 27:25"},
             // Words without readings get offsets too.
             Case{dez::stem,
                  "hello Stadthaus - \xC3\x89"
                  "COLE ",
                  "0:0 6:6 18:16 20:18", "5:5 15:17 17:19 24:25"},
             Case{dez::normalized_literal, "hello stadthauser ecole ", "0:0 6:6 20:18",
                  "5:5 17:17 23:25"},
             Case{dez::normalized_stem, "hello stadthaus ecole ", "0:0 6:6 20:16",
                  "5:5 15:17 21:25"},
             Case{dez::component,
                  "hello stadt haus - \xC3\xA9"
                  "cole ",
                  "0:0 6:6 6:12 18:17 20:19", "5:5 11:17 16:17 18:19 25:25"},
             Case{dez::head,
                  "hello haus - \xC3\xA9"
                  "cole ",
                  "0:0 6:6 18:11 20:13", "5:5 10:17 12:19 19:25"},
             Case{dez::canonical, "X ,City Houses ,", "0:0 6:3", "1:17 14:17"},
         }) {
        const annotation_stream_info info = get_annotation_buffer(document, c.type);
        EXPECT_EQ(text(info), c.text) << c.type;
        EXPECT_EQ(render(info.begin_map), c.begin_map) << c.type;
        EXPECT_EQ(render(info.end_map), c.end_map) << c.type;
    }
}

TEST(AnnotationBuffer, NothingToWrite) {
    AnnotationCollection empty;
    AnnotationCollection no_tokens;
    no_tokens.push_back(make_sentence(std::vector<fixture::TokenDef>{}));
    AnnotationCollection words;
    words.push_back(make_sentence("a b"));
    for (int type = 0; type <= 8; ++type) {
        const auto stream = static_cast<dez::text_stream_type>(type);
        for (const AnnotationCollection* document : {&empty, &no_tokens}) {
            const annotation_stream_info info = get_annotation_buffer(*document, stream);
            EXPECT_TRUE(info.buffer.empty()) << type;
            EXPECT_TRUE(info.begin_map.empty()) << type;
            EXPECT_TRUE(info.end_map.empty()) << type;
        }
        if (type >= 7) {
            EXPECT_TRUE(get_annotation_buffer(words, stream).buffer.empty()) << type;
        }
    }
}

TEST(AnnotationBuffer, NormalizedStreamsSkipLoneDashes) {
    AnnotationCollection document;
    document.push_back(make_sentence("a - _ -- b"));
    EXPECT_EQ(text(get_annotation_buffer(document, dez::normalized_literal)), "a -- b ");
    EXPECT_EQ(text(get_annotation_buffer(document, dez::normalized_stem)), "a -- b ");
    EXPECT_EQ(text(get_annotation_buffer(document, dez::literal)), "a - _ -- b ");
}

TEST(AnnotationBuffer, TaggedTokenWritesItsComponents) {
    AnnotationCollection document;
    Sentence* sentence = make_sentence({{"ab", 0, 2}, {"cd", 3, 5}});
    document.push_back(sentence);
    token_at(*sentence, 0)->token_flags = 0x10;
    add_reading(token_at(*sentence, 0), "ab", {"a", "b"});
    add_reading(token_at(*sentence, 1), "cd");

    annotation_stream_info info = get_annotation_buffer(document, dez::stem);
    EXPECT_EQ(text(info), "a b cd ");
    EXPECT_EQ(render(info.begin_map), "0:0 0:0 0:2 3:4");
    EXPECT_EQ(info.begin_map.count(0), 3u);
    EXPECT_EQ(render(info.end_map), "1:2 3:2 6:5");

    // Without components the token leaves only its begin entry.
    token_at(*sentence, 0)->readings.front().components.clear();
    info = get_annotation_buffer(document, dez::stem);
    EXPECT_EQ(text(info), "cd ");
    EXPECT_EQ(render(info.begin_map), "0:0 3:0");
    EXPECT_EQ(render(info.end_map), "2:5");
}

TEST(AnnotationBuffer, CanonicalValueMayBeEmpty) {
    AnnotationCollection document;
    Sentence* sentence = make_sentence({{"a", 0, 1}, {"b", 2, 3}});
    document.push_back(sentence);
    add_concept(*sentence, token_at(*sentence, 0), token_at(*sentence, 0), "One")
        ->add("canonical", "z");
    add_concept(*sentence, token_at(*sentence, 1), token_at(*sentence, 1), "Empty")
        ->add("canonical", "");
    add_concept(*sentence, token_at(*sentence, 1), token_at(*sentence, 1), "None");
    const annotation_stream_info info = get_annotation_buffer(document, dez::canonical);
    EXPECT_EQ(text(info), "z , ,");
    EXPECT_EQ(render(info.begin_map), "0:0 2:3");
    EXPECT_EQ(render(info.end_map), "1:1 3:3");
}

TEST(AnnotationBuffer, InvalidCodePointCutsItsWordShort) {
    AnnotationCollection document;
    Sentence* sentence = make_sentence({{"x", 0, 1}, {"y", 2, 3}});
    document.push_back(sentence);
    add_reading(token_at(*sentence, 0), "ab\xED\xA0\x80"
                                        "cd");
    add_reading(token_at(*sentence, 1), "y");
    testing::internal::CaptureStdout();
    const annotation_stream_info info = get_annotation_buffer(document, dez::stem);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning utf8::invalid_code_point\n");
    EXPECT_EQ(text(info), "ab y ");
    EXPECT_EQ(render(info.end_map), "2:1 4:3");

    token_at(*sentence, 0)->readings.front().stem = "a\x80";
    EXPECT_THROW(get_annotation_buffer(document, dez::stem), utf8::invalid_utf8);
    EXPECT_NO_THROW(get_annotation_buffer(document, dez::literal));
}

TEST(SortedOffsetMap, KeepsMapAndMultimapOrder) {
    SortedOffsetMap<int32_t, uint64_t, false> multi;
    for (auto [key, value] : std::vector<std::pair<int32_t, uint64_t>>{
             {1, 10}, {3, 30}, {3, 31}, {2, 20}, {3, 32}, {0, 0}, {2, 21}})
        multi.insert({key, value});
    EXPECT_EQ(render(multi), "0:0 1:10 2:20 2:21 3:30 3:31 3:32");
    EXPECT_EQ(multi.count(3), 3u);
    EXPECT_EQ(multi.find(2)->second, 20u);
    EXPECT_EQ(multi.find(5), multi.end());
    EXPECT_EQ(multi.lower_bound(2)->second, 20u);
    EXPECT_EQ(multi.upper_bound(2)->second, 30u);

    SortedOffsetMap<uint64_t, uint64_t, true> unique;
    EXPECT_TRUE(unique.insert({5, 1}).second);
    EXPECT_FALSE(unique.insert({5, 2}).second);
    EXPECT_TRUE(unique.insert({2, 3}).second);
    EXPECT_FALSE(unique.insert({2, 4}).second);
    EXPECT_TRUE(unique.insert({9, 5}).second);
    EXPECT_EQ(render(unique), "2:3 5:1 9:5");
}

} // namespace
} // namespace dez::trelix
