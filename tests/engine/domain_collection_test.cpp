#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "domain/domain_facade.h"
#include "engine/add_domain.h"
#include "engine/domain_freshness.h"
#include "engine/domain_store.h"
#include "engine/engine.h"
#include "tests/engine/domain_fixture.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

// The stems of the domains' store files, in collection order.
std::vector<std::string> order(const DomainCollection& collection) {
    std::vector<std::string> stems;
    for (const auto& entry : collection)
        stems.push_back(fs::path(entry.second->get_sqlite_filename()).stem().string());
    return stems;
}

// An engine whose one data folder is data/ of the tree.
class DomainRequest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        data = tree.folder("data");
        engine = std::make_shared<Engine>(options_of({{"root_path", tree.root.string()},
                                                      {"morfex", data.string()},
                                                      {"resource_manager_config", "{}"}}));
    }

    fs::path dom(const std::string& name) const { return data / (name + ".dom"); }

    std::map<std::string, std::shared_ptr<DomainFacade>>& store() {
        return engine->domain_store->domains;
    }

    fs::path data;
    std::shared_ptr<Engine> engine;
};

struct PlacementCase {
    const char* title;
    // Domain -> the domains its `.dom_info` lists; a domain only named as a
    // dependency gets no `.dom_info`.
    std::map<std::string, std::vector<std::string>> needs;
    std::string requested;
    std::vector<std::string> expected;
};

class Placement : public DomainRequest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(Placement, DependenciesRunFirstAndTheRequestedDomainLast) {
    const PlacementCase& c = GetParam();
    std::set<std::string> names{c.requested};
    for (const auto& [domain, dependencies] : c.needs) {
        names.insert(domain);
        names.insert(dependencies.begin(), dependencies.end());
    }
    for (const std::string& name : names) {
        auto it = c.needs.find(name);
        if (it == c.needs.end())
            write_domain(dom(name));
        else
            write_domain_needing(dom(name), it->second);
    }

    const DomainCollection collection = engine->get_domains(c.requested, true);
    EXPECT_EQ(order(collection), c.expected);
    ASSERT_FALSE(collection.empty());
    EXPECT_EQ(collection.back().first, c.requested);
    // Every domain is read once and stored once.
    EXPECT_EQ(store().size(), c.expected.size());
    for (const auto& [name, facade] : collection) {
        auto stored = engine->domain_store->find_file(facade->get_sqlite_filename());
        EXPECT_EQ(stored.second, facade) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedOrders, Placement,
    ::testing::Values(
        PlacementCase{"TwoIndependent", {{"A", {"B", "C"}}}, "A", {"B", "C", "A"}},
        PlacementCase{"ListedTheOtherWay", {{"A", {"C", "B"}}}, "A", {"C", "B", "A"}},
        PlacementCase{"SecondNeedsFirst", {{"A", {"B", "C"}}, {"C", {"B"}}}, "A", {"B", "C", "A"}},
        PlacementCase{"SharedDependency",
                      {{"A", {"B", "C"}}, {"B", {"D"}}, {"C", {"D"}}},
                      "A",
                      {"D", "B", "C", "A"}},
        PlacementCase{"IndirectThroughAPlacedOne",
                      {{"A", {"B", "C"}}, {"C", {"X"}}, {"X", {"B"}}},
                      "A",
                      {"B", "X", "C", "A"}},
        PlacementCase{"MutualFromA", {{"A", {"B"}}, {"B", {"A"}}}, "A", {"B", "A"}},
        PlacementCase{"MutualFromB", {{"A", {"B"}}, {"B", {"A"}}}, "B", {"A", "B"}},
        PlacementCase{"EmptyList", {{"A", {}}}, "A", {"A"}},
        PlacementCase{"NoDomainInformation", {}, "A", {"A"}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(DomainRequest, DomInfoWithoutDependenciesGivesTheDomainAlone) {
    write_domain(dom("A"));
    write_dom_info(dom("A"), {{"concepts", "Place"}});
    EXPECT_EQ(order(engine->get_domains("A", true)), std::vector<std::string>{"A"});
}

TEST_F(DomainRequest, CachedDomainIsServedUntilItsFileChanges) {
    write_domain_needing(dom("A"), {"B"});
    write_domain(dom("B"));

    const DomainCollection first = engine->get_domains("A", true);
    EXPECT_TRUE(logged(level_info, "[Domain] [Engine]: load : A"));
    EXPECT_TRUE(logged(level_trace, "[Domain] get_domain_collection Acache:1"));

    runtime_log().clear();
    const DomainCollection second = engine->get_domains("A", true);
    EXPECT_TRUE(logged(level_info, "[Domain] [Engine]: using cached : A"));
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(first[i].second, second[i].second) << i;

    age(dom("A"), 10);
    runtime_log().clear();
    const DomainCollection third = engine->get_domains("A", true);
    EXPECT_TRUE(logged(level_info, "[Domain] [Engine]: reload: A"));
    EXPECT_NE(third.back().second, first.back().second);
    EXPECT_EQ(store().at("A"), third.back().second);
}

TEST_F(DomainRequest, UncachedRequestStoresOnlyTheDependencies) {
    write_domain_needing(dom("A"), {"B"});
    write_domain(dom("B"));
    const DomainCollection collection = engine->get_domains("A", false);
    EXPECT_EQ(order(collection), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(store().count("A"), 0u);
    ASSERT_EQ(store().size(), 1u);
    EXPECT_EQ(store().begin()->second, collection.front().second);
}

// A domain asked for by name and met as a resolved dependency path is one
// entry, read once, whichever comes first.
TEST_F(DomainRequest, NameAndResolvedPathAreOneEntry) {
    write_domain_needing(dom("A"), {"B"});
    write_domain(dom("B"));

    const DomainCollection b = engine->get_domains("B", true);
    const DomainCollection a = engine->get_domains("A", true);
    EXPECT_EQ(a.front().second, b.front().second);
    EXPECT_EQ(store().size(), 2u);

    engine->release_domains();
    const DomainCollection a2 = engine->get_domains("A", true);
    runtime_log().clear();
    const DomainCollection b2 = engine->get_domains("B", true);
    EXPECT_TRUE(logged(level_info, "[Domain] [Engine]: using cached : B"));
    EXPECT_EQ(b2.front().second, a2.front().second);
    EXPECT_EQ(store().size(), 2u);
}

TEST_F(DomainRequest, NamesThatFindNothingFailAndStoreNothing) {
    const fs::path source = tree.folder("sources/geo");
    struct Case {
        std::string requested;
        std::string message;
    };
    const std::vector<Case> cases{
        {"nowhere", "Domain file not found. nowhere"},
        // A source folder that holds no built domain.
        {source.string(), "Cannot find domain file " + source.string()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(failure_of([&] { engine->get_domains(c.requested, true); }), c.message);
        EXPECT_TRUE(store().empty()) << c.requested;
    }
}

TEST_F(DomainRequest, ReloadThatFindsNothingFailsAndKeepsTheStoredDomain) {
    const fs::path source = tree.folder("sources/geo");
    write_domain(source / "domain.dom");
    const auto loaded = engine->get_domains(source.string(), true).back().second;

    fs::remove(source / "domain.dom");
    EXPECT_EQ(failure_of([&] { engine->get_domains(source.string(), true); }),
              "Cannot find domain file " + source.string());
    EXPECT_TRUE(logged(level_info, "[Domain] [Engine]: reload: " + source.string()));
    ASSERT_EQ(store().count(source.string()), 1u);
    EXPECT_EQ(store().at(source.string()), loaded);
    EXPECT_NE(loaded->build_time, -1);
}

TEST_F(DomainRequest, DependencyThatFindsNothingFailsAndIsNotStored) {
    const fs::path empty_source = tree.folder("sources/empty");
    write_domain_needing(dom("A"), {empty_source.string()});
    EXPECT_EQ(failure_of([&] { engine->get_domains("A", true); }),
              "Cannot find domain file " + empty_source.string());
    EXPECT_EQ(store().count(empty_source.string()), 0u);
    EXPECT_EQ(store().count("A"), 0u);

    write_domain_needing(dom("C"), {"missing"});
    EXPECT_EQ(failure_of([&] { engine->get_domains("C", true); }),
              "Domain file not found. missing");
}

TEST_F(DomainRequest, DomainIsReadWithoutTheEngineLock) {
    const fs::path source = tree.folder("sources/slow");
    write_domain(source / "domain.dom");
    // The loader blocks on this pipe until the test has looked at the lock.
    const fs::path pipe = source / "domain.dom_info";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    DomainCollection collection;
    std::string failure = "no failure";
    std::thread request([&] {
        failure = failure_of([&] { collection = engine->get_domains(source.string(), true); });
    });
    bool lock_was_free = false;
    {
        // Opening the write end waits for the loader to open the read end.
        std::ofstream writer(pipe);
        lock_was_free = engine->get_mutex().try_lock();
        if (lock_was_free)
            engine->get_mutex().unlock();
        writer << R"({"dependencies": []})";
    }
    request.join();
    EXPECT_TRUE(lock_was_free);
    EXPECT_EQ(failure, "no failure");
    EXPECT_EQ(order(collection), std::vector<std::string>{"domain"});
}

TEST_F(DomainRequest, ReleaseTouchesOnlyStoredNames) {
    write_domain(dom("A"));
    const auto collection = engine->get_domains("A", false);
    EXPECT_FALSE(engine->release_domain("A"));
    engine->get_domains("A", true);
    EXPECT_TRUE(engine->release_domain("A"));
    EXPECT_TRUE(logged(level_debug, "[Domain] Purge domainA"));
    EXPECT_FALSE(engine->release_domain("A"));
}

TEST_F(DomainRequest, DomainFileOfANameOrPath) {
    write_domain(dom("A"));
    EXPECT_EQ(engine->get_domain_filename(dom("A").string()), dom("A").string());
    EXPECT_EQ(engine->get_domain_filename(data.string()), data.string());
    EXPECT_EQ(engine->get_domain_filename("A"), dom("A").string());
    EXPECT_EQ(failure_of([&] { engine->get_domain_filename("B"); }), "Domain file not found. B");
}

TEST(AddDomain, InsertsAfterTheFurthestDependencyButBeforeTheLast) {
    auto facade = [](const std::string& file) {
        auto f = std::make_shared<DomainFacade>(file);
        f->sqlite_filename = file;
        return f;
    };
    struct Case {
        std::vector<std::string> present;
        std::set<std::string> dependencies;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {{}, {"a"}, {"n"}},
        {{"r"}, {}, {"n", "r"}},
        {{"a", "b", "r"}, {"a"}, {"a", "n", "b", "r"}},
        {{"a", "b", "r"}, {"a", "b"}, {"a", "b", "n", "r"}},
        // A dependency at the last entry does not move the insertion point.
        {{"a", "r"}, {"r"}, {"n", "a", "r"}},
        {{"a", "b", "r"}, {"x"}, {"n", "a", "b", "r"}},
    };
    for (const Case& c : cases) {
        DomainCollection out;
        for (const std::string& name : c.present)
            out.emplace_back(name, facade(name));
        add_domain(out, "n", facade("n"), c.dependencies);
        std::vector<std::string> names;
        for (const auto& entry : out)
            names.push_back(entry.first);
        EXPECT_EQ(names, c.expected);
    }
    DomainCollection out{{"x", facade("x")}};
    EXPECT_TRUE(is_already_loaded("x", out));
    EXPECT_FALSE(is_already_loaded("y", out));
}

class Freshness : public EngineFixture {};

TEST_F(Freshness, ADomainIsLoadedAgainWhenItsFileOrSourcesChange) {
    const fs::path source = tree.folder("geo");
    const fs::path file = source / "domain.dom";
    write_domain(file);
    tree.file("geo/rules.tlx", "rule");
    tree.file("geo/sub/deeper.tlx", "rule");
    tree.file("geo/notes.txt", "notes");

    auto loaded = [&] {
        auto facade = std::make_shared<DomainFacade>(source.string());
        facade->sqlite_filename = file.string();
        facade->update_build_time();
        return facade;
    };

    auto facade = loaded();
    EXPECT_FALSE(domains_need_to_be_recompiled(*facade, source.string()));
    EXPECT_FALSE(domains_need_to_be_recompiled(*facade, "geo"));

    DomainFacade unknown("x");
    EXPECT_TRUE(domains_need_to_be_recompiled(unknown, "x"));

    // Only sources directly in the folder count, and only ".tlx" ones.
    age(source / "sub" / "deeper.tlx", 10);
    age(source / "notes.txt", 10);
    EXPECT_FALSE(domains_need_to_be_recompiled(*facade, source.string()));
    bool found = false;
    has_newer_source_files(source.string(), ".tlx", *facade, found, true);
    EXPECT_TRUE(found);

    age(source / "rules.tlx", 10);
    EXPECT_TRUE(domains_need_to_be_recompiled(*facade, source.string()));
    EXPECT_FALSE(domains_need_to_be_recompiled(*facade, "geo")) << "not a folder name";

    age(file, 20);
    EXPECT_TRUE(domains_need_to_be_recompiled(*facade, "geo"));
    facade = loaded();
    fs::remove(file);
    EXPECT_TRUE(domains_need_to_be_recompiled(*facade, "geo"));
}

} // namespace
} // namespace dez::trelix
