#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "document/blackboard.h"
#include "matcher/action_registry.h"
#include "matcher/runtime_context.h"
#include "tests/document/blackboard_fixture.h"

namespace dez::trelix {
namespace {

TEST(ActionRegistry, FunctionUris) {
    struct Case {
        const char* uri;
        bool expected;
    };
    for (const Case& c : {Case{"tlx::filter", true}, Case{"::python::m::f", true},
                          Case{"tlx:filter", false}, Case{"Person", false}, Case{"", false},
                          Case{":tlx::x", false}})
        EXPECT_EQ(is_function(c.uri), c.expected) << c.uri;
}

TEST(ActionRegistry, ElevenBuiltInsWithTheirExecutionTimes) {
    EXPECT_EQ(action_registry.size(), 11u);
    for (const char* name : {"tlx::anaphora", "tlx::push_att", "tlx::inherit",
                             "tlx::resolve_date", "tlx::set_metadata"})
        EXPECT_EQ(action_registry.at(name).first, execution_time::delayed) << name;
    for (const char* name : {"tlx::filter", "tlx::delete", "tlx::rewrite",
                             "tlx::set_document_date", "tlx::set_memento", "tlx::has_memento"})
        EXPECT_EQ(action_registry.at(name).first, execution_time::immediate) << name;
}

TEST(ActionRegistry, DelayedActionsAndPluginCallsAreQueuedWithTheirContext) {
    fixture::TestAnalyzer analyzer;
    auto document = fixture::make_blackboard(analyzer);
    struct Case {
        const char* uri;
        bool queued;
    };
    size_t expected = 0;
    for (const Case& c : {Case{"tlx::push_att", true}, Case{"tlx::filter", false},
                          Case{"tlx::filter_people", false}, Case{"tlx::unknown", false},
                          Case{"::python::trelix.plugin::resolve_date", true},
                          Case{"Person", false}}) {
        runtime::Context context(document.get(), c.uri, nullptr, nullptr, nullptr);
        context.arguments.emplace(std::vector<std::pair<std::string, std::string>>{{"from", "A"}});
        apply_function(*document, context);
        expected += c.queued;
        ASSERT_EQ(document->delayed_functions.size(), expected) << c.uri;
        if (c.queued) {
            const runtime::Context& queued = document->delayed_functions.back().second;
            EXPECT_EQ(queued.uri, c.uri);
            EXPECT_EQ(queued.document, document.get());
            ASSERT_TRUE(queued.arguments);
            EXPECT_EQ(queued.arguments->front().second, "A");
        }
    }
    // A queued plugin call without plugins answers the empty text.
    EXPECT_EQ(document->delayed_functions.back().first(document->delayed_functions.back().second),
              "");
}

} // namespace
} // namespace dez::trelix
