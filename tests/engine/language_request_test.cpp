#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>
#include <unicode/rbbi.h>
#include <unicode/unistr.h>

#include "analysis/morph_data_descriptor.h"
#include "analysis/token_map.h"
#include "analysis/tokenizer_facade.h"
#include "engine/engine.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "tests/analysis/postagger_fixture.h"
#include "tests/core-afst/lexicon_fixture.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/tokenizer_statuses.h"

namespace dez::trelix {
namespace {

using namespace fixture;

const std::string english_notice =
    "Optimizing the english tokenizer file, this will take a while ...\n";

std::vector<std::string> file_lines(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A copy of tests/data/language with its morph transducer built, and an
// engine whose one data folder it is.
class LanguageRequest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        data = tree.folder("data");
        const fs::path source = fs::path(TRELIX_TEST_DATA) / "language";
        for (const auto& entry : fs::directory_iterator(source))
            fs::copy_file(entry.path(), data / entry.path().filename());
        write_lexicon(data / "english.morph");
        engine = engine_over(data);
    }

    static std::shared_ptr<Engine> engine_over(const fs::path& folder) {
        return std::make_shared<Engine>(options_of({{"root_path", folder.parent_path().string()},
                                                    {"morfex", folder.string()},
                                                    {"resource_manager_config", "{}"}}));
    }
    void write_lexicon(const fs::path& file) const {
        ASSERT_TRUE(
            afst_test::build_lexicon(file_lines(data / "english.lexicon"))->Write(file.string()));
    }
    std::string path(const std::string& name) const { return (data / name).string(); }
    // Loads quietly: the first load of a tokenizer prints its build notice.
    std::shared_ptr<LanguageModule> get(const std::string& language) const {
        testing::internal::CaptureStdout();
        try {
            auto module = engine->get_language_module(language);
            testing::internal::GetCapturedStdout();
            return module;
        } catch (...) {
            testing::internal::GetCapturedStdout();
            throw;
        }
    }
    std::string failure(const std::function<void()>& action) const {
        testing::internal::CaptureStdout();
        std::string message = "no failure";
        try {
            action();
        } catch (const std::exception& e) {
            message = e.what();
        }
        testing::internal::GetCapturedStdout();
        return message;
    }
    std::string failure(const std::string& language) const {
        return failure([&] { engine->get_language_module(language); });
    }

    fs::path data;
    std::shared_ptr<Engine> engine;
};

TEST_F(LanguageRequest, TheFixtureFolderLoads) {
    testing::internal::CaptureStdout();
    auto module = engine->get_language_module("english");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), english_notice);

    const std::string key = path("english.language");
    EXPECT_EQ(module->language, "english");
    EXPECT_EQ(module->name, "english");
    const LanguageModuleData& loaded = *module->data;
    EXPECT_EQ(engine->language_modules.at(key), module->data);
    EXPECT_EQ(loaded.config_filename, key);
    EXPECT_EQ(loaded.source_name, key);
    EXPECT_EQ(loaded.last_write_time_stamp, write_time_in_seconds(key));
    EXPECT_GT(loaded.last_access, 0);
    EXPECT_FALSE(loaded.detect_headers);
    EXPECT_EQ(loaded.abbreviations, "Dr\\.|Mr\\.|e\\.g\\.|etc\\.");
    EXPECT_EQ(loaded.apostrophes, "");
    EXPECT_EQ(loaded.measures, "");
    EXPECT_EQ(loaded.postagger, nullptr);
    ASSERT_NE(loaded.hmm, nullptr);
    // Keys the loader does not read stay for the analyzer.
    EXPECT_EQ(loaded.config->at("sentyziser"), "icu");

    // The language's mappings come after the defaults.
    EXPECT_EQ(loaded.token_map.size(), init_token_map().size() + 3);
    auto mention = loaded.token_map.equal_range(3000);
    EXPECT_EQ((std::vector<std::string>{mention.first->second, std::next(mention.first)->second}),
              (std::vector<std::string>{"+Mention", "handle"}));
    EXPECT_EQ(loaded.token_map.find(200)->second, "word");
    EXPECT_EQ(loaded.token_map.count(700), 3u);

    // Chain files are resolved, also inside the configuration.
    ASSERT_EQ(loaded.morph_chain.size(), 1u);
    EXPECT_EQ(loaded.morph_chain[0].lookup_type, 1);
    EXPECT_EQ(loaded.morph_chain[0].file, path("english.morph"));
    EXPECT_EQ(loaded.morph_chain[0].afst, engine->afsts.at(path("english.morph")));
    ASSERT_NE(loaded.morph_chain[0].config, nullptr);
    EXPECT_EQ(*loaded.morph_chain[0].config, loaded.config->at("morph_chain")[0]);
    EXPECT_EQ(loaded.config->at("morph_chain")[0].at("file"), path("english.morph"));
    ASSERT_EQ(loaded.not_found_chain.size(), 1u);
    EXPECT_EQ(loaded.not_found_chain[0].lookup_type, 10);
    EXPECT_EQ(loaded.not_found_chain[0].afst, nullptr);
    EXPECT_TRUE(loaded.property_chains.empty());

    // The compiled rules carry the statuses the token map is keyed by.
    EXPECT_EQ(fs::exists(path("english.tokenizer_cache")), true);
    EXPECT_EQ(fixture::statused_tokens(*module, "Dr. Smith's #topic, @user <b> costs $5 or 3.14!"),
              (std::vector<std::pair<std::string, int>>{{"Dr", 200},
                                                        {".", 501},
                                                        {"Smith's", 513},
                                                        {"#topic", 2000},
                                                        {",", 502},
                                                        {"@user", 3000},
                                                        {"<b>", 512},
                                                        {"costs", 200},
                                                        {"$", 514},
                                                        {"5", 100},
                                                        {"or", 200},
                                                        {"3.14", 511},
                                                        {"!", 501}}));

    const std::string stamp = std::to_string(loaded.last_write_time_stamp);
    EXPECT_TRUE(logged(level_info, "[Language] Get: " + key));
    EXPECT_TRUE(logged(level_debug, "[Language] Load: " + key));
    EXPECT_TRUE(logged(level_debug, "[Language] ADDING : " + key + " wts=" + stamp));
    EXPECT_TRUE(logged(level_trace, "-- get_language_module:english"));
    EXPECT_TRUE(logged(level_trace, "-- data path:" + data.string()));
    EXPECT_TRUE(logged(level_trace, "- generate config: " + key));
    EXPECT_TRUE(logged(level_trace, "- language: english"));
    EXPECT_TRUE(logged(level_trace, "- config file: " + key));
    EXPECT_TRUE(logged(level_trace, "[Language] Name: english"));
    EXPECT_TRUE(logged(level_trace, "[Language] Tokenizer file: " + path("english.tokenizer")));
    EXPECT_TRUE(logged(level_trace, "[Language] Abbreviation file: " + path("english.abbrev")));
    EXPECT_TRUE(logged(level_trace, "  -- morph_chain file: " + path("english.morph")));
    EXPECT_TRUE(
        logged(level_info, "[Tokenizer] Write cached : " + path("english.tokenizer_cache")));
}

TEST_F(LanguageRequest, TheSecondRequestIsACacheHit) {
    auto first = get("english");
    first->data->last_access = 0;
    runtime_log().clear();

    testing::internal::CaptureStdout();
    auto second = engine->get_language_module(options_of({{"language", "english"}}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(second, first);
    EXPECT_EQ(second->data, first->data);
    EXPECT_GT(second->data->last_access, 0);
    const std::string key = path("english.language");
    const std::string stamp = std::to_string(first->data->last_write_time_stamp);
    EXPECT_EQ(count_logged("[Language] Load: " + key), 0u);
    EXPECT_TRUE(logged(level_info, "[Language] Get: " + key));
    EXPECT_TRUE(logged(level_debug, "[Language]  language_data->last_write_time_stamp=" + stamp +
                                        ", ondisk_timestamp=" + stamp));
    EXPECT_TRUE(logged(level_trace, "[Language] Last access : " +
                                        std::to_string(second->data->last_access.load())));
}

TEST_F(LanguageRequest, ANewerFileIsLoadedAgainSupportFilesDoNotCount) {
    const std::string key = path("english.language");
    auto first = get("english");
    age(path("english.abbrev"), 10);
    age(path("english.morph"), 10);
    EXPECT_EQ(get("english")->data, first->data);

    age(key, 10);
    runtime_log().clear();
    auto fresh = get("english");
    EXPECT_NE(fresh->data, first->data);
    EXPECT_EQ(engine->language_modules.at(key), fresh->data);
    EXPECT_EQ(fresh->data->last_write_time_stamp, write_time_in_seconds(key));
    EXPECT_TRUE(logged(level_debug, "[Language]  Newer version of " + key));
    EXPECT_TRUE(logged(level_debug, "[Language] Release language: " + key));
    EXPECT_EQ(count_logged("[Language] Load: " + key), 1u);
    // Modules handed out before keep their data.
    EXPECT_EQ(first->data->config_filename, key);
    EXPECT_EQ(first->data->morph_chain.size(), 1u);
}

TEST_F(LanguageRequest, ADeletedFileKeepsItsCachedData) {
    const std::string key = path("english.language");
    auto module = get("english");
    fs::remove(key);
    engine->check_language_file(key);
    EXPECT_EQ(engine->language_modules.at(key), module->data);
}

TEST_F(LanguageRequest, TwoSpellingsOfOneFileShareOneEntry) {
    tree.folder("data/sub");
    auto by_name = get("english");
    auto by_path = get((data / "sub" / ".." / "english.language").string());
    EXPECT_EQ(by_path->data, by_name->data);
    EXPECT_EQ(engine->language_modules.size(), 1u);
    EXPECT_EQ(count_logged("[Language] Load: " + path("english.language")), 1u);

    // Staleness and release find the entry under either spelling too.
    age(path("english.language"), 10);
    engine->check_language_file((data / "sub" / ".." / "english.language").string());
    EXPECT_TRUE(engine->language_modules.empty());
    get("english");
    EXPECT_TRUE(engine->release_language((data / "." / "english.language").string()));
    EXPECT_TRUE(engine->language_modules.empty());
}

TEST_F(LanguageRequest, BareNamesOfTheFallbackSetGetTheGenericModule) {
    auto module = get("albanian");
    EXPECT_EQ(module->language, "generic");
    EXPECT_EQ(module->name, "albanian");
    EXPECT_EQ(module->data->config_filename, path("generic.language"));
    EXPECT_TRUE(logged(level_debug, R"(using generic language module.{"language":"albanian"})"));
    // The pipeline found nothing, and the loader went on with its own search.
    bool expanded = false;
    for (const auto& [level, line] : runtime_log())
        expanded = expanded || (line.rfind("-- [PIPELINE][EXPANSION]:(albanian) -> ", 0) == 0 &&
                                line.find("not_found") != std::string::npos);
    EXPECT_TRUE(expanded);
    EXPECT_EQ(get("generic")->data, module->data);

    EXPECT_EQ(failure("klingon"), "language config file missing for [klingon] :klingon");
    fs::remove(path("generic.language"));
    engine->release_language(path("generic.language"));
    EXPECT_EQ(failure("albanian"), "language config file missing for [generic] :generic");
    EXPECT_TRUE(engine->language_modules.empty());
}

TEST_F(LanguageRequest, FilesOutsideTheDataFoldersAndInTheProject) {
    const fs::path elsewhere = tree.file("elsewhere/mini.language", R"({"morph_chain": []})");
    auto module = get(elsewhere.string());
    EXPECT_EQ(module->name, elsewhere.string());
    EXPECT_EQ(module->language, elsewhere.string());
    EXPECT_EQ(module->data->config_filename, elsewhere.string());

    const fs::path project = tree.folder("project");
    tree.file("project/special.language", R"({"morph_chain": [{"file": "english.morph"}]})");
    EXPECT_EQ(failure("special"), "language config file missing for [special] :special");
    testing::internal::CaptureStdout();
    auto special = engine->get_language_module(
        options_of({{"language", "special"}, {"project_path", project.string()}}));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(special->name, "special");
    // Chain files are found through the data folders.
    EXPECT_EQ(special->data->morph_chain.at(0).file, path("english.morph"));
}

TEST_F(LanguageRequest, NamedChainsAndTheMissingChainWarning) {
    tree.file("data/named.language", R"({"property_chain": {
        "b": [{"file": "english.morph"}], "a": []}})");
    auto named = get("named");
    EXPECT_TRUE(logged(level_warning, "Missing morph_chain file in " + path("named.language")));
    EXPECT_TRUE(named->data->morph_chain.empty());
    const auto& chains = named->data->property_chains;
    ASSERT_EQ(chains.size(), 2u);
    EXPECT_TRUE(chains.at("a").empty());
    ASSERT_EQ(chains.at("b").size(), 1u);
    EXPECT_EQ(chains.at("b")[0].file, path("english.morph"));

    tree.file("data/listed.language",
              R"({"morph_chain": [], "property_chain": [[{"file": "english.morph"}], []]})");
    const auto& listed = get("listed")->data->property_chains;
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed.at("0").size(), 1u);
    EXPECT_TRUE(listed.at("1").empty());
}

TEST_F(LanguageRequest, APostaggerThatCannotBeReadIsReported) {
    write_lexicon(data / "good.postagger");
    tree.file("data/broken.postagger", "not a transducer");
    struct Case {
        std::string file;
        bool loaded;
        std::string reported;
    };
    const std::vector<Case> cases = {
        {"good.postagger", true, ""},
        {"broken.postagger", false, path("broken.postagger")},
        {"missing.postagger", false, "missing.postagger"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        runtime_log().clear();
        const std::string language = "tagged_" + c.file.substr(0, c.file.find('.'));
        tree.file("data/" + language + ".language",
                  nlohmann::json({{"morph_chain", nlohmann::json::array()}, {"postagger", c.file}})
                      .dump());
        auto module = get(language);
        EXPECT_EQ(module->data->postagger != nullptr, c.loaded);
        const std::string line = "[Language] Cannot load/find pos disambiguator file " + c.reported;
        EXPECT_EQ(logged(level_error, line), !c.loaded);
    }
}

// The disambiguation would fail every document on a property test that
// names no property; such a postagger is refused when the language loads.
TEST_F(LanguageRequest, APostaggerTheDisambiguationCannotWalkIsRefused) {
    dez::trelix::fixture::Postagger postagger;
    postagger.path({{"V", "eps"}, {"+m1", "#1"}});
    ASSERT_TRUE(postagger.network()->Write(path("context.postagger")));
    tree.file("data/tagged_context.language",
              R"({"morph_chain": [], "postagger": "context.postagger"})");
    runtime_log().clear();
    auto module = get("tagged_context");
    EXPECT_EQ(module->data->postagger, nullptr);
    EXPECT_TRUE(
        logged(level_error, "[Language] Cannot load/find pos disambiguator file " +
                                path("context.postagger") +
                                ": Postagger property test without a property name: \"+m1\""));
}

TEST_F(LanguageRequest, RequestsWithoutALanguageFailBeforeLogging) {
    runtime_log().clear();
    EXPECT_EQ(failure([&] { engine->get_language_module(options_of(nlohmann::json::object())); }),
              "Language has not been set.");
    EXPECT_EQ(failure([&] { engine->get_language_module(std::string()); }),
              "Language has not been set.");
    EXPECT_TRUE(runtime_log().empty());
}

TEST_F(LanguageRequest, ComponentsThatAreNoLanguageFile) {
    EXPECT_EQ(failure("tool.app"), "Language file not found. tool.app");
    // A folder of that name cannot be read.
    const fs::path folder = tree.folder("data/folder.language");
    EXPECT_EQ(failure("folder"), "can not open file " + folder.string());
}

// Each broken file is requested as "bad"; {path} stands for its path and
// {data} for the data folder. Nothing is cached and the engine lock is free
// again after each failure.
TEST_F(LanguageRequest, BrokenFilesFailWithTheirMessages) {
    tree.folder("data/sub");
    tree.file("data/empty.tokenizer");
    const std::string type_error = "[json.exception.type_error.302] type must be string, but is ";
    const std::string mapper_format =
        "Invalid config file format in the tokenizer_mapper :\n - file:{path}\n - Format : "
        "\"tokenizer_mapper\" : [ [int,string,...,string],[int,string,...,string] ]";
    const std::string mapper_item_format =
        "Invalid config file format in the tokenizer_mapper :\n - file:{path}\n - Format : "
        "\"tokenizer_mapper\" : [ [int,string,...,string],[int,string...,string] ]";
    struct Case {
        std::string content;
        std::string message;
    };
    const std::vector<Case> cases = {
        // The text of the file is never echoed: only its path and the position.
        {"{\n  \"tokenizer\": secret\n}", "Invalid json input file:{path}\n - line:2:16"},
        {"{\"a\": 1,", "Invalid json input file:{path}\n - line:1:9"},
        {"", "Invalid json input file:{path}\n - line:1:1"},
        {"[\"secret\"]", "Invalid json input file:{path}\n - not a JSON object"},
        {R"({"detect_headers": "secret"})",
         "Invalid type for the field 'detect_headers' for the language [bad] in {path}"},
        {R"({"tokenizer_mapper": [[-1, "x"]]})", mapper_format},
        {R"({"tokenizer_mapper": [[5]]})", mapper_format},
        {R"({"tokenizer_mapper": [["5", "x"]]})", mapper_format},
        {R"({"tokenizer_mapper": [[5, 3]]})", mapper_format},
        {R"({"tokenizer_mapper": [[1.5, "x"]]})", mapper_format},
        {R"({"tokenizer_mapper": [[4294967296, "x"]]})", mapper_format},
        {R"({"tokenizer_mapper": [5]})", mapper_format},
        {R"({"tokenizer_mapper": 5})", mapper_format},
        {R"({"tokenizer_mapper": [[5, "a", 3]]})", mapper_item_format},
        {R"({"morph_chain": ["english.morph"]})",
         "Deprecated Config use new format.english.morphex: { \"file\": \"english.morph\" , "
         "\"lookup\" : \"plain\" , \"transform\" : \"none\" }"},
        {R"({"morph_chain": [3]})", "invalid config file format for "},
        {R"({"morph_chain": [{"file": "missing.morph"}]})",
         "Cannot find morph file:[missing.morph]"},
        {R"({"morph_chain": [{"file": "sub"}]})", "Cannot find morph file:[sub]"},
        {R"({"not_found": [{"file": "missing.morph"}]})", "Cannot find morph file:[missing.morph]"},
        {R"({"property_chain": {"p": [{"file": "missing.morph"}]}})",
         "Cannot find morph file:[missing.morph]"},
        {R"({"morph_chain": [{"file": "english.morph", "lookup": "guesser", "guesser": "no.morph"}]})",
         "Cannot find guesser morph file:[no.morph]"},
        {R"({"morph_chain": [{"file": "english.morph", "lookup": "guesser"}]})",
         "Missing 'guesser' morph file in the language config file"},
        {R"({"tokenizer": "missing.rules"})", "Missing tokenizer file: [bad] missing.rules"},
        {R"({"tokenizer": "empty.tokenizer"})",
         "Loading regex parser :\n - file:{data}/empty.tokenizer\n - line:1:0"},
        {R"({"tokenizer": 5})", type_error + "number"},
        {R"({"hmm": 5})", type_error + "number"},
        {R"({"abbreviations": ["english.abbrev"]})", type_error + "array"},
        {R"({"measure": true})", type_error + "boolean"},
        {R"({"morph_chain": [{"file": 5}]})", type_error + "number"},
        {R"({"morph_chain": [{"file": "english.morph", "guesser": null}]})", type_error + "null"},
    };
    const std::string bad = path("bad.language");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        tree.file("data/bad.language", c.content);
        std::string expected = c.message;
        for (auto [marker, value] :
             {std::pair<std::string, std::string>{"{path}", bad}, {"{data}", data.string()}})
            if (auto at = expected.find(marker); at != std::string::npos)
                expected.replace(at, marker.size(), value);
        const std::string message = failure("bad");
        EXPECT_EQ(message, expected);
        EXPECT_EQ(message.find("secret"), std::string::npos);
        EXPECT_EQ(engine->language_modules.count(bad), 0u);
    }
    EXPECT_EQ(get("english")->name, "english");
}

TEST_F(LanguageRequest, OnlyTheFirstLoadBuildsTheTokenizer) {
    testing::internal::CaptureStdout();
    engine->get_language_module("english");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), english_notice);
    EXPECT_TRUE(fs::exists(path("english.tokenizer_cache")));

    // Another engine (or process) reads the cache.
    auto other = engine_over(data);
    testing::internal::CaptureStdout();
    auto module = other->get_language_module("english");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(module->data->owns_rules_data);
    EXPECT_EQ(fixture::statused_tokens(*module, "#a").at(0).second, 2000);
}

TEST_F(LanguageRequest, ConcurrentRequestsLoadOnce) {
    testing::internal::CaptureStdout();
    std::vector<std::shared_ptr<LanguageModule>> modules(4);
    std::vector<std::thread> threads;
    for (auto& module : modules)
        threads.emplace_back([&] { module = engine->get_language_module("english"); });
    for (auto& thread : threads)
        thread.join();
    testing::internal::GetCapturedStdout();
    for (const auto& module : modules)
        EXPECT_EQ(module->data, modules[0]->data);
    EXPECT_EQ(count_logged("[Language] Load: " + path("english.language")), 1u);
}

} // namespace
} // namespace dez::trelix
