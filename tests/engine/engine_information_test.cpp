#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "core-afst/afst.h"
#include "core-afst/word_lookup.h"
#include "domain/domain_facade.h"
#include "engine/domain_store.h"
#include "engine/language_listing.h"
#include "engine/language_module_data.h"
#include "tests/analysis/lid_fixture.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

class EngineInformationTest : public EngineFixture {
protected:
    std::shared_ptr<Engine> engine_with(const std::vector<fs::path>& folders) {
        std::string morfex;
        for (const fs::path& folder : folders)
            morfex += (morfex.empty() ? "" : ":") + folder.string();
        return std::make_shared<Engine>(
            options_of({{"root_path", tree.root.string()}, {"morfex", morfex}}));
    }
};

TEST_F(EngineInformationTest, InfoOfAnEngineWithNothingLoaded) {
    auto engine = bare_engine(tree.root);
    EXPECT_EQ(engine->info(), "{\"domains\":[],\"languages\":[],\"options\":{\"morfex\":\"\","
                              "\"resource_manager_config\":\"{}\",\"root_path\":\"" +
                                  tree.root.string() +
                                  "\"},\"sdk_version\":\"3.1.1\",\"type\":\"release\"}");
}

TEST_F(EngineInformationTest, InfoListsLoadedLanguagesAndDomainsInKeyOrder) {
    auto engine = bare_engine(tree.root);
    auto module = std::make_shared<LanguageModuleData>("english");
    module->last_access = 1700000000;
    engine->language_modules["/d/english.language"] = module;
    engine->language_modules["/a/dutch.language"] = std::make_shared<LanguageModuleData>("dutch");
    auto domain = std::make_shared<DomainFacade>("places");
    domain->last_access_seconds = 42;
    engine->domain_store->domains["places"] = domain;
    engine->domain_store->domains["names"] = std::make_shared<DomainFacade>("names");

    const nlohmann::json info = nlohmann::json::parse(engine->info());
    EXPECT_EQ(info["languages"].dump(),
              "[{\"last_access\":-1,\"name\":\"/a/dutch.language\"},"
              "{\"last_access\":1700000000,\"name\":\"/d/english.language\"}]");
    EXPECT_EQ(info["domains"].dump(), "[{\"last_access\":-1,\"name\":\"names\"},"
                                      "{\"last_access\":42,\"name\":\"places\"}]");
}

TEST_F(EngineInformationTest, LanguageListing) {
    const fs::path first = tree.folder("first");
    const fs::path second = tree.folder("second");
    // One file per language and folder: which of two files in one folder is
    // met first depends on the file system.
    tree.file("first/english@us.language", R"({"tokenizer_locale":"en_US","morph_chain":[]})");
    tree.file("first/german.language", R"({"hmm":"x"})");
    tree.file("first/broken.language", R"({"tokenizer": )");
    tree.file("first/listed.language", R"(["tokenizer"])");
    tree.file("first/notes.txt", "{}");
    tree.file("first/sub/french.language", R"({"tokenizer":"t"})");
    tree.file("second/english.language", R"({"tokenizer_locale":"en"})");
    tree.file("second/english@uk.language", R"({"tokenizer":"t"})");
    tree.file("second/dutch.language", R"({"morph_chain":[]})");
    auto engine = engine_with({first, second});

    // The language met first keeps its one variant: the later folder's
    // "english" and "english@uk" add nothing.
    EXPECT_EQ(engine->languages(),
              "{\"broken\":{\"none\":{\"error\":\"Invalid json language file.\"}},"
              "\"dutch\":{\"none\":{\"support\":[\"morphology\"]}},"
              "\"english\":{\"us\":{\"support\":[\"tokenizer_locale\",\"morphology\"]}},"
              "\"german\":{\"none\":null},\"listed\":{\"none\":null}}");
}

TEST_F(EngineInformationTest, LanguageListingEdges) {
    // No language files at all.
    const fs::path empty = tree.folder("empty");
    tree.file("empty/readme.txt", "x");
    EXPECT_EQ(engine_with({empty})->languages(), "{}");

    // A folder gone after construction is passed over, not an error.
    const fs::path gone = tree.folder("gone");
    const fs::path kept = tree.folder("kept");
    tree.file("kept/thai.language", "{}");
    auto engine = engine_with({gone, kept});
    fs::remove_all(gone);
    EXPECT_EQ(engine->languages(), "{\"thai\":{\"none\":null}}");

    // Files added while the engine lives appear in the next listing.
    tree.file("kept/lao.language", "{}");
    EXPECT_EQ(engine->languages(), "{\"lao\":{\"none\":null},\"thai\":{\"none\":null}}");
}

TEST_F(EngineInformationTest, NamesThatAreNotUtf8AreListedWithReplacements) {
    const std::string latin1 = "caf\xE9";
    const std::string replaced = "caf\xEF\xBF\xBD";
    const fs::path data = tree.folder("data");
    tree.file("data/" + latin1 + ".language", "{}");
    auto engine = engine_with({data});
    EXPECT_EQ(engine->languages(), "{\"" + replaced + "\":{\"none\":null}}");

    engine->language_modules["/d/" + latin1 + ".language"] =
        std::make_shared<LanguageModuleData>(latin1);
    engine->domain_store->domains[latin1] = std::make_shared<DomainFacade>(latin1);
    const nlohmann::json info = nlohmann::json::parse(engine->info());
    EXPECT_EQ(info["languages"][0]["name"], "/d/" + replaced + ".language");
    EXPECT_EQ(info["domains"][0]["name"], replaced);
}

TEST_F(EngineInformationTest, CollectLanguageFilesCountsAndRecurses) {
    tree.file("data/a.language", "{}");
    tree.file("data/b@x.language", "{}");
    tree.file("data/c.txt", "");
    tree.file("data/deep/d.language", "{\"tokenizer\":1}");
    nlohmann::json flat = nlohmann::json::object();
    EXPECT_EQ(collect_language_files((tree.root / "data").string(), ".language", flat, false), 2);
    EXPECT_EQ(flat.dump(), "{\"a\":{\"none\":null},\"b\":{\"x\":null}}");

    nlohmann::json deep = nlohmann::json::object();
    EXPECT_EQ(collect_language_files((tree.root / "data").string(), ".language", deep, true), 3);
    EXPECT_EQ(deep["d"].dump(), "{\"none\":{\"support\":[\"tokenizer\"]}}");

    nlohmann::json any = nlohmann::json::object();
    EXPECT_EQ(collect_language_files((tree.root / "data").string(), "", any, false), 3);

    nlohmann::json missing = nlohmann::json::object();
    EXPECT_THROW(collect_language_files((tree.root / "none").string(), ".language", missing, false),
                 fs::filesystem_error);

    nlohmann::json entry;
    add_support_level(entry, (tree.root / "none.language").string());
    EXPECT_TRUE(entry.is_null());
}

// The transducer's answer for a word: which lid.fst was loaded.
std::vector<std::string> vote_of(const std::shared_ptr<dez::afst::AFst>& lexicon,
                                 const std::string& word) {
    dez::afst::WordLookup lookup(lexicon, nullptr);
    return lookup.up(word);
}

TEST_F(EngineInformationTest, LidFstIsFoundOnceAndShared) {
    const fs::path data = tree.folder("data");
    dez::lid::fixture::write_lid_fst(data / "lid.fst", {{"und", "DE10"}});
    auto engine = engine_with({data});
    const auto loaded = engine->get_language_identifier_data();
    EXPECT_EQ(vote_of(loaded, "und"), std::vector<std::string>{"DE10"});
    EXPECT_TRUE(logged(level_debug, "get_language_identifier_data " +
                                        (tree.root / "morfex" / "lid.fst").string()));

    // Later calls do not touch the disk.
    fs::remove(data / "lid.fst");
    EXPECT_EQ(engine->get_language_identifier_data(), loaded);
}

TEST_F(EngineInformationTest, LidFstOfTheRootDataFolderComesFirst) {
    const fs::path data = tree.folder("data");
    dez::lid::fixture::write_lid_fst(data / "lid.fst", {{"und", "DE10"}});
    dez::lid::fixture::write_lid_fst(tree.root / "morfex" / "lid.fst", {{"und", "DE20"}});
    EXPECT_EQ(vote_of(engine_with({data})->get_language_identifier_data(), "und"),
              std::vector<std::string>{"DE20"});

    // A file that does not read as a transducer counts as not found.
    tree.file("morfex/lid.fst", "not a transducer");
    EXPECT_EQ(vote_of(engine_with({data})->get_language_identifier_data(), "und"),
              std::vector<std::string>{"DE10"});
}

TEST_F(EngineInformationTest, NoLidFstAnywhere) {
    const fs::path a = tree.folder("a");
    const fs::path b = tree.folder("b");
    auto engine = engine_with({a, b});
    EXPECT_EQ(failure_of([&] { engine->get_language_identifier_data(); }),
              "Could not load language identification data. [lid.fst]");
    EXPECT_TRUE(logged(level_debug, "Could not load language identification data. [lid.fst] in [" +
                                        a.string() + ":" + b.string() + ":]"));
    // A file put there later is found by the next call.
    dez::lid::fixture::write_lid_fst(b / "lid.fst", {{"und", "DE10"}});
    EXPECT_NE(engine->get_language_identifier_data(), nullptr);
}

} // namespace
} // namespace dez::trelix
