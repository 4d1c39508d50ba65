#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "document/attribute_resolution.h"
#include "document/blackboard.h"
#include "matcher/plugin_calls.h"
#include "matcher/runtime_context.h"
#include "tests/document/blackboard_fixture.h"
#include "tests/document/log_capture.h"

namespace dez::trelix {
namespace {

using fixture::make_blackboard;
using fixture::TestAnalyzer;

Attributes mixed_list() {
    Attributes list;
    list.emplace_back("a", std::string("x"));
    list.emplace_back("date", AttributeFormatValue{"{capture.date}", ""});
    list.emplace_back("plain", AttributeFormatValue{"no section {{here}}", ""});
    list.emplace_back("done", AttributeFormatValue{"{rule.name}", "resolved before"});
    list.emplace_back("b", std::string("y"));
    return list;
}

std::string keys(const Attributes& list) {
    std::string out;
    for (const auto& [key, value] : list)
        out += key + "=" + to_string(value) + ";";
    return out;
}

TEST(AttributeResolution, WithoutPluginsFormatsWithSectionsAreDropped) {
    TestAnalyzer analyzer(R"({"allow_plugins":"false"})");
    auto document = make_blackboard(analyzer);
    runtime::Context context(document.get());
    Attributes list = mixed_list();
    int calls = 0;
    resolve_attributes(*document, list, context,
                       [&](Blackboard&, const std::string&, runtime::Context&) {
                           ++calls;
                           return std::string("never");
                       });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(keys(list), "a=x;plain=no section {{here}};done=resolved before;b=y;");
}

TEST(AttributeResolution, PluginAnswersBecomeValues) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    runtime::Context context(document.get());
    Attributes list = mixed_list();
    std::vector<std::string> asked;
    resolve_attributes(*document, list, context,
                       [&](Blackboard& target, const std::string& format, runtime::Context& c) {
                           EXPECT_EQ(&target, document.get());
                           EXPECT_EQ(&c, &context);
                           asked.push_back(format);
                           return std::string("2024-01-01");
                       });
    EXPECT_EQ(asked, std::vector<std::string>{"{capture.date}"});
    EXPECT_EQ(keys(list),
              "a=x;date=2024-01-01;plain=no section {{here}};done=resolved before;b=y;");
}

TEST(AttributeResolution, FailingOrEmptyAnswersDropTheValueOnly) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    runtime::Context context(document.get());
    auto& log = fixture::runtime_log();
    log.clear();

    Attributes list = mixed_list();
    EXPECT_NO_THROW(
        resolve_attributes(*document, list, context,
                           [](Blackboard&, const std::string&, runtime::Context&) -> std::string {
                               throw std::runtime_error("plugin exploded");
                           }));
    EXPECT_EQ(keys(list), "a=x;plain=no section {{here}};done=resolved before;b=y;");
    bool logged = false;
    for (const auto& [level, line] : log)
        logged |=
            level == dez::wlog::level_error && line.find("plugin exploded") != std::string::npos;
    EXPECT_TRUE(logged);

    list = mixed_list();
    resolve_attributes(
        *document, list, context,
        [](Blackboard&, const std::string&, runtime::Context&) { return std::string(); });
    EXPECT_EQ(keys(list), "a=x;plain=no section {{here}};done=resolved before;b=y;");
}

TEST(AttributeResolution, ResolveAttributeCallsTheAnalyzersFunction) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    Concept concept_(0, 1, "Date");
    runtime::Context context(document.get(), nullptr, &concept_, nullptr);
    auto& log = fixture::runtime_log();

    log.clear();
    EXPECT_EQ(resolve_attribute(*document, "no section", context), "");
    EXPECT_EQ(resolve_attribute(*document, "{capture.eval}", context), "");
    EXPECT_TRUE(log.empty());

    // No plugin is loaded: the call finds none and answers the empty text.
    EXPECT_EQ(resolve_attribute(*document, "{capture.date}", context), "");
    EXPECT_EQ(plugins::get_match_context().concept, &concept_);
    EXPECT_EQ(plugins::get_match_context().document, document.get());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().second, "Error cannot find plugin:python from annotation "
                                 "::python::trelix.plugin::resolve_formated_attribute");

    // And the default resolving drops the value.
    Attributes list;
    list.emplace_back("date", AttributeFormatValue{"{capture.date}", ""});
    resolve_attributes(*document, list, context);
    EXPECT_TRUE(list.empty());

    TestAnalyzer malformed(R"({"resolve_formated_attribute_function":"::python::x"})");
    auto other = make_blackboard(malformed);
    runtime::Context other_context(other.get());
    log.clear();
    EXPECT_EQ(resolve_attribute(*other, "{capture.date}", other_context), "");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().second,
              "[PLUGIN]:Uri name does not match the plugin format call ::(.+)::(.+)::(.+) "
              "'::python::x'");
    plugins::set_match_context(runtime::Context());
}

TEST(RuntimeContext, Constructors) {
    TestAnalyzer analyzer;
    auto document = make_blackboard(analyzer);
    Sentence* sentence = fixture::add_sentence(*document, "a b c", 4);
    Concept* concept_ = fixture::add_concept(*sentence, fixture::token_at(*sentence, 1),
                                             fixture::token_at(*sentence, 2), "Thing");

    runtime::Context found(document.get(), concept_);
    EXPECT_EQ(found.uri, "Thing");
    ASSERT_NE(found.sentence, nullptr);
    EXPECT_EQ(found.sentence->sentence, sentence);
    EXPECT_EQ(found.concept, concept_);
    EXPECT_EQ(found.capture_group, concept_);
    EXPECT_FALSE(found.arguments.has_value());

    runtime::Context given(document.get(), nullptr, nullptr, concept_);
    EXPECT_EQ(given.uri, "");
    EXPECT_EQ(given.capture_group, concept_);

    runtime::Context named(document.get(), "tlx::filter", nullptr, concept_, nullptr);
    EXPECT_EQ(named.uri, "tlx::filter");
    EXPECT_EQ(runtime::Context().document, nullptr);
}

} // namespace
} // namespace dez::trelix
