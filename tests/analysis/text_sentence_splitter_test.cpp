#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/analyzer.h"
#include "analysis/text_sentence_splitter.h"
#include "document/blackboard.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/unicode_code_points.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/document/log_capture.h"

namespace dez::trelix {
namespace {

// Abbreviations of the test language, when a case asks for them.
const char* const known_abbreviations = "U\\.S\\.|e\\.g\\.|Dr\\.|iv\\.";

// One document of a test language: no abbreviation expression unless asked,
// analyzer and document options as given.
struct SplitDocument {
    explicit SplitDocument(bool abbreviations = false, const char* analyzer_options = "{}",
                           const char* document_options = "{}",
                           const char* language_config = nullptr)
        : analyzer(analyzer_options, module(abbreviations, language_config)) {
        document = fixture::make_blackboard(analyzer, document_options);
        document->set_analyzer(analyzer.handle.analyzer);
    }

    static std::shared_ptr<LanguageModule> module(bool abbreviations, const char* config) {
        auto made = fixture::make_language_module("english");
        if (abbreviations)
            made->data->abbreviations = known_abbreviations;
        if (config) {
            auto json = nlohmann::json::parse(config);
            json["tokenizer_locale"] = "en";
            made->data->config = std::make_shared<nlohmann::json>(json);
        }
        return made;
    }

    void split(const std::string& text) {
        document->analyzer->text_to_annotations_v2(*document, text.data(), text.size());
    }

    // Sentences are tokenized as they are committed, so each one ends with
    // its last token (white space at a cut is not part of it).
    // "begin:text" per sentence of the sentence table, read from the
    // document's own text.
    std::vector<std::string> sentences() const {
        std::vector<std::string> out;
        for (const auto& [begin, info] : document->sentences) {
            const Sentence* s = info.sentence;
            out.push_back(std::to_string(s->begin) + ":" +
                          std::string(document->text + s->begin, s->end - s->begin));
        }
        return out;
    }

    std::vector<std::pair<uint32_t, uint32_t>> spans() const {
        std::vector<std::pair<uint32_t, uint32_t>> out;
        for (const auto& entry : document->sentences)
            out.emplace_back(entry.second.sentence->begin, entry.second.sentence->end);
        return out;
    }

    // "begin-end:kind" per span record, in text order. The tokenizer takes
    // the records it uses off the queue and marks the token it makes of each
    // (bit 0: known abbreviation, bit 1: header prefix); what it left stays.
    std::vector<std::string> hints() const {
        std::vector<std::pair<uint32_t, std::string>> found;
        for (Annotation* a = document->annotations->head; a; a = a->next)
            for (Annotation* t = static_cast<Sentence*>(a)->annotations.head; t; t = t->next) {
                if (t->type != annotation_token)
                    continue;
                const auto* token = static_cast<const Token*>(t);
                const uint64_t kind =
                    ((token->token_flags & token_flags::known_abbreviation) ? 1 : 0) |
                    ((token->token_flags & token_flags::header_prefix) ? 2 : 0);
                if (kind)
                    found.emplace_back(token->begin, std::to_string(token->begin) + "-" +
                                                         std::to_string(token->end) + ":" +
                                                         std::to_string(kind));
            }
        for (const AbbreviationRange& r : document->abbreviation_ranges)
            found.emplace_back(r.begin, std::to_string(r.begin) + "-" + std::to_string(r.end) +
                                            ":" + std::to_string(r.kind));
        std::stable_sort(found.begin(), found.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::string> out;
        for (auto& entry : found)
            out.push_back(std::move(entry.second));
        return out;
    }

    // The sentence table and the annotation collection must tell the same.
    void expect_consistent() const {
        size_t listed = 0;
        for (Annotation* a = document->annotations->head; a; a = a->next, ++listed) {
            ASSERT_LT(listed, document->sentences.size());
            EXPECT_EQ(document->sentences[listed].second.sentence, a);
            EXPECT_EQ(document->sentences[listed].first, a->begin);
            EXPECT_FALSE(static_cast<Sentence*>(a)->annotations.empty());
        }
        EXPECT_EQ(listed, document->sentences.size());
    }

    fixture::TestAnalyzer analyzer;
    std::unique_ptr<Blackboard> document;
};

using Strings = std::vector<std::string>;

std::string repeat(const std::string& unit, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += unit;
    return out;
}

struct SplitCase {
    const char* name;
    std::string text;
    Strings sentences;
    Strings hints = {};
    bool abbreviations = false;
    const char* document_options = "{}";
};

TEST(TextSentenceSplitter, RulesCutTheTextIntoSentences) {
    const SplitCase cases[] = {
        {"empty text", "", {}},
        {"only whitespace", "  \n\t \r\n ", {}},
        {"leading whitespace is skipped", "  \n Hello", {"4:Hello"}},
        {"two sentences", "Hello world. This is it.", {"0:Hello world.", "13:This is it."}},
        // At a line start "e.g." also reads as a lettered list prefix.
        {"no capital after the period", "e.g. this", {"0:e.g. this"}, {"0-4:2"}},
        {"no capital after an abbreviation", "Use e.g. this", {"0:Use e.g. this"}},
        {"a number with a period", "3.14 is pi", {"0:3.14 is pi"}},
        {"period before a line break",
         "It ends here.\nand goes on",
         {"0:It ends here.", "14:and goes on"}},
        {"question and exclamation marks run together", "Really?! Yes.", {"0:Really?!", "9:Yes."}},
        {"exclamation before a lower-case word", "Wow! really", {"0:Wow! really"}},
        {"inverted marks begin a sentence",
         "\xC2\xBFQu\xC3\xA9? \xC2\xA1S\xC3\xAD!",
         {"0:\xC2\xBFQu\xC3\xA9?", "8:\xC2\xA1S\xC3\xAD!"}},
        {"a lone period after a parenthesis", "(see above). Next", {"0:(see above).", "13:Next"}},
        {"a quote after the period",
         "He said. \xE2\x80\x9CYes.\xE2\x80\x9D",
         {"0:He said. \xE2\x80\x9CYes.\xE2\x80\x9D"}},
        {"an ellipsis before a capital",
         "Wait\xE2\x80\xA6 Then more",
         {"0:Wait\xE2\x80\xA6", "8:Then more"}},
        {"cut inside a word after its period",
         "Dr.Smith went home.",
         {"0:Dr.", "3:Smith went home."}},
        {"abbreviation unknown to the language", "U.S. Army", {"0:U.S.", "5:Army"}},
        {"abbreviation known to the language", "U.S. Army", {"0:U.S. Army"}, {"0-4:1"}, true},
        {"known abbreviation inside a sentence",
         "Ask Dr. Who now.",
         {"0:Ask Dr. Who now."},
         {"4-7:1"},
         true},
        {"numbered header with a parenthesis",
         "1) Introduction\nThe text.",
         {"0:1) Introduction", "16:The text."},
         {"0-2:2"}},
        {"parenthesis header needs the sentence start",
         "See 1) Introduction",
         {"0:See 1) Introduction"}},
        {"closing parenthesis before a capitalised line",
         "See (the note)\nNext line",
         {"0:See (the note)", "15:Next line"}},
        {"numbered header with a period",
         "Some text\n1. Introduction\nmore",
         {"0:Some text", "10:1. Introduction\nmore"},
         {"10-12:2"}},
        {"header prefix that is an abbreviation too",
         "See\niv. Annex",
         {"0:See", "4:iv. Annex"},
         {"4-7:3"},
         true},
        {"markdown heading after a blank line",
         "Intro line\n\n## Title\nMore text.",
         {"0:Intro line", "12:## Title", "21:More text."},
         {"12-14:2"}},
        {"heading indented by three",
         "Intro\n\n   # Title\nMore",
         {"0:Intro", "10:# Title", "18:More"},
         {"10-11:2"}},
        {"heading indented by four is no heading",
         "Intro line\n\n    ## Title\nMore text.",
         {"0:Intro line", "16:## Title\nMore text."}},
        {"seven hashes are no heading", "####### x\nmore", {"0:####### x\nmore"}},
        {"mail header lines",
         "From: a\nTo: b\nSubject: c",
         {"0:From: a", "8:To: b", "14:Subject: c"}},
        {"field line before a capitalised line",
         "Date: today\nThe meeting",
         {"0:Date: today", "12:The meeting"}},
        {"colon before a lower-case line", "Note: this\nand that", {"0:Note: this\nand that"}},
        {"wrapped lines end at the fourth single break",
         "one line\ntwo line\nthree line\nfour line\nfive line",
         {"0:one line\ntwo line\nthree line\nfour line", "39:five line"}},
        {"the limit comes from sentyziser",
         "one line\ntwo line\nthree line\nfour line\nfive line",
         {"0:one line\ntwo line\nthree line", "29:four line\nfive line"},
         {},
         false,
         R"({"sentyziser":"2"})"},
        {"only the first part of sentyziser counts",
         "one\ntwo\nthree",
         {"0:one\ntwo", "8:three"},
         {},
         false,
         R"({"sentyziser":"1,7"})"},
        {"a leading empty line does not count",
         "\none\ntwo",
         {"1:one\ntwo"},
         {},
         false,
         R"({"sentyziser":"1"})"},
        {"blank line", "First part\n\nSecond part", {"0:First part", "12:Second part"}},
        {"carriage return and line feed",
         "First line\r\nSecond line\r\nThird",
         {"0:First line", "12:Second line", "25:Third"}},
        {"bullets start sentences",
         "Items are\n- one\n- two\n--not a bullet",
         {"0:Items are", "10:- one", "16:- two\n--not a bullet"}},
        {"star bullet after indentation", "See\n  * star", {"0:See", "6:* star"}},
        {"code fence makes every line a sentence",
         "Text before\n```\ncode a\ncode b\n```\nafter",
         {"0:Text before\n```", "16:code a", "23:code b", "30:```\nafter"}},
        {"two backticks are no fence", "a ``b\nc`` d", {"0:a ``b\nc`` d"}},
        {"hyphenated word across a line break",
         "An exam-\nple text here.",
         {"0:An example   text here."}},
        {"hyphen join over spaces and a blank line",
         "An exam-  \n\nple text",
         {"0:An example      text"}},
        {"no join before a capital", "An exam-\nPle", {"0:An exam-\nPle"}},
        {"no join after a double hyphen", "An exam--\nple", {"0:An exam--\nple"}},
        {"no join into a committed header",
         "1) exam-\nple text",
         {"0:1) exam-", "9:ple text"},
         {"0-2:2"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        SplitDocument split(c.abbreviations, "{}", c.document_options);
        split.split(c.text);
        EXPECT_EQ(split.sentences(), c.sentences);
        EXPECT_EQ(split.hints(), c.hints);
        split.expect_consistent();
    }
}

TEST(TextSentenceSplitter, FieldAndValueLimits) {
    // TRELIX_MAX_FIELD_SIZE (60): the ':' may stand at most 60 bytes after the
    // sentence start; TRELIX_MAX_VALUE_SIZE (80): the value and its line break
    // take less than 80 bytes.
    ASSERT_EQ(max_field_size, 60);
    ASSERT_EQ(max_value_size, 80);
    struct Case {
        const char* name;
        std::string first_line;
        bool cut;
    };
    const Case cases[] = {
        {"field of 59 bytes", std::string(59, 'k') + ": v", true},
        {"field of 60 bytes", std::string(60, 'k') + ": v", false},
        {"value of 78 bytes", "Key: " + std::string(78, 'v'), true},
        {"value of 79 bytes", "Key: " + std::string(79, 'v'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplitDocument split;
        split.split(c.first_line + "\nTo: x");
        EXPECT_EQ(split.sentences().size(), c.cut ? 2u : 1u);
    }
}

TEST(TextSentenceSplitter, OverLongSentencesAreCut) {
    std::string words;
    for (int i = 0; i < 249; ++i)
        words += "abcd ";
    words += "abcd"; // 1249 bytes, a space every fifth byte

    std::string lines;
    for (int i = 0; i < 119; ++i)
        lines += "abcd ";
    lines += "abcd\n"; // a line break at 599
    lines += words.substr(0, 700);

    using Spans = std::vector<std::pair<uint32_t, uint32_t>>;
    struct Case {
        const char* name;
        std::string text;
        Spans spans;
    };
    const Case cases[] = {
        // At the space that passes 1024 bytes the next word still joins.
        {"1024 bytes of words", words, {{0, 1029}, {1030, 1249}}},
        // A line break within the last 1023 bytes ends the sentence instead.
        {"1024 bytes with an earlier line break", lines, {{0, 599}, {600, 1299}}},
        // The line break lies more than 1023 bytes back and no space follows
        // the next word: the cut stays where the limit was passed.
        {"1024 bytes with a distant line break",
         "x\n" + std::string(1500, 'a') + " more",
         {{0, 1502}, {1503, 1507}}},
        {"2048 bytes without a space", std::string(3000, 'a'), {{0, 2049}, {2049, 3000}}},
        {"2048 bytes and a space later",
         std::string(2100, 'a') + " tail",
         {{0, 2100}, {2101, 2105}}},
        {"2048 bytes of two-byte letters", repeat("\xC3\xA9", 1100), {{0, 2050}, {2050, 2200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplitDocument split;
        split.split(c.text);
        EXPECT_EQ(split.spans(), c.spans);
        split.expect_consistent();
    }
}

TEST(TextSentenceSplitter, HyphenJoinLeavesTheCallersTextAlone) {
    const std::string text = "An exam-\nple text here. And a bro-\nken one.";
    const std::string original = text;
    SplitDocument split;
    split.split(text);
    EXPECT_EQ(text, original);
    EXPECT_EQ(split.document->text_copy, "An example   text here. And a broken   one.");
    EXPECT_EQ(split.document->text_length, original.size());
    EXPECT_EQ(split.document->text, split.document->text_copy.c_str());
    EXPECT_EQ(split.sentences(), (Strings{"0:An example   text here.", "24:And a broken   one."}));

    // Handed the document's own copy, the splitter rewrites it where it is.
    SplitDocument own;
    own.document->set_text(original.data(), original.size());
    const char* copy = own.document->text;
    own.document->analyzer->text_to_annotations_v2(*own.document, copy, own.document->text_length);
    EXPECT_EQ(own.document->text, copy);
    EXPECT_EQ(own.document->text_copy, split.document->text_copy);

    // The switch is an analyzer option; a document cannot turn the join off.
    SplitDocument document_off(false, "{}", R"({"resolve_hyphen":"false"})");
    document_off.split(text);
    EXPECT_EQ(document_off.document->text_copy, split.document->text_copy);

    SplitDocument off(false, R"({"resolve_hyphen":"false"})");
    off.split(text);
    EXPECT_EQ(off.document->text_copy, original);
    EXPECT_EQ(off.sentences(), (Strings{"0:An exam-\nple text here.", "24:And a bro-\nken one."}));
}

TEST(TextSentenceSplitter, SentyziserOption) {
    auto& log = fixture::runtime_log();
    const std::string text = "one\ntwo\nthree\nfour\nfive";
    struct Case {
        const char* name;
        const char* document_options;
        const char* language_config;
        Strings sentences;
        const char* logged;
    };
    const Case cases[] = {
        {"not a number: logged, limit 3",
         R"({"sentyziser":"abc"})",
         nullptr,
         {"0:one\ntwo\nthree\nfour", "19:five"},
         "Cannot convert option to int:abc"},
        {"leading space and sign",
         R"({"sentyziser":" +1"})",
         nullptr,
         {"0:one\ntwo", "8:three\nfour", "19:five"},
         nullptr},
        {"from the language configuration",
         "{}",
         R"({"sentyziser":"1"})",
         {"0:one\ntwo", "8:three\nfour", "19:five"},
         nullptr},
        {"the document overrides the language",
         R"({"sentyziser":"9"})",
         R"({"sentyziser":"1"})",
         {"0:one\ntwo\nthree\nfour\nfive"},
         nullptr},
        {"empty option means 3",
         R"({"sentyziser":""})",
         nullptr,
         {"0:one\ntwo\nthree\nfour", "19:five"},
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        SplitDocument split(false, "{}", c.document_options, c.language_config);
        split.split(text);
        EXPECT_EQ(split.sentences(), c.sentences);
        bool found = false;
        for (const auto& [level, line] : log)
            if (c.logged && level == dez::wlog::level_error && line == c.logged)
                found = true;
        EXPECT_EQ(found, c.logged != nullptr);
    }
}

TEST(TextSentenceSplitter, FailuresSayTheDocumentCouldNotBeProcessed) {
    struct Case {
        const char* name;
        const char* document_options;
        std::string text;
        std::string message;
        size_t sentences_kept;
    };
    const Case cases[] = {
        {"sentyziser beyond 32 bits", R"({"sentyziser":"99999999999"})", "Some text",
         "Could not process document: stoi", 0},
        {"invalid UTF-8 after a sentence", "{}", "Fine.\n\nBad \xFF byte",
         "Could not process document: Invalid UTF-8", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplitDocument split(false, "{}", c.document_options);
        try {
            split.split(c.text);
            ADD_FAILURE() << "no failure";
        } catch (const dez::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(split.document->sentences.size(), c.sentences_kept);
        split.expect_consistent();
    }
}

TEST(TextSentenceSplitterHelpers, HeaderPrefixPattern) {
    EXPECT_EQ(get_header_prefix(), "(:?(:?[0-9]{1,2}[a-z]?[.)]){1,4}|(:?[a-z][1-9]?[.)]){1,4}|"
                                   "[XIVxiv]{1,5}[.)]|#{1,6})");
    struct Case {
        const char* span;
        bool header;
    };
    const Case cases[] = {
        {"1)", true},    {"12.", true},    {"1.2.3.4.", true}, {"2a)", true},
        {"a)", true},    {"b1.", true},    {"iv.", true},      {"XII)", true},
        {"#", true},     {"######", true}, {":1)", true},      {"1.2.3.4.5.", false},
        {"123.", false}, {"A)", false},    {"1", false},       {"#######", false},
        {"Dr.", false},  {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(header_prefix_pattern.regex_match(c.span), c.header) << c.span;
}

TEST(TextSentenceSplitterHelpers, Predicates) {
    struct Case {
        const char* name;
        bool (*test)(uint32_t);
        std::vector<uint32_t> yes;
        std::vector<uint32_t> no;
    };
    const Case cases[] = {
        {"end_of_sentence", end_of_sentence, {'!', '.', '?', 0x2026}, {',', ';', 0xBF}},
        {"end_of_sentence_QE", end_of_sentence_QE, {'!', '?'}, {'.', 0x2026}},
        {"is_ellipsis", is_ellipsis, {0x2026}, {'.'}},
        {"abbrev_allowed_abbrev",
         abbrev_allowed_abbrev,
         {'a', 'Z', '7', 0xE9, '-', '.', '/', ':', '@'},
         {',', ' ', '(', '_', 0x2026}},
        {"abbrev_begin", abbrev_begin, {'\n', '\r', '\t', ' '}, {0xA0, 'a'}},
        {"abbrev_end", abbrev_end, {'.', '@', '/', 'x', '4', 0xE9}, {'-', ':', ' '}},
        {"has_internet_sym", has_internet_sym, {'@', '/'}, {'.'}},
        {"has_dots", has_dots, {'.'}, {0x2026}},
        {"is_bullet_point", is_bullet_point, {'-', '*', '+'}, {0x2022, '#'}},
        {"token_delimiter", token_delimiter, {' ', '\n', ',', '!', 0xA1, 0xBF, '('}, {'a', '5'}},
        {"header_end", header_end, {')', 'a', '5'}, {' ', '.', '('}},
    };
    for (const Case& c : cases) {
        for (uint32_t ch : c.yes)
            EXPECT_TRUE(c.test(ch)) << c.name << " U+" << std::hex << ch;
        for (uint32_t ch : c.no)
            EXPECT_FALSE(c.test(ch)) << c.name << " U+" << std::hex << ch;
    }
    EXPECT_TRUE(end_of_sentence_crfl('.', true));
    EXPECT_FALSE(end_of_sentence_crfl('.', false));
    EXPECT_FALSE(end_of_sentence_crfl('!', true));
}

TEST(TextSentenceSplitterHelpers, LineBreakBeforeTheNextSentence) {
    struct Case {
        std::string text;
        bool line_break;
    };
    const Case cases[] = {
        {" \t\nNext", true}, {"  Next", false}, {"\xC2\xA0\n", true}, {"", false}, {"x\n", false},
    };
    for (const Case& c : cases) {
        const char* p = c.text.data();
        EXPECT_EQ(has_crlf_until_next_sentence_condition(p, p + c.text.size()), c.line_break)
            << c.text;
    }
}

TEST(TextSentenceSplitterHelpers, EndOfHeader) {
    struct Case {
        std::string text;
        bool found;
        long position; // -1 for the end of the text
    };
    const Case cases[] = {
        {" Introduction\nText", true, 13},
        {" Intro\r\n", true, 6},
        {" Introduction. Text", true, 14}, // a period after six code points
        {" Int. Text", true, -1},          // too early: read on to the end
        {" Version 1.2", true, -1},
        {std::string(100, 'x') + "\n", true, 100},
        {std::string(101, 'x') + "\n", false, -1},
    };
    for (const Case& c : cases) {
        const char* begin = c.text.data();
        const char* end = begin + c.text.size();
        auto [found, at] = find_end_of_header(begin, end);
        EXPECT_EQ(found, c.found) << c.text;
        EXPECT_EQ(at, c.position < 0 ? end : begin + c.position) << c.text;
    }
}

TEST(TextSentenceSplitterHelpers, CutConditions) {
    // Each text holds the mark at `mark`; the helpers see the positions the
    // splitter would give them.
    struct Case {
        const char* name;
        std::string text;
        size_t mark;
        long expected; // -1: no cut
    };
    const Case after_marks[] = {
        {"'?' before a capital", "Why? Yes", 3, 5},
        {"'?' before a lower-case word", "Why? yes", 3, -1},
        {"'!' before another '!'", "No! !", 2, 4},
        {"the mark ends the text", "Why?", 3, -1},
        {"ellipsis before a quote", "So\xE2\x80\xA6 \xE2\x80\x9CYes", 2, -1},
        {"ellipsis without space", "So\xE2\x80\xA6Yes", 2, -1},
        {"ellipsis before a capital", "So\xE2\x80\xA6 Yes", 2, 6},
    };
    for (const Case& c : after_marks) {
        const char* begin = c.text.data();
        const char* end = begin + c.text.size();
        const char* previous = begin + c.mark;
        const char* cursor = previous;
        dez::string::unicode::next(cursor, end);
        const char* next = cursor;
        bool newline = false;
        while (next < end && (*next == ' ' || *next == '\n')) {
            newline = newline || *next == '\n';
            ++next;
        }
        const char* got = sentence_begin_condition(previous, cursor, next, end, newline);
        EXPECT_EQ(got, c.expected < 0 ? end : begin + c.expected) << c.name;
    }

    struct WordCase {
        const char* name;
        std::string text;
        size_t token;
        size_t period;
        size_t token_end;
        long expected;
    };
    const WordCase after_words[] = {
        {"word before a capital", "end. The", 0, 3, 4, 4},
        {"word before a colon", "end. :x", 0, 3, 4, -1},
        {"digit ends the word", "1.5 X", 0, 1, 3, -1},
        {"degree sign ends the word", "a.\xC2\xB0 X", 0, 1, 4, -1},
        {"cut inside the word", "Dr.Smith x", 0, 2, 8, 3},
        {"mail address", "a.Bc@d x", 0, 1, 6, -1},
        {"second period in the word", "a.B.c x", 0, 1, 5, -1},
        {"lower case after the period", "a.bc x", 0, 1, 4, -1},
        {"inverted mark after the word", "a.bc \xC2\xA1x", 0, 1, 4, 4},
    };
    for (const WordCase& c : after_words) {
        const char* begin = c.text.data();
        const char* end = begin + c.text.size();
        const char* token_end = begin + c.token_end;
        const char* next = token_end;
        while (next < end && *next == ' ')
            ++next;
        const char* got = in_abbrev_sentence_begin_condition(begin + c.period + 1, begin + c.token,
                                                             token_end, next, end, false);
        EXPECT_EQ(got, c.expected < 0 ? end : begin + c.expected) << c.name;
    }
}

} // namespace
} // namespace dez::trelix
