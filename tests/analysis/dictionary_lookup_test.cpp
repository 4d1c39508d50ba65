#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/dictionary_lookup.h"
#include "analysis/lookup_cache.h"
#include "analysis/lookup_proxy.h"
#include "analysis/token_properties.h"
#include "document/token_flags.h"
#include "tests/analysis/lookup_fixture.h"
#include "tests/document/log_capture.h"

namespace dez::trelix {
namespace {

using fixture::ChainDocument;
using fixture::ChainModule;
using fixture::plain;
using fixture::properties_of;
using fixture::readings_of;
using fixture::token_at;
using Strings = std::vector<std::string>;

// A sentence of space-separated words whose tokens carry their shape
// properties, as the tokenizer leaves them.
Sentence* sentence_of(ChainDocument& document, const std::string& text, uint32_t offset = 0) {
    Sentence* sentence = fixture::add_sentence(*document.document, text, offset);
    for (Annotation* a = sentence->annotations.head; a; a = a->next)
        if (a->type == annotation_token)
            add_properties(static_cast<Token*>(a));
    return sentence;
}

bool has(const Token* token, const char* property) {
    return token->properties.count(property) > 0;
}

TEST(Attachment, NothingWithoutAChain) {
    ChainDocument document{ChainModule{}};
    Sentence* sentence = sentence_of(document, "cat");
    add_dictionary_lookup_information(*document.document);
    EXPECT_TRUE(token_at(*sentence, 0)->readings.empty());
}

TEST(Attachment, FirstWordsGetInitToken) {
    ChainModule chains;
    chains.chain = {plain({"Hello:hello[+Interj]", "world:world[+Nn]"}), fixture::icu()};
    ChainDocument document(chains);
    Sentence* colon = sentence_of(document, "Hello : World");
    Sentence* quoted = sentence_of(document, "\" Hello world", 14);
    Token* quote = token_at(*quoted, 0);
    quote->readings.emplace_back("Punct-Quote", "\"", 1.0);
    quote->token_flags |= token_flags::rule_reading;
    add_dictionary_lookup_information(*document.document);

    EXPECT_TRUE(has(token_at(*colon, 0), "init-token"));
    EXPECT_FALSE(has(token_at(*colon, 1), "init-token"));
    EXPECT_EQ(readings_of(*token_at(*colon, 1)), Strings{":/Punct@1.00"});
    EXPECT_TRUE(has(token_at(*colon, 2), "init-token"));
    // "World" is known lower-cased only.
    EXPECT_EQ(readings_of(*token_at(*colon, 2)), Strings{"world/Nn@1.00"});

    EXPECT_FALSE(has(quote, "init-token"));
    EXPECT_EQ(readings_of(*quote), Strings{"\"/Punct-Quote@1.00"});
    EXPECT_TRUE(has(token_at(*quoted, 1), "init-token"));
    EXPECT_FALSE(has(token_at(*quoted, 2), "init-token"));
}

TEST(Attachment, SentenceInitialWordsAlsoLowerCased) {
    ChainModule chains;
    chains.chain = {plain({"The:The[+Prop]", "the:the[+Det]", "Owl:Owl[+Prop]", "owl:owl[+Nn]"})};
    struct Case {
        const char* options;
        Strings first;
    };
    const Case cases[] = {
        {"{}", {"The/Prop@0.50", "the/Det@0.50"}},
        {R"({"initial_lower_casing":"false"})", {"The/Prop@1.00"}},
    };
    for (const Case& c : cases) {
        ChainDocument document(chains, "{}", c.options);
        Sentence* sentence = sentence_of(document, "The Owl");
        add_dictionary_lookup_information(*document.document);
        EXPECT_EQ(readings_of(*token_at(*sentence, 0)), c.first) << c.options;
        // Only the first word.
        EXPECT_EQ(readings_of(*token_at(*sentence, 1)), Strings{"Owl/Prop@1.00"}) << c.options;
    }
}

TEST(Attachment, UnknownWords) {
    ChainModule chains;
    chains.chain = {plain({"cat:cat[+Nn]"})};
    chains.guessers = {plain({"blick:blick[+Nn+guess]", "plonk:plonk[+Nn+cleanup]"})};
    struct Case {
        std::string literal;
        Strings with_guesser;
        Strings without_guesser;
        bool nf_with_guesser;
    };
    const Case cases[] = {
        {"\xC2\xA7", {"\xC2\xA7/Punct@1.00"}, {"\xC2\xA7/Punct@1.00"}, true},
        {"X", {"X/Prop-Std@1.00"}, {"X/Prop-Std@1.00"}, true},
        {"x", {"x/Nn-Std@1.00"}, {"x/Nn-Std@1.00"}, true},
        {"blick", {"blick/Nn[guess]@1.00"}, {"blick/Nn-Std@1.00"}, true},
        {"plonk", {"plonk/Nn[cleanup]@1.00"}, {"plonk/Nn-Std@1.00"}, false},
        {"Zorp", {"Zorp/Prop-Std@1.00"}, {"Zorp/Nn-Std@1.00"}, true},
        {"zorp", {"zorp/Nn-Std@1.00"}, {"zorp/Nn-Std@1.00"}, true},
        {"cat", {"cat/Nn@1.00"}, {"cat/Nn@1.00"}, false},
    };
    for (const char* options : {"{}", R"({"guesser":"false"})"}) {
        const bool guesser = std::string(options) == "{}";
        ChainDocument document(chains, options);
        std::vector<Sentence*> sentences;
        for (const Case& c : cases)
            sentences.push_back(sentence_of(document, "the " + c.literal));
        add_dictionary_lookup_information(*document.document);
        for (std::size_t i = 0; i < sentences.size(); ++i) {
            const Case& c = cases[i];
            const Token* token = token_at(*sentences[i], 1);
            EXPECT_EQ(readings_of(*token), guesser ? c.with_guesser : c.without_guesser)
                << c.literal << " " << options;
            const bool nf = guesser ? c.nf_with_guesser : c.literal != "cat";
            EXPECT_EQ(has(token, "nf"), nf) << c.literal << " " << options;
        }
    }
}

TEST(Attachment, CapitalsRetriedPerCodePoint) {
    ChainModule chains;
    chains.chain = {plain({"\xC3\x89"
                           "cole:\xC3\xA9"
                           "cole[+Nn]",
                           "cat:cat[+Nn]", "Cat:Cat[+Prop]"}),
                    plain({"dog:dog[+Nn]"})};
    ChainDocument document(chains);
    // "ÉCOLE" is tried as "École": the capital is a code point, not a byte.
    Sentence* sentence = sentence_of(document, "so \xC3\x89"
                                               "COLE CAT DOG");
    add_dictionary_lookup_information(*document.document);
    EXPECT_EQ(readings_of(*token_at(*sentence, 1)), Strings{"\xC3\xA9"
                                                            "cole/Nn@1.00"});
    EXPECT_EQ(readings_of(*token_at(*sentence, 2)), (Strings{"Cat/Prop@0.50", "cat/Nn@0.50"}));
    EXPECT_EQ(readings_of(*token_at(*sentence, 3)), Strings{"dog/Nn@1.00"});
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(has(token_at(*sentence, i), "nf")) << i;
}

TEST(Attachment, HeaderSentences) {
    ChainModule chains;
    chains.chain = {plain({"news:news[+Nn]", "big:big[+Adj]"})};
    for (bool detect : {true, false}) {
        chains.detect_headers = detect;
        ChainDocument document(chains);
        Sentence* sentence = sentence_of(document, "Big News Today");
        add_dictionary_lookup_information(*document.document);
        auto* head = static_cast<Concept*>(sentence->annotations.head);
        EXPECT_EQ(head->has_attribute("header"), detect);
        EXPECT_EQ(readings_of(*token_at(*sentence, 1)),
                  detect ? Strings{"news/Nn@1.00"} : Strings{"News/Prop-Std@1.00"});
    }
}

TEST(Attachment, NumbersWithLetters) {
    ChainModule chains;
    chains.chain = {plain({"Ab1:Ab1[+Num]", "a1b:a1b[+Num]", "B2:B2[+Num+_not_a_noun_]",
                           "\xC3\x89"
                           "a1:x[+Num]"})};
    ChainDocument document(chains);
    Sentence* sentence = sentence_of(document, "the Ab1 a1b B2 \xC3\x89"
                                               "a1");
    add_dictionary_lookup_information(*document.document);
    EXPECT_EQ(readings_of(*token_at(*sentence, 1)), Strings{"Ab1/Prop-Std@1.00"});
    EXPECT_EQ(readings_of(*token_at(*sentence, 2)), Strings{"a1b/Nn-Std@1.00"});
    EXPECT_EQ(readings_of(*token_at(*sentence, 3)), Strings{"B2/Num[_not_a_noun_]@1.00"});
    // Case is read per code point: "Éa1" starts with a capital and a small letter.
    EXPECT_EQ(readings_of(*token_at(*sentence, 4)), Strings{"x/Prop-Std@1.00"});
}

TEST(Attachment, TokensWhoseReadingsComeFromElsewhere) {
    ChainModule chains;
    chains.chain = {plain({"cat:cat[+Nn]", "Mr.:mister[+Nn]"})};
    chains.named = {{"Mention", {plain({"@cat:cat[+Prop+handle]"})}}};
    ChainDocument document(chains);
    Sentence* sentence = sentence_of(document, "cat <b_class=x> cat @cat cat e.g. 3. Mr.");
    Token* markup = token_at(*sentence, 1);
    markup->literal = "<b class=x>";
    markup->token_flags |= token_flags::markup;
    token_at(*sentence, 2)->token_flags |= token_flags::no_lookup;
    Token* mention = token_at(*sentence, 3);
    mention->token_flags |= token_flags::property_lookup;
    mention->properties.insert("Mention");
    Token* fixed = token_at(*sentence, 4);
    fixed->token_flags |= token_flags::rule_reading;
    fixed->readings.emplace_back("Nn-Sym", "cat", 1.0);
    for (int i = 5; i <= 7; ++i)
        token_at(*sentence, i)->token_flags |= token_flags::known_abbreviation;
    add_dictionary_lookup_information(*document.document);

    EXPECT_EQ(readings_of(*markup), Strings{"<b>/Markup@1.00"});
    EXPECT_TRUE(token_at(*sentence, 2)->readings.empty());
    EXPECT_EQ(readings_of(*mention), Strings{"cat/Prop[handle]@1.00"});
    EXPECT_EQ(readings_of(*fixed), Strings{"cat/Nn-Sym@1.00"});
    EXPECT_EQ(readings_of(*token_at(*sentence, 5)), Strings{"e.g./Nn-Std@0.10"});
    EXPECT_EQ(readings_of(*token_at(*sentence, 6)), Strings{"3./Num-Std@0.10"});
    EXPECT_EQ(readings_of(*token_at(*sentence, 7)), Strings{"Mr./Prop-Std@0.10"});
    EXPECT_TRUE(has(token_at(*sentence, 7), "abbrev"));

    // An abbreviation that no reading fits keeps what the tokenizer gave it
    // and is looked up like any word.
    Sentence* bracket = sentence_of(document, "(cat.");
    Token* odd = token_at(*bracket, 0);
    odd->token_flags |= token_flags::known_abbreviation;
    odd->readings.emplace_back("Punct-Open", "(", 1.0);
    add_morphdata(*document.document, *bracket);
    EXPECT_EQ(readings_of(*odd), Strings{"(/Punct-Open@1.00"});
    EXPECT_TRUE(has(odd, "abbrev"));

    // A named "abbrev" lookup answers first.
    chains.named["abbrev"] = {plain({"Mr.:mister[+Nn+abbr]"})};
    ChainDocument named(chains);
    Sentence* again = sentence_of(named, "Mr.");
    Token* title = token_at(*again, 0);
    title->token_flags |= token_flags::known_abbreviation;
    add_dictionary_lookup_information(*named.document);
    EXPECT_EQ(readings_of(*title), Strings{"mister/Nn[abbr]@1.00"});
    EXPECT_FALSE(has(title, "nf"));
    EXPECT_TRUE(has(title, "init-token"));
}

TEST(Attachment, HeaderPrefixOnlyAtTheStart) {
    ChainModule chains;
    chains.chain = {plain({"a:a[+Det]", "b:b[+Det]"})};
    ChainDocument document(chains);
    Sentence* sentence = sentence_of(document, "a b");
    token_at(*sentence, 0)->token_flags |= token_flags::header_prefix;
    token_at(*sentence, 1)->token_flags |= token_flags::header_prefix;
    add_dictionary_lookup_information(*document.document);
    EXPECT_TRUE(has(token_at(*sentence, 0), "hdr-prefix"));
    EXPECT_FALSE(has(token_at(*sentence, 1), "hdr-prefix"));
}

// Apostrophe tokens joined with or split from their neighbours.
class Apostrophes : public ::testing::Test {
protected:
    Sentence* sentence(const std::string& text) {
        document.document->set_text(text.data(), text.size());
        Sentence* s = fixture::add_sentence(*document.document, "");
        s->sentence_flags |= sentence_flags::has_apostrophe;
        return s;
    }
    // Appends a token over text[begin, end).
    Token* token(Sentence* s, const std::string& text, uint32_t begin, uint32_t end,
                 bool apostrophe = false) {
        auto* t = new Token(begin, end, text.substr(begin, end - begin));
        if (apostrophe) {
            t->token_flags |= token_flags::apostrophe_join;
            t->properties.insert("apostrophe");
        }
        s->annotations.insert(s->annotations.tail->prev, t);
        return t;
    }
    static std::string layout(const Sentence& s) {
        std::string out;
        for (const Annotation* a = s.annotations.head; a; a = a->next)
            if (a->type == annotation_token) {
                const auto* t = static_cast<const Token*>(a);
                out += t->literal + "@" + std::to_string(t->begin) + "-" + std::to_string(t->end) +
                       (t->token_flags & token_flags::apostrophe_join ? "*" : "") + " ";
            }
        return out;
    }

    ChainModule chains = [] {
        ChainModule c;
        c.chain = {plain({"homme:homme[+Nn]", "don't:do[+V+neg]", "est:etre[+V]"})};
        c.named = {{"apostrophe", {plain({"l':le[+Det]", "l\xE2\x80\x99:le[+Det]"})}}};
        c.apostrophes = "(l')homme|(l\xE2\x80\x99)homme|don't";
        return c;
    }();
    ChainDocument document{chains};
};

TEST_F(Apostrophes, SplitAtTheFirstGroup) {
    const std::string text = "l'homme est";
    Sentence* s = sentence(text);
    token(s, text, 0, 1);
    token(s, text, 1, 2, true);
    token(s, text, 2, 7);
    token(s, text, 8, 11);
    fixture::runtime_log().clear();
    add_dictionary_lookup_information(*document.document);
    EXPECT_EQ(layout(*s), "l'@0-2* homme@2-7* est@8-11 ");
    const auto& log = fixture::runtime_log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].second, "[APOSTROPH][IN]:l'homme");
    EXPECT_EQ(log[1].second, "[APOSTROPH][GROUP]:[l':2]");
    EXPECT_EQ(readings_of(*token_at(*s, 0)), Strings{"le/Det@1.00"});
    EXPECT_EQ(readings_of(*token_at(*s, 1)), Strings{"homme/Nn@1.00"});
}

TEST_F(Apostrophes, SplitOfAMultiByteApostrophe) {
    const std::string text = "l\xE2\x80\x99homme";
    Sentence* s = sentence(text);
    token(s, text, 0, 1);
    token(s, text, 1, 4, true);
    token(s, text, 4, 9);
    add_dictionary_lookup_information(*document.document);
    EXPECT_EQ(layout(*s), "l\xE2\x80\x99@0-4* homme@4-9* ");
    EXPECT_EQ(readings_of(*token_at(*s, 0)), Strings{"le/Det@1.00"});
}

TEST_F(Apostrophes, JoinWithoutGroupAndMismatch) {
    const std::string text = "don't x'y";
    Sentence* s = sentence(text);
    token(s, text, 0, 3);
    token(s, text, 3, 4, true);
    token(s, text, 4, 5);
    token(s, text, 6, 7);
    Token* lone = token(s, text, 7, 8, true);
    token(s, text, 8, 9);
    add_dictionary_lookup_information(*document.document);
    EXPECT_EQ(layout(*s), "don't@0-5* x@6-7 '@7-8* y@8-9 ");
    EXPECT_EQ(readings_of(*token_at(*s, 0)), Strings{"do/V[neg]@1.00"});
    EXPECT_FALSE(has(lone, "apostrophe"));
}

TEST_F(Apostrophes, NothingWithoutTheSentenceFlag) {
    const std::string text = "l'homme";
    Sentence* s = sentence(text);
    s->sentence_flags = 0;
    token(s, text, 0, 1);
    token(s, text, 1, 2, true);
    token(s, text, 2, 7);
    add_dictionary_lookup_information(*document.document);
    EXPECT_EQ(layout(*s), "l@0-1 '@1-2* homme@2-7 ");
}

// The second pass over a document whose tokens already have readings, as an
// imported result has them.
class ConditionalPass : public ::testing::Test {
protected:
    void SetUp() override {
        auto proxy = std::make_shared<core::LookupProxy>(strategy, document->document.get());
        document->document->lookup_chains->chain = {proxy};
    }
    void make(const nlohmann::json& conditions) {
        ChainModule chains;
        chains.config["conditions"] = conditions;
        document = std::make_unique<ChainDocument>(chains);
        SetUp();
    }
    Sentence* imported(const std::string& text) {
        Sentence* s = sentence_of(*document, text);
        for (Annotation* a = s->annotations.head; a; a = a->next)
            if (a->type == annotation_token) {
                auto* t = static_cast<Token*>(a);
                t->readings.emplace_back("Nn-Std", t->literal, 1.0);
                t->properties.insert("nf");
            }
        return s;
    }

    std::shared_ptr<fixture::CountingLookup> strategy =
        std::make_shared<fixture::CountingLookup>(std::map<std::string, Strings>{});
    std::unique_ptr<ChainDocument> document = std::make_unique<ChainDocument>(ChainModule{});
};

TEST_F(ConditionalPass, DefaultConditionOverwritesUnknownWords) {
    Sentence* s = imported("so blick");
    token_at(*s, 0)->properties.erase("nf");
    // The first pass left an empty answer in the cache.
    add_dictionary_lookup_information(*document->document);
    strategy->answers["blick"] = {"blick+V", "blick+Nn"};
    additional_dictionary_lookup_information(*document->document);
    const Token* blick = token_at(*s, 1);
    EXPECT_EQ(readings_of(*blick), (Strings{"blick/V@0.50", "blick/Nn@0.50"}));
    EXPECT_EQ(properties_of(*blick), Strings{"english"});
    EXPECT_EQ(readings_of(*token_at(*s, 0)), Strings{"so/Nn-Std@1.00"});
}

TEST_F(ConditionalPass, MergeKeepsWhatTheTokenHad) {
    make({{{"type", "regex"}, {"value", "[A-Z].*"}, {"action", "merge"}}});
    Sentence* s = imported("so Blick");
    strategy->answers["Blick"] = {"Blick+Prop"};
    additional_dictionary_lookup_information(*document->document);
    EXPECT_EQ(readings_of(*token_at(*s, 1)), (Strings{"Blick/Nn-Std@1.00", "Blick/Prop@1.00"}));
    EXPECT_EQ(properties_of(*token_at(*s, 1)), (Strings{"english", "init-cap"}));
    EXPECT_EQ(readings_of(*token_at(*s, 0)), Strings{"so/Nn-Std@1.00"});
}

TEST_F(ConditionalPass, NothingFoundLeavesTheToken) {
    make({{{"type", "property"}, {"value", "nf"}, {"input", "stem"}}});
    Sentence* s = imported("so Zorp");
    token_at(*s, 1)->readings.front().stem = "zorp";
    additional_dictionary_lookup_information(*document->document);
    EXPECT_EQ(readings_of(*token_at(*s, 1)), Strings{"zorp/Nn-Std@1.00"});
    EXPECT_TRUE(has(token_at(*s, 1), "nf"));
    EXPECT_EQ(strategy->calls["zorp"], 1);
    EXPECT_EQ(strategy->calls["Zorp"], 0);
}

TEST(LowercaseMorphdata, LooksUpTheWordAfterPunctuation) {
    ChainModule chains;
    chains.chain = {plain({"the:the[+Det]"})};
    ChainDocument document(chains);
    Sentence* s = sentence_of(document, "\" The ! ?");
    Token* quote = token_at(*s, 0);
    quote->readings.emplace_back("Punct-Quote", "\"", 1.0);
    add_lowercase_morphdata(*document.document, quote);
    EXPECT_EQ(readings_of(*token_at(*s, 1)), Strings{"the/Det@1.00"});

    Token* bang = token_at(*s, 2);
    Token* question = token_at(*s, 3);
    bang->readings.emplace_back("Punct-Sent", "!", 1.0);
    question->readings.emplace_back("Punct-Sent", "?", 1.0);
    add_lowercase_morphdata(*document.document, bang);
    EXPECT_EQ(readings_of(*question), Strings{"?/Punct-Sent@1.00"});
    EXPECT_FALSE(has(question, "nf"));
    // The last token hands over to the end marker: it is looked up itself.
    add_lowercase_morphdata(*document.document, question);
    EXPECT_EQ(readings_of(*question), Strings{"?/Punct-Sent@1.00"});
    EXPECT_TRUE(has(question, "nf"));
}

} // namespace
} // namespace dez::trelix
