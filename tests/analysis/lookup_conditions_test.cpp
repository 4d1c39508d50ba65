#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/lookup_condition_types.h"
#include "analysis/make_conditions.h"
#include "document/token.h"
#include "foundation/exception.h"

namespace dez::trelix {
namespace {

using nlohmann::json;

std::shared_ptr<Token> token_with(const std::string& literal, const std::vector<std::string>& poses,
                                  const std::vector<std::string>& properties = {}) {
    auto token = std::make_shared<Token>(0, static_cast<uint32_t>(literal.size()), literal);
    for (const std::string& pos : poses)
        token->readings.emplace_back(pos, literal + "-stem", 1.0);
    token->properties.insert(properties.begin(), properties.end());
    return token;
}

std::string failure(const json& entry) {
    try {
        condition_factory(entry);
    } catch (const dez::Exception& e) {
        return e.what();
    }
    return "no failure";
}

TEST(LookupConditions, PropertyNamesKeepEveryField) {
    using Fields = std::vector<std::pair<std::string, bool>>;
    struct Case {
        const char* names;
        Fields fields;
    };
    const Case cases[] = {
        {"nf", {{"nf", false}}},
        {"a,!b", {{"a", false}, {"b", true}}},
        {"a,,b", {{"a", false}, {"", false}, {"b", false}}},
        {",a,", {{"", false}, {"a", false}, {"", false}}},
        {"!", {{"", true}}},
        {"", {{"", false}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PropertyLookup(c.names).required_properties, c.fields) << c.names;
}

TEST(LookupConditions, DefaultAndEmptyLists) {
    const LookupConditions defaults = make_conditions(json::object());
    ASSERT_EQ(defaults.size(), 1u);
    auto* nf = dynamic_cast<const PropertyLookup*>(defaults[0].get());
    ASSERT_NE(nf, nullptr);
    EXPECT_EQ(nf->required_properties, (std::vector<std::pair<std::string, bool>>{{"nf", false}}));
    EXPECT_EQ(nf->action_mode, LookupConditionInterface::overwrite);
    auto unknown = token_with("blick", {"Nn-Std"}, {"nf"});
    EXPECT_EQ(&nf->text(unknown.get()), &unknown->literal);
    EXPECT_EQ(make_conditions(json::array()).size(), 1u);

    const auto any = token_with("x", {}, {"nf"});
    for (const json& none : {json::array(), json(nullptr)}) {
        const LookupConditions conditions = make_conditions({{"conditions", none}});
        EXPECT_TRUE(conditions.empty()) << none;
        EXPECT_EQ(get_condition(conditions, any.get()), nullptr);
    }
    // An object's member values in key order; any other value is one entry.
    const json two = {{"b", {{"type", "regex"}, {"value", "x"}}},
                      {"a", {{"type", "property"}, {"value", "nf"}}}};
    const LookupConditions from_object = make_conditions({{"conditions", two}});
    ASSERT_EQ(from_object.size(), 2u);
    EXPECT_NE(dynamic_cast<const PropertyLookup*>(from_object[0].get()), nullptr);
    EXPECT_THROW(make_conditions({{"conditions", "pos"}}), dez::Exception);
}

TEST(LookupConditions, WhichTokensHold) {
    struct Case {
        json entry;
        std::shared_ptr<Token> token;
        bool valid;
    };
    auto compound = token_with("sunflower", {"Nn"});
    compound->readings.front().components.emplace_back("Adj-Std", "sun", 1.0);
    const Case cases[] = {
        // A class name: readings or their direct components of that class.
        {{{"type", "pos"}, {"value", "Adj"}}, token_with("red", {"Adj-Std"}), true},
        {{{"type", "pos"}, {"value", "Adj"}}, compound, true},
        {{{"type", "pos"}, {"value", "Adj"}}, token_with("red", {"Nn"}), false},
        // Anything else: a prefix of the part of speech.
        {{{"type", "pos"}, {"value", "Nn-S"}}, token_with("cat", {"Nn-Sg"}), true},
        {{{"type", "pos"}, {"value", "Adj-S"}}, compound, true},
        {{{"type", "pos"}, {"value", "Nn-S"}}, token_with("cats", {"Nn-Pl"}), false},
        {{{"type", "property"}, {"value", "a,!b"}}, token_with("w", {}, {"a"}), true},
        {{{"type", "property"}, {"value", "a,!b"}}, token_with("w", {}, {"a", "b"}), false},
        {{{"type", "property"}, {"value", "a,!b"}}, token_with("w", {}, {"b"}), false},
        {{{"type", "property"}, {"value", "a,!b"}}, token_with("w", {"a"}), false},
        {{{"type", "regex"}, {"value", "[0-9]+"}}, token_with("123", {}), true},
        {{{"type", "regex"}, {"value", "[0-9]+"}}, token_with("123a", {}), false},
        {{{"type", "regex"}, {"value", "abc"}}, token_with("ABC", {}), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(condition_factory(c.entry)->is_valid(c.token.get()), c.valid)
            << c.entry << " " << c.token->literal;

    // Properties are also looked for among the tags of the readings.
    auto tagged = token_with("w", {"Nn"});
    tagged->readings.front().tags.push_back("a");
    EXPECT_TRUE(
        condition_factory({{"type", "property"}, {"value", "a,!b"}})->is_valid(tagged.get()));
    EXPECT_NE(
        dynamic_cast<PosIdLookup*>(condition_factory({{"type", "pos"}, {"value", "Adj"}}).get()),
        nullptr);
}

TEST(LookupConditions, ActionsAndInputs) {
    auto stem = condition_factory(
        {{"type", "property"}, {"value", "nf"}, {"action", "merge"}, {"input", "stem"}});
    EXPECT_EQ(stem->action_mode, LookupConditionInterface::merge);
    auto token = token_with("cats", {"Nn"}, {"nf"});
    EXPECT_EQ(stem->text(token.get()), "cats-stem");
    stem->action(token.get());
    EXPECT_EQ(token->readings.size(), 1u);
    EXPECT_EQ(token->properties.size(), 1u);
    auto bare = token_with("cats", {});
    EXPECT_EQ(stem->text(bare.get()), "cats");

    auto overwrite = condition_factory({{"type", "property"}, {"value", "nf"}});
    overwrite->action(token.get());
    EXPECT_TRUE(token->readings.empty());
    EXPECT_TRUE(token->properties.empty());
}

TEST(LookupConditions, FirstConditionWins) {
    const LookupConditions conditions =
        make_conditions({{"conditions",
                          {{{"type", "property"}, {"value", "nf"}, {"action", "merge"}},
                           {{"type", "regex"}, {"value", ".*"}}}}});
    auto unknown = token_with("x", {}, {"nf"});
    auto known = token_with("y", {"Nn"});
    EXPECT_EQ(get_condition(conditions, unknown.get()), conditions[0].get());
    EXPECT_EQ(get_condition(conditions, known.get()), conditions[1].get());
}

TEST(LookupConditions, Errors) {
    const std::string prefix = "Invalid language configuration in conditions sections. ";
    struct Case {
        json entry;
        std::string message;
    };
    const Case cases[] = {
        {{{"value", "x"}}, prefix + "type missing"},
        {json("pos"), prefix + "type missing"},
        {{{"type", "POS"}, {"value", "x"}}, prefix + "type not supported"},
        {{{"type", 3}, {"value", "x"}}, prefix + "type not supported"},
        {{{"type", "pos"}}, prefix + "value missing"},
        {{{"type", "property"}, {"value", "x"}, {"action", "replace"}},
         prefix + "unknown action, choices [overwrite,merge]"},
        {{{"type", "property"}, {"value", "x"}, {"input", "Stem"}},
         "Invalid input configuration in conditions sections. unknown input_type, choices "
         "[literal,stem]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(failure(c.entry), c.message) << c.entry;
    EXPECT_THROW(condition_factory({{"type", "property"}, {"value", 1}}), json::type_error);
    EXPECT_THROW(condition_factory({{"type", "pos"}, {"value", "x"}, {"action", true}}),
                 json::type_error);
    EXPECT_ANY_THROW(condition_factory({{"type", "regex"}, {"value", "[a-"}}));
    EXPECT_THROW(make_conditions({{"conditions", {json::object()}}}), dez::Exception);
}

} // namespace
} // namespace dez::trelix
