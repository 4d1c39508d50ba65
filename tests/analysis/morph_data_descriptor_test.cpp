#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/descriptor_entry.h"
#include "analysis/lookup_proxy.h"
#include "analysis/lookup_type.h"
#include "analysis/morph_data.h"
#include "analysis/morph_data_descriptor.h"
#include "core-afst/compound_lookup_v3.h"
#include "core-afst/lookup_converter.h"
#include "engine/engine.h"
#include "tests/analysis/lookup_fixture.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix::core {
namespace {

using fixture::failure_of;
using nlohmann::json;

class Descriptors : public fixture::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        write("words.morph", {"cat:cat[+Nn]"});
        write("guess.morph", {"s:[+Nn-Pl]"});
    }
    std::string path(const std::string& name) const { return (tree.root / name).string(); }
    void write(const std::string& name, const std::vector<std::string>& lines) const {
        ASSERT_TRUE(afst_test::build_lexicon(lines)->Write(path(name)));
    }
    MorphDataDescriptor create(const json& entry) const {
        return MorphData::create_descriptor(engine.get(), entry);
    }
    std::string failure(const json& entry) const {
        return failure_of([&] { create(entry); });
    }
    // The files the engine loaded, in order.
    static std::vector<std::string> loads() {
        std::vector<std::string> files;
        for (const auto& [level, line] : fixture::runtime_log())
            if (line.rfind("[afst] load", 0) == 0)
                files.push_back(line.substr(11));
        return files;
    }

    std::shared_ptr<Engine> engine = fixture::bare_engine(tree.root);
};

TEST_F(Descriptors, TypesFilesAndTransducers) {
    const std::string words = path("words.morph");
    struct Case {
        json entry;
        int64_t type;
        bool transducer;
    };
    const Case cases[] = {
        {{{"file", words}}, 0, true},
        {{{"file", words}, {"lookup", "plain"}}, 1, true},
        {{{"file", words}, {"lookup", "reverse"}}, 0, true},
        {{{"file", words}, {"lookup", "compound_v3"}, {"max_components", 3}}, 4, true},
        {{{"file", words}, {"lookup", "tag"}}, 9, true},
        {{{"file", words}, {"lookup", "icu"}}, 10, false},
    };
    for (const Case& c : cases) {
        const MorphDataDescriptor d = create(c.entry);
        EXPECT_EQ(d.lookup_type, c.type) << c.entry;
        EXPECT_EQ(d.afst != nullptr, c.transducer) << c.entry;
        EXPECT_EQ(d.file, c.transducer ? words : "") << c.entry;
        EXPECT_EQ(d.guesser_file, "") << c.entry;
        EXPECT_EQ(d.converter, nullptr) << c.entry;
        EXPECT_EQ(d.properties, "") << c.entry;
    }
    // The engine's transducer is shared, not read again.
    EXPECT_EQ(create({{"file", words}}).afst, engine->get_afst(words));
}

TEST_F(Descriptors, GuesserLoadsItsGuesserFirst) {
    fixture::runtime_log().clear();
    const MorphDataDescriptor d = create(
        {{"lookup", "guesser"}, {"file", path("words.morph")}, {"guesser", path("guess.morph")}});
    EXPECT_EQ(d.lookup_type, 7);
    EXPECT_EQ(d.guesser_file, path("guess.morph"));
    EXPECT_EQ(d.file, path("words.morph"));
    ASSERT_NE(d.guesser_afst, nullptr);
    ASSERT_NE(d.afst, nullptr);
    EXPECT_EQ(loads(), (std::vector<std::string>{path("guess.morph"), path("words.morph")}));
}

TEST_F(Descriptors, KeepsItsOwnCopyOfTheEntry) {
    auto config = std::make_shared<json>(json{
        {"morph_chain",
         {{{"file", path("words.morph")}, {"lookup", "compound_v3"}, {"max_components", 2}}}}});
    const MorphDataDescriptor d = create(config->at("morph_chain")[0]);
    // A reloaded configuration frees the old one; the descriptor must not care.
    config.reset();
    ASSERT_NE(d.config, nullptr);
    EXPECT_EQ(d.config->at("max_components"), 2);
    // Documents build their steps from it later.
    fixture::ChainModule chains;
    chains.chain = {d};
    fixture::ChainDocument document(chains);
    auto* step = dynamic_cast<LookupProxy*>(document.document->lookup_chains->chain.at(0).get());
    ASSERT_NE(step, nullptr);
    auto* compound = dynamic_cast<dez::afst::CompoundLookupV3*>(step->strategy.get());
    ASSERT_NE(compound, nullptr);
    EXPECT_EQ(compound->max_components(), 2);
}

TEST_F(Descriptors, Failures) {
    const std::string words = path("words.morph");
    struct Case {
        json entry;
        std::string message;
    };
    const Case cases[] = {
        {{{"file", words}, {"lookup", "compound"}},
         "invalid config file format, unknown lookup type. supported types are "
         "[plain,compound,compound_v2,compound_v3,compound_numbers,reverse] and not:compound"},
        {{{"file", words}, {"lookup", "guesser"}},
         "Missing 'guesser' morph file in the language config file"},
        {{{"file", words}, {"transform", "TOLOWER"}},
         "invalid config file format, unknown transformer type. supported types are [tolower] "
         "and not:TOLOWER"},
        {{{"file", words}, {"properties", json::array({"a", 3})}},
         "invalid config file format, properties should be string:"},
        {{{"file", words}, {"properties", 3}},
         "invalid config file format, properties should be string:"},
        {{{"file", path("missing.morph")}},
         "morph file not found :(get_afst)[" + path("missing.morph") + "]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(failure(c.entry), c.message) << c.entry;

    // Keys that must be texts raise the JSON library's type error.
    for (const char* key : {"lookup", "transform"})
        EXPECT_THROW(create({{"file", words}, {key, 1}}), json::type_error) << key;
    EXPECT_THROW(create({{"file", 1}}), json::type_error);
    EXPECT_THROW(create({{"lookup", "guesser"}, {"file", words}, {"guesser", true}}),
                 json::type_error);
}

TEST(DescriptorEntry, Properties) {
    struct Case {
        json entry;
        std::string suffix;
    };
    const Case cases[] = {
        {json::object(), ""},
        {json("not an object"), ""},
        {{{"properties", "x"}}, "+x"},
        {{{"properties", "xy"}}, "+xy"},
        {{{"properties", "+xy"}}, "+xy"},
        {{{"properties", json::array({"+a", "bc"})}}, "+a+bc"},
        // One-character names are properties like longer ones.
        {{{"properties", json::array({"+a", "b"})}}, "+a+b"},
        {{{"properties", json::array({"Foo", "+Bar"})}}, "+Foo+Bar"},
        {{{"properties", json::array()}}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(get_additional_properties(c.entry), c.suffix) << c.entry;
}

TEST(DescriptorEntry, ConverterAndTypeName) {
    EXPECT_EQ(get_convert(json::object()), nullptr);
    EXPECT_EQ(get_convert({{"transform", "none"}}), nullptr);
    auto lower = get_convert({{"transform", "tolower"}});
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ((*lower)("CaT"), "cat");

    EXPECT_EQ(get_lookup_type_name(json::array()), "not_set");
    EXPECT_EQ(get_lookup_type_name(json::object()), "not_set");
    EXPECT_EQ(get_lookup_type_name({{"lookup", "endings"}}), "endings");
}

TEST_F(Descriptors, EntryThatIsNoObject) {
    // The empty file name reaches the engine, which finds no such file.
    EXPECT_EQ(failure(json::array()), "morph file not found :(get_afst)[]");
    const MorphDataDescriptor icu =
        create({{"lookup", "icu"}, {"transform", "tolower"}, {"properties", "y"}});
    EXPECT_NE(icu.converter, nullptr);
    EXPECT_EQ(icu.properties, "+y");
}

} // namespace
} // namespace dez::trelix::core
