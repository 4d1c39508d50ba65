#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <nlohmann/json.hpp>

#include "analysis/analyzer.h"
#include "analysis/hmm_resource.h"
#include "api/stream_json_api_format.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/sentence.h"
#include "document/token.h"
#include "tests/analysis/hmm_fixture.h"
#include "tests/analysis/lookup_fixture.h"
#include "tests/analysis/postagger_fixture.h"
#include "tests/analysis/tokenizer_fixture.h"
#include "tests/api/result_fixture.h"
#include "tests/matcher/recording_plugin.h"

// The analysis road as a whole: text or an earlier result through
// Analyzer::generate on a language with tokenizer rules, a small lexicon and,
// where a case asks, a postagger and tagger tables.

namespace dez::trelix {
namespace {

using fixture::v2_of;

using Strings = std::vector<std::string>;

const Strings lexicon = {
    "Hi:hi[+Interj]",         "Paris:Paris[+Prop-Std]", "Anna:Anna[+Prop-Std]",
    "walks:walk[+V-Fin+3sg]", "walks:walk[+Nn-Pl]",     "to:to[+Prep]",
    "the:the[+Det-Def]",      "station:station[+Nn-Std]", "in:in[+Prep]",
    "Z\xC3\xBCrich:Z\xC3\xBCrich[+Prop-Std]",
};

// What a case adds to the fixture language.
struct Language {
    nlohmann::json config = nlohmann::json::object();
    std::shared_ptr<dez::afst::AFst> postagger;
    std::shared_ptr<const core::hmm::Resource> hmm;
};

// The fixture language: the tokenizer rules of tests/data/analysis, the
// lexicon above, then readings from the Unicode categories.
std::shared_ptr<LanguageModule> road_language(const Language& language = {}) {
    fixture::ChainModule chains;
    chains.chain = {fixture::plain(lexicon), fixture::icu()};
    chains.config = language.config;
    auto module = chains.make("english");
    const auto rules = fixture::make_rules_module("english");
    module->data->rules_data = rules->data->rules_data;
    module->data->rules_size = rules->data->rules_size;
    module->data->owns_rules_data = true;
    rules->data->owns_rules_data = false;
    module->data->token_map = rules->data->token_map;
    module->data->postagger = language.postagger;
    module->data->hmm = language.hmm;
    return module;
}

// "literal@begin-end{properties}[readings]" per token, one line per sentence
// headed by its span.
Strings dump(const Blackboard& document) {
    Strings out;
    for (const Sentence* sentence : fixture::sentences_of(document)) {
        std::string line =
            std::to_string(sentence->begin) + "-" + std::to_string(sentence->end) + ":";
        for (const Token* token : fixture::tokens_of(*sentence)) {
            line += " " + token->literal + "@" + std::to_string(token->begin) + "-" +
                    std::to_string(token->end) + "{";
            bool first = true;
            for (const std::string& p : token->properties) {
                line += (first ? "" : ",") + p;
                first = false;
            }
            line += "}[";
            first = true;
            for (const std::string& r : fixture::readings_of(*token)) {
                line += (first ? "" : ";") + r;
                first = false;
            }
            line += "]";
        }
        out.push_back(line);
    }
    return out;
}

// An analyzer of the fixture language and its documents.
struct Road {
    explicit Road(const Language& language = {}, const char* analyzer_options = "{}")
        : analyzer(analyzer_options, road_language(language)) {}

    std::unique_ptr<Blackboard> analyse(const std::string& text,
                                        const std::string& document_options = "{}") {
        auto document = fixture::make_blackboard(analyzer, document_options.c_str());
        EXPECT_TRUE(analyzer.handle.analyzer->generate(*document, text.data(), text.size()));
        return document;
    }

    fixture::TestAnalyzer analyzer;
};

// Sentences, tokens, properties and readings of a few texts; both splitters
// agree on them, chosen by the document or by the language.
TEST(AnalysisRoad, TextThroughEitherSplitter) {
    struct Case {
        std::string text;
        Strings sentences;
    };
    const Case cases[] = {
        {"Hi Paris. Anna walks to the station.",
         {"0-9: Hi@0-2{init-cap,init-token}[hi/Interj@0.50;Hi/Prop-Std@0.50] "
          "Paris@3-8{init-cap}[Paris/Prop-Std@1.00] .@8-9{}[./Punct-Sent@1.00]",
          "10-36: Anna@10-14{init-cap,init-token}[Anna/Prop-Std@1.00] "
          "walks@15-20{}[walk/Nn-Pl@0.50;walk/V-Fin[3sg]@0.50] to@21-23{}[to/Prep@1.00] "
          "the@24-27{}[the/Det-Def@1.00] station@28-35{}[station/Nn-Std@1.00] "
          ".@35-36{}[./Punct-Sent@1.00]"}},
        // Byte offsets after a two-byte letter; an unknown name.
        {"Z\xC3\xBCrich walks, Zorp!",
         {"0-20: Z\xC3\xBCrich@0-7{init-cap,init-token}[Z\xC3\xBCrich/Prop-Std@1.00] "
          "walks@8-13{}[walk/Nn-Pl@0.50;walk/V-Fin[3sg]@0.50] ,@13-14{}[,/Punct-Comma@1.00] "
          "Zorp@15-19{init-cap}[Zorp/Prop-Std@1.00] !@19-20{}[!/Punct-Sent@1.00]"}},
        // Markup keeps its own reading; a number with a unit and an amount
        // are read off the token map; a blank line ends a sentence.
        {"<b>Hi</b> Anna walks 5kg to \xE2\x82\xAC" "12.\n\nHi.",
         {"0-34: <b>@0-3{markup}[<b>/Markup@1.00] "
          "Hi@3-5{init-cap,init-token}[hi/Interj@0.50;Hi/Prop-Std@0.50] "
          "</b>@5-9{markup}[</b>/Markup@1.00] Anna@10-14{init-cap}[Anna/Prop-Std@1.00] "
          "walks@15-20{}[walk/Nn-Pl@0.50;walk/V-Fin[3sg]@0.50] 5kg@21-24{alphanum}[5kg/Nn-Std@1.00] "
          "to@25-27{}[to/Prep@1.00] \xE2\x82\xAC" "12@28-33{currency}[\xE2\x82\xAC" "12/Nn-Sym[currency]@1.00] "
          ".@33-34{}[./Punct-Sent@1.00]",
          "36-39: Hi@36-38{init-cap,init-token}[hi/Interj@0.50;Hi/Prop-Std@0.50] "
          ".@38-39{}[./Punct-Sent@1.00]"}},
        // Capitals are looked up as written, then capitalised and lower-cased.
        {"HI PARIS. ANNA WALKS.",
         {"0-9: HI@0-2{all-cap,init-token}[hi/Interj@1.00] "
          "PARIS@3-8{all-cap}[Paris/Prop-Std@1.00] .@8-9{}[./Punct-Sent@1.00]",
          "10-21: ANNA@10-14{all-cap,init-token}[Anna/Prop-Std@1.00] "
          "WALKS@15-20{all-cap}[walk/Nn-Pl@0.50;walk/V-Fin[3sg]@0.50] "
          ".@20-21{}[./Punct-Sent@1.00]"}},
        {"", {}},
        {" \n\t ", {}},
    };
    struct Choice {
        const char* config;
        const char* document_options;
    };
    const Choice choices[] = {
        {R"({"sentyziser": "icu"})", R"({"sentyziser": "3"})"},
        {R"({"sentyziser": "3"})", R"({"sentyziser": "icu"})"},
        {R"({"sentyziser": "icu"})", "{}"},
        {"{}", "{}"},
    };
    for (const Choice& choice : choices) {
        Language language;
        language.config = nlohmann::json::parse(choice.config);
        Road road(language);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(choice.config) + choice.document_options + " " + c.text);
            auto document = road.analyse(c.text, choice.document_options);
            EXPECT_EQ(dump(*document), c.sentences);
        }
    }
}

// A plugin that records its calls and, at each document hook, what the
// document holds by then.
class WatchingPlugin final : public plugins::API {
public:
    bool initialize(const char* options, dez_exception* error) override {
        return calls.initialize(options, error);
    }
    const char* open_document(const char* module, const char* function,
                              const std::vector<plugins::DataObject>& arguments,
                              dez_exception* error) override {
        seen.push_back("open " + state());
        return calls.open_document(module, function, arguments, error);
    }
    const char* close_document(const char* module, const char* function,
                               const std::vector<plugins::DataObject>& arguments,
                               dez_exception* error) override {
        seen.push_back("close " + state());
        return calls.close_document(module, function, arguments, error);
    }
    const char* call(const char* module, const char* function,
                     const std::vector<plugins::DataObject>& arguments,
                     dez_exception* error) override {
        return calls.call(module, function, arguments, error);
    }
    const char* trigger(const char* module, const char* function,
                        const std::vector<plugins::DataObject>& arguments,
                        dez_exception* error) override {
        return calls.trigger(module, function, arguments, error);
    }
    void release_document(dez_exception* error) override { calls.release_document(error); }
    void free_result(const char* text) override { calls.free_result(text); }
    void shutdown(dez_exception* error) override { calls.shutdown(error); }
    void set_context(plugins::PluginContext* context) override { calls.set_context(context); }
    void set_document_property(const char* key, const char* value,
                               dez_exception* error) override {
        calls.set_document_property(key, value, error);
    }

    // Sentences, then the readings of "walks" where the document has it.
    std::string state() const {
        std::string out = std::to_string(fixture::sentences_of(*document).size()) + " sentences";
        for (const Sentence* sentence : fixture::sentences_of(*document))
            for (const Token* token : fixture::tokens_of(*sentence))
                if (token->literal == "walks")
                    out += ", walks " + std::to_string(token->readings.size());
        return out;
    }

    const Blackboard* document = nullptr;
    fixture::RecordingPlugin calls;
    Strings seen;
};

// The open hook sees the document before anything is made, the close hook
// after the last step: readings narrowed, for text and for an imported result.
TEST(AnalysisRoad, HooksFrameTheWholeAnalysis) {
    Language language;
    fixture::HmmTables tables;
    tables.start("Prop-Std", 0.9f)
        .transition("Prop-Std", "V-Fin", 0.9f)
        .transition("Prop-Std", "Nn-Pl", 1e-6f)
        .emission("walks", "V-Fin", 0.5f)
        .emission("walks", "Nn-Pl", 0.5f);
    language.hmm = std::make_shared<core::hmm::Resource>(tables.resource);
    Road road(language);
    auto plugin = boost::make_shared<WatchingPlugin>();
    road.analyzer.engine->plugins_by_name["python"] = plugin;

    struct Case {
        const char* input_type;
        std::string input;
        Strings seen;
    };
    const Case cases[] = {
        {"text", "Anna walks. Hi.", {"open 0 sentences", "close 2 sentences, walks 1"}},
        {"json",
         R"({"sentences": [[1, 0, 10, [[3, 0, 4, "Anna", [], [["Anna", "Prop-Std"]]],
                                       [3, 5, 10, "walks", ["nf"], [["walks", "Nn-Std"]]]]]]})",
         {"open 0 sentences", "close 1 sentences, walks 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input_type);
        plugin->seen.clear();
        plugin->calls.calls.clear();
        auto document = fixture::make_blackboard(
            road.analyzer, (std::string(R"({"open_document": "::python::hooks::open",
                                            "close_document": "::python::hooks::close",
                                            "input_type": ")") +
                            c.input_type + "\"}")
                               .c_str());
        plugin->document = document.get();
        EXPECT_TRUE(road.analyzer.handle.analyzer->generate(*document, c.input.data(),
                                                            c.input.size()));
        EXPECT_EQ(plugin->seen, c.seen);
        Strings hooks;
        for (const std::string& operation : plugin->calls.operations())
            if (operation != "set_context")
                hooks.push_back(operation);
        EXPECT_EQ(hooks, (Strings{"open_document", "close_document"}));
        EXPECT_EQ(plugin->calls.outstanding(), 0u);
    }
}

TEST(AnalysisRoad, PrintAnnotationsPrintsEachSentenceOnce) {
    struct Case {
        const char* input_type;
        std::string input;
    };
    const Case cases[] = {
        {"text", "Hi Paris. Anna walks."},
        {"json", R"({"sentences": [[1, 0, 9, []], [1, 10, 21, []]]})"},
    };
    Road road({}, R"({"dbg": "print_annotations"})");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input_type);
        testing::internal::CaptureStdout();
        road.analyse(c.input, std::string(R"({"input_type": ")") + c.input_type + "\"}");
        const std::string printed = testing::internal::GetCapturedStdout();
        for (const char* head : {"Sentence:(0,9)", "Sentence:(10,21)"}) {
            const std::size_t first = printed.find(head);
            EXPECT_NE(first, std::string::npos) << head << "\n" << printed;
            EXPECT_EQ(printed.find(head, first + 1), std::string::npos) << head << "\n" << printed;
        }
    }
}

// "walks" is a plural noun or a verb: the postagger, the tagger tables, both
// or neither narrow it, as the options allow.
TEST(AnalysisRoad, PostaggerAndTaggerNarrowReadings) {
    fixture::Postagger postagger;
    std::vector<std::pair<std::string, std::string>> noun;
    for (char c : std::string("Nn-Pl"))
        noun.push_back({std::string(1, c), "eps"});
    noun.back().second = "#2";
    postagger.path(noun);
    fixture::HmmTables tables;
    tables.start("Prop-Std", 0.9f)
        .transition("Prop-Std", "V-Fin", 0.9f)
        .transition("Prop-Std", "Nn-Pl", 1e-6f)
        .emission("walks", "V-Fin", 0.5f)
        .emission("walks", "Nn-Pl", 0.5f);
    const auto hmm = std::make_shared<core::hmm::Resource>(tables.resource);

    struct Case {
        bool with_postagger;
        bool with_hmm;
        const char* options;
        std::string walks;
    };
    const Case cases[] = {
        {false, false, "{}", "walk/Nn-Pl@0.50;walk/V-Fin[3sg]@0.50"},
        {true, false, "{}", "walk/Nn-Pl@2.00"},
        {false, true, "{}", "walk/V-Fin[3sg]@0.50"},
        // The postagger runs first; the tagger has one reading left.
        {true, true, "{}", "walk/Nn-Pl@2.00"},
        {true, true, R"({"disambiguate": "false"})", "walk/V-Fin[3sg]@0.50"},
        {true, true, R"({"hmm": "false"})", "walk/Nn-Pl@2.00"},
        {true, true, R"({"hmm": "false", "disambiguate": "false"})",
         "walk/Nn-Pl@0.50;walk/V-Fin[3sg]@0.50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.with_postagger) + std::to_string(c.with_hmm) + c.options);
        Language language;
        if (c.with_postagger)
            language.postagger = postagger.build();
        if (c.with_hmm)
            language.hmm = hmm;
        Road road(language);
        auto document = road.analyse("Anna walks.", c.options);
        const Strings lines = dump(*document);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("walks@5-10{}[" + c.walks + "]"), std::string::npos) << lines[0];
    }
}

// An analysed text written as a v2 result, read back with "input_type"
// "json" and written again gives the same result: tokens, properties,
// readings, concepts and their attributes, the id, text beyond ASCII.
TEST(AnalysisRoad, ResultReadBackWritesTheSameJson) {
    struct Case {
        std::string text;
        std::string options;
        std::string concept_over; // the literal a concept is put on, or empty
    };
    const Case cases[] = {
        {"Hi Paris. Anna walks to the station.", R"({"id": "d1"})", "Paris"},
        {"Z\xC3\xBCrich walks, Zorp!", "{}", "Z\xC3\xBCrich"},
        {"Anna said \"hi\\there\" in Z\xC3\xBCrich.", R"({"id": "q\"1"})", "Anna"},
        // Control characters and the separators JSON escapes.
        {"Hi\x01Paris\x7F walks \xE2\x80\xA8 to\tthe \\ station/.", "{}", "Paris"},
        {"", "{}", ""},
    };
    Road road;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto analysed = road.analyse(c.text, c.options);
        for (Sentence* sentence : fixture::sentences_of(*analysed)) {
            // Sentence attributes travel on the sentence concept.
            Annotation* head = sentence->annotations.head;
            ASSERT_TRUE(head && head->type == annotation_concept);
            static_cast<Concept*>(head)->add("topic", "travel");
            for (Token* token : fixture::tokens_of(*sentence))
                if (token->literal == c.concept_over) {
                    Concept* place = fixture::add_concept(*sentence, token, token, "Place");
                    place->add("country", "ch");
                    place->add("names", "\xC3\xA9t\xC3\xA9");
                    place->add("names", "b\"c");
                    place->flags.set(Concept::import);
                }
        }
        const std::string written = v2_of(*analysed);
        if (!c.concept_over.empty()) {
            EXPECT_NE(written.find(R"({"country":["ch"],"names":["été","b\"c"]})"),
                      std::string::npos)
                << written;
        }
        if (!c.text.empty()) {
            EXPECT_NE(written.find(R"(],{"topic":["travel"]}])"), std::string::npos) << written;
        }

        auto imported = fixture::make_blackboard(road.analyzer, R"({"input_type": "json"})");
        ASSERT_TRUE(road.analyzer.handle.analyzer->generate(*imported, written.data(),
                                                            written.size()));
        EXPECT_EQ(v2_of(*imported), written);
        EXPECT_EQ(fixture::sentences_of(*imported).size(),
                  fixture::sentences_of(*analysed).size());
    }
}

// The second lexicon pass over an imported result follows the language's
// conditions: an unknown word's readings are replaced, a matching word's
// readings are merged with the lexicon's, other words keep theirs.
TEST(AnalysisRoad, ConditionsDecideTheSecondLexiconPass) {
    Language language;
    language.config = nlohmann::json::parse(R"({"conditions": [
        {"type": "property", "value": "nf", "action": "overwrite"},
        {"type": "regex", "value": "Paris", "action": "merge"}]})");
    Road road(language);
    const std::string result = R"({"language": "english", "id": "r1", "sentences": [
        [1, 0, 22, [[3, 0, 5, "walks", ["nf"], [["walks", "Nn-Std"]]],
                    [3, 6, 11, "Paris", [], [["Paris", "City", "capital"]]],
                    [2, 6, 11, "Place", {"country": ["fr"]}],
                    [3, 12, 16, "Anna", [], [["Anna", "Nn-Std"]]],
                    [3, 17, 22, "Zorpy", ["nf"], [["Zorpy", "Nn-Std"]]]]]]})";
    auto document = road.analyse(result, R"({"input_type": "json"})");
    EXPECT_EQ(dump(*document),
              Strings{"0-22: walks@0-5{english}[walk/Nn-Pl@0.50;walk/V-Fin[3sg]@0.50] "
                      "Paris@6-11{english,init-cap}[Paris/City[capital]@1.00;Paris/Prop-Std@1.00] "
                      "Anna@12-16{}[Anna/Nn-Std@1.00] "
                      "Zorpy@17-22{english,init-cap}[Zorpy/Prop-Std@1.00]"});
    EXPECT_EQ(document->option_anywhere->get("id"), "r1");
    const std::string written = v2_of(*document);
    EXPECT_NE(written.find(R"([2,6,11,"Place",{"country":["fr"]}])"), std::string::npos)
        << written;
}

} // namespace
} // namespace dez::trelix
