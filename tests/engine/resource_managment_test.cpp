#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "domain/domain_facade.h"
#include "engine/domain_store.h"
#include "engine/engine.h"
#include "engine/language_module_data.h"
#include "engine/resource_managment.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

// An engine whose caches the test fills, and a manager over it with clocks
// the test sets.
class Purge : public EngineFixture {
protected:
    std::unique_ptr<ResourceManagment> manager(const std::string& settings) {
        return std::make_unique<ResourceManagment>(
            engine.get(), settings,
            ResourceManagment::Clock{[this] { return wall; }, [this] { return monotonic; }});
    }

    void add_language(const std::string& key, int64_t last_access) {
        auto data = std::make_shared<LanguageModuleData>(key);
        data->last_access = last_access;
        engine->language_modules[key] = data;
    }
    void add_domain(const std::string& key, int64_t last_access) {
        auto facade = std::make_shared<DomainFacade>(key);
        facade->last_access_seconds = last_access;
        engine->domain_store->domains[key] = facade;
    }
    std::vector<std::string> languages() const {
        std::vector<std::string> keys;
        for (const auto& entry : engine->language_modules)
            keys.push_back(entry.first);
        return keys;
    }
    std::vector<std::string> domains() const {
        std::vector<std::string> keys;
        for (const auto& entry : engine->domain_store->domains)
            keys.push_back(entry.first);
        return keys;
    }
    // Five languages a..e, used at 100, 500, 300, 400, 200.
    void five_languages() {
        add_language("a", 100);
        add_language("b", 500);
        add_language("c", 300);
        add_language("d", 400);
        add_language("e", 200);
    }

    std::shared_ptr<Engine> engine = bare_engine(tree.root);
    int64_t wall = 1000;
    int64_t monotonic = 50;
};

using Strings = std::vector<std::string>;

TEST_F(Purge, ConfigurationErrors) {
    struct Case {
        std::string settings;
        std::string message;
    };
    const std::vector<Case> cases = {
        {R"({"languages":{"maximum":3}})",
         "Unkown section in [languages][maximum]  in purge info option:"},
        {R"({"threads":2})", "Unkown section [threads] in purge info option:"},
        {R"({"languages":{"top":true}})", "Purge [languages][top] should be a integer."},
        {R"({"languages":{"top":"2"}})", "Purge [languages][top] should be a integer."},
        {R"({"languages":{"top":-1}})", "Purge [languages][top] should be a integer."},
        {R"({"domains":{"life_time":-0.5}})", "Purge [domains][life_time] should be a integer."},
        {R"({"languages":{"x":1},"domains":{"y":1}})",
         "Unkown section in [domains][y]  in purge info option:"},
        {R"({"languages":5})", "Unkown section in [languages][]  in purge info option:"},
        {R"([1])", "Unkown section [0] in purge info option:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        try {
            manager(c.settings);
            ADD_FAILURE() << "accepted";
        } catch (const dez::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    EXPECT_THROW(manager(R"({"interval":"often"})"), nlohmann::json::type_error);
    EXPECT_THROW(manager("not json"), nlohmann::json::parse_error);
    for (const char* accepted : {"{}", "null", "[]", R"({"languages":null})", R"({"domains":{}})",
                                 R"({"interval":true})"}) {
        SCOPED_TRACE(accepted);
        EXPECT_NO_THROW(manager(accepted));
    }
    EXPECT_TRUE(logged(level_info, "[ResourceManagment] Options= {}"));
}

TEST_F(Purge, IntervalTests) {
    EXPECT_FALSE(manager("{}")->has_interval());
    EXPECT_FALSE(manager(R"({"interval":-3})")->has_interval());
    EXPECT_EQ(manager(R"({"interval":true})")->interval_seconds, 1);
    EXPECT_EQ(manager(R"({"interval":2.7})")->interval_seconds, 2);
    EXPECT_EQ(manager(R"({"interval":1e12})")->interval_seconds, INT32_MAX);

    auto every_minute = manager(R"({"interval":60})");
    EXPECT_EQ(every_minute->last_purge_time, 50);
    EXPECT_FALSE(every_minute->requires_purging(109));
    EXPECT_EQ(every_minute->last_purge_time, 50);
    EXPECT_TRUE(every_minute->requires_purging(110));
    EXPECT_EQ(every_minute->last_purge_time, 110);
    EXPECT_FALSE(every_minute->perform_interval_checks(true, 169));
    EXPECT_TRUE(every_minute->perform_interval_checks(false, 169));
    EXPECT_EQ(every_minute->last_purge_time, 110);
    EXPECT_TRUE(logged(level_trace,
                       "[ResourceManagment] perform_interval_checks check_interval=1 now=169"));

    auto always = manager(R"({"interval":0})");
    EXPECT_TRUE(always->perform_interval_checks(true, 50));
    EXPECT_TRUE(always->perform_interval_checks(true, 50));
    EXPECT_FALSE(manager("{}")->perform_interval_checks(true, 1000000));
}

TEST_F(Purge, TopKeepsTheMostRecentlyUsed) {
    struct Case {
        std::string top;
        Strings kept;
    };
    const std::vector<Case> cases = {
        {"2", {"b", "d"}},
        {"2.9", {"b", "d"}},
        {"0", {}},
        {"5", {"a", "b", "c", "d", "e"}},
        {"1e20", {"a", "b", "c", "d", "e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.top);
        engine->language_modules.clear();
        five_languages();
        manager(R"({"languages":{"top":)" + c.top + "}}")->purge_languages(false);
        EXPECT_EQ(languages(), c.kept);
    }
    EXPECT_TRUE(logged(level_debug, "[ResourceManagment] Purge languages on top 2"));
}

TEST_F(Purge, IntervalPurgesOfTheEngine) {
    // The engine's own manager, on the real clocks: an interval of 0 lets
    // every request's purge run.
    engine = bare_engine(tree.root, R"({"interval":0,"languages":{"top":2}})");
    five_languages();
    engine->check_language_purge();
    EXPECT_EQ(languages(), (Strings{"b", "d"}));
    add_language("f", 50);
    engine->check_language_purge();
    EXPECT_EQ(languages(), (Strings{"b", "d"}));

    engine = bare_engine(tree.root, R"({"languages":{"top":0},"domains":{"top":0}})");
    five_languages();
    add_domain("geo", 1);
    engine->check_language_purge();
    engine->check_domain_purge();
    EXPECT_EQ(languages().size(), 5u);
    EXPECT_EQ(domains().size(), 1u);
}

TEST_F(Purge, LifeTimeReleasesIdleEntries) {
    add_language("old", 985);
    add_language("edge", 990);
    add_language("recent", 995);
    add_language("future", 1005);
    manager(R"({"languages":{"life_time":10}})")->purge_languages(false);
    EXPECT_EQ(languages(), (Strings{"future", "recent"}));
    EXPECT_TRUE(logged(level_debug, "[ResourceManagment] Purge languages life_time = 10s"));
    EXPECT_TRUE(logged(level_trace, "[ResourceManagment] Purge check timestamp edge last_access = "
                                    "990 now= 1000 delta=10"));

    manager(R"({"languages":{"life_time":0}})")->purge_languages(false);
    EXPECT_EQ(languages(), (Strings{"future"}));
}

TEST_F(Purge, TheEntryInUseSurvivesTheRequestsOwnPurge) {
    // A life time of 0 would otherwise drop the module the request is about
    // to hand out, so every request would read its files again.
    engine = bare_engine(tree.root, R"({"interval":0,"languages":{"life_time":0},)"
                                    R"("domains":{"life_time":0}})");
    add_language("/d/en.language", 0);
    add_language("/d/fr.language", 0);
    add_domain("geo", 0);
    add_domain("org", 0);
    engine->check_language_purge("/d/en.language");
    engine->check_domain_purge("org");
    EXPECT_EQ(languages(), (Strings{"/d/en.language"}));
    EXPECT_EQ(domains(), (Strings{"org"}));

    // A tie on the "top" cut keeps the entry in use.
    five_languages();
    add_language("tied", 500);
    manager(R"({"languages":{"top":2}})")->purge_languages(false, "tied");
    EXPECT_EQ(languages(), (Strings{"b", "tied"}));
}

TEST_F(Purge, IntervalsFollowTheMonotonicClock) {
    auto purge = manager(R"({"interval":60,"languages":{"top":1,"life_time":100}})");
    five_languages();
    // The wall clock leaps a day ahead: every entry looks idle, but the
    // interval has not passed.
    wall += 86400;
    monotonic += 59;
    purge->purge_languages(true);
    EXPECT_EQ(languages().size(), 5u);
    // The wall clock goes back a year: the interval still passes on time.
    wall -= 365 * 86400;
    monotonic += 1;
    purge->purge_languages(true);
    EXPECT_EQ(languages(), (Strings{"b"}));
    EXPECT_EQ(purge->last_purge_time, 110);
}

TEST_F(Purge, NothingToDo) {
    five_languages();
    add_domain("geo", 1);
    auto none = manager("{}");
    none->purge_languages(true);
    none->purge_domains(true);
    none->purge_languages(false);
    none->purge_domains(false);
    auto interval_only = manager(R"({"interval":0})");
    monotonic = 80;
    interval_only->purge_languages(true);
    interval_only->purge_domains(true);
    EXPECT_EQ(interval_only->last_purge_time, 80);
    EXPECT_EQ(languages().size(), 5u);
    EXPECT_EQ(domains().size(), 1u);
    EXPECT_EQ(count_logged("[ResourceManagment] Purge languages"), 2u);
}

TEST_F(Purge, DomainsFollowTheSameRules) {
    add_domain("geo", 900);
    add_domain("org", 995);
    add_domain("people", 999);
    manager(R"({"domains":{"top":2,"life_time":3}})")->purge_domains(false);
    EXPECT_EQ(domains(), (Strings{"people"}));
    EXPECT_TRUE(logged(level_debug, "[ResourceManagment] Purge domains (3)"));
    EXPECT_TRUE(logged(level_debug, "[ResourceManagment] Purge domains on top 2"));
    EXPECT_TRUE(logged(level_debug, "[ResourceManagment] Purge domains life_time = 3s size=2"));
    EXPECT_TRUE(logged(level_debug, "[ResourceManagment] Purge check timestamp org last_access = "
                                    "995 now= 1000 delta=5"));
    EXPECT_TRUE(logged(level_debug, "[Domain] Purge domaingeo"));
    EXPECT_TRUE(logged(level_debug, "[Domain] Purge domainorg"));

    // Languages are left alone by a domain policy, and the other way round.
    five_languages();
    manager(R"({"domains":{"top":0}})")->purge_languages(false);
    manager(R"({"languages":{"top":0}})")->purge_domains(false);
    EXPECT_EQ(languages().size(), 5u);
    EXPECT_EQ(domains().size(), 1u);
}

} // namespace
} // namespace dez::trelix
