#include "core-afst/serialization.h"

#include "container_fixture.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace ser = dez::afst::serialization;
using namespace std::string_literals;

using Row = std::pair<std::string, std::vector<char>>;

std::vector<char> bytes(const std::string& text) {
    return std::vector<char>(text.begin(), text.end());
}

class ContainerTest : public afst_test::ContainerFixture {
protected:
    void store(const std::string& key, const std::string& payload,
               const std::string& attributes = "") {
        ser::store_binary_data(db.get(), key, attributes, payload.data(), payload.size());
    }

    // Every (URI, attribute text) matching the pattern, as foreach_rule gives them.
    std::vector<std::pair<std::string, std::string>> rows(const std::string& pattern) {
        std::vector<std::pair<std::string, std::string>> seen;
        ser::foreach_rule(
            db,
            [&](const std::tuple<std::string, std::string>& row) {
                seen.emplace_back(std::get<0>(row), std::get<1>(row));
                return false; // must not stop the walk
            },
            pattern);
        return seen;
    }

    // Every URI in byte order, read without the functions under test.
    std::vector<std::string> all_keys() {
        std::vector<std::string> keys;
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db.get(), "SELECT URI FROM FILES ORDER BY URI", -1, &statement,
                                     nullptr),
                  SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW)
            keys.emplace_back(static_cast<const char*>(sqlite3_column_blob(statement, 0)),
                              static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
        sqlite3_finalize(statement);
        return keys;
    }

    std::string read_file() const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

// ---- schema -------------------------------------------------------------

TEST_F(ContainerTest, SchemaHasTheTableAndItsIndex) {
    EXPECT_TRUE(ser::has_table(db.get(), "FILES"));
    EXPECT_TRUE(ser::has_table(db.get(), "files_idx"));
    EXPECT_FALSE(ser::has_table(db.get(), "files"));
    EXPECT_FALSE(ser::has_table(db.get(), "Files_idx"));
    EXPECT_FALSE(ser::has_table(db.get(), "FILES' OR '1'='1"));
    EXPECT_FALSE(ser::has_table(nullptr, "FILES"));

    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.get(), "SELECT sql FROM sqlite_master WHERE name = 'FILES'", -1,
                                 &statement, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                 "CREATE TABLE FILES(URI            TEXT PRIMARY KEY,ATTRIBUTES     TEXT,DATA     "
                 "      BLOB)");
    sqlite3_finalize(statement);
}

TEST_F(ContainerTest, CreatingTheTableAgainKeepsTheRows) {
    store("k", "v");
    EXPECT_TRUE(ser::create_cbf_table(db.get()));
    EXPECT_EQ(ser::get_binary_data(db.get(), "k").second, bytes("v"));
}

TEST_F(ContainerTest, CreateTableReportsFailure) {
    EXPECT_FALSE(ser::create_table(db.get(), "x", "CREATE TABLEX broken(",
                                   "CREATE UNIQUE INDEX IF NOT EXISTS other_idx ON FILES(URI);"));
    // The index statement is not run after a failed create.
    EXPECT_FALSE(ser::has_table(db.get(), "other_idx"));
    EXPECT_FALSE(ser::create_table(db.get(), "x", "CREATE TABLE IF NOT EXISTS T(a);",
                                   "CREATE INDEX broken ON missing(a);"));
    EXPECT_TRUE(ser::create_table(db.get(), "x", "CREATE TABLE IF NOT EXISTS T2(a);", ""));
    EXPECT_TRUE(ser::has_table(db.get(), "T2"));
}

TEST_F(ContainerTest, SqlExecPrintsRowsAndReportsFailure) {
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(ser::sql_exec(db.get(), "SELECT 1 AS a, NULL AS b;"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "a = 1\nb = NULL\n\n");
    EXPECT_FALSE(ser::sql_exec(db.get(), "SELEKT nothing;"));
}

// ---- rows ---------------------------------------------------------------

TEST_F(ContainerTest, StoringTheSameKeyReplacesTheRow) {
    store("token_encoder", "first", "a=1");
    store("token_encoder", "second", "b=2");
    EXPECT_EQ(ser::get_binary_data(db.get(), "token_encoder"), Row("b=2", bytes("second")));
    EXPECT_EQ(rows("%").size(), 1u);
}

TEST_F(ContainerTest, PayloadBytesComeBackUnchanged) {
    const std::string payload("a\0b\xff\x80z", 6);
    store("bin", payload, "k=v;x=y");
    EXPECT_EQ(ser::get_binary_data(db.get(), "bin"), Row("k=v;x=y", bytes(payload)));
}

TEST_F(ContainerTest, ExactKeysReadOnlyTheirOwnRow) {
    // Keys come from rule sources and resource names: quotes, LIKE wildcards
    // and letter case are part of the key.
    const std::vector<std::string> keys = {"token_encoder",
                                           "tokenXencoder",
                                           "a'b",
                                           "50%",
                                           "500",
                                           "x_y",
                                           "xzy",
                                           "Key",
                                           "key",
                                           "it's'; DROP TABLE FILES; --",
                                           "",
                                           "ünïcode"};
    for (std::size_t i = 0; i < keys.size(); ++i)
        store(keys[i], "payload" + std::to_string(i), "n=" + std::to_string(i));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(keys[i]);
        EXPECT_TRUE(ser::has_binary_data(db.get(), keys[i]));
        EXPECT_EQ(ser::get_binary_data(db.get(), keys[i]),
                  Row("n=" + std::to_string(i), bytes("payload" + std::to_string(i))));
    }
    for (const std::string missing : {"TOKEN_ENCODER", "KEY", "x%", "_", "%", "5_0", "token"}) {
        SCOPED_TRACE(missing);
        EXPECT_FALSE(ser::has_binary_data(db.get(), missing));
        EXPECT_EQ(ser::get_binary_data(db.get(), missing), Row());
    }
    EXPECT_TRUE(ser::has_table(db.get(), "FILES"));
}

// The statement an exact read or delete runs must search the key index, not
// scan.
TEST_F(ContainerTest, ExactReadsSearchTheKeyIndex) {
    std::vector<std::string> statements;
    sqlite3_trace_v2(
        db.get(), SQLITE_TRACE_STMT,
        [](unsigned, void* context, void*, void* text) {
            static_cast<std::vector<std::string>*>(context)->push_back(
                static_cast<const char*>(text));
            return 0;
        },
        &statements);
    store("k", "v");
    statements.clear();
    ser::has_binary_data(db.get(), "k");
    ser::get_binary_data(db.get(), "k");
    ser::delete_binary_data(db.get(), "k");
    sqlite3_trace_v2(db.get(), 0, nullptr, nullptr);
    ASSERT_EQ(statements.size(), 3u);

    for (const std::string& sql : statements) {
        SCOPED_TRACE(sql);
        sqlite3_stmt* plan = nullptr;
        ASSERT_EQ(
            sqlite3_prepare_v2(db.get(), ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &plan, nullptr),
            SQLITE_OK);
        sqlite3_bind_text(plan, 1, "k", -1, SQLITE_STATIC);
        std::string details;
        while (sqlite3_step(plan) == SQLITE_ROW)
            details += reinterpret_cast<const char*>(sqlite3_column_text(plan, 3));
        sqlite3_finalize(plan);
        EXPECT_NE(details.find("SEARCH"), std::string::npos) << details;
        EXPECT_NE(details.find("INDEX"), std::string::npos) << details;
        EXPECT_EQ(details.find("SCAN"), std::string::npos) << details;
    }
}

TEST_F(ContainerTest, EmptyPayloadIsARowWithoutBytes) {
    ser::store_binary_data(db.get(), "empty", "a=b", nullptr, 0);
    EXPECT_TRUE(ser::has_binary_data(db.get(), "empty"));
    EXPECT_EQ(ser::get_binary_data(db.get(), "empty"), Row("a=b", {}));
    EXPECT_EQ(ser::get_fsm(db, "empty"), nullptr);
    const auto [attributes, network] = ser::get_fsm_attr(db, "empty");
    EXPECT_EQ(attributes, "a=b");
    EXPECT_EQ(network, nullptr);
}

TEST_F(ContainerTest, GetBinaryTestIsAlwaysEmpty) {
    store("x", "y");
    EXPECT_EQ(ser::get_binary_test("x"), Row());
}

TEST(Container, NullConnection) {
    try {
        ser::store_binary_data(nullptr, "k", "", "v", 1);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "database not loaded");
    }
    EXPECT_FALSE(ser::has_binary_data(nullptr, "k"));
    EXPECT_EQ(ser::get_binary_data(nullptr, "k"), Row());
    EXPECT_FALSE(ser::delete_binary_data(nullptr, "%"));
    int calls = 0;
    ser::foreach_rule(
        nullptr, [&](const std::tuple<std::string, std::string>&) { return ++calls != 0; }, "%");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ser::close_file(nullptr), 0);
    EXPECT_THROW(ser::Transaction(nullptr), std::runtime_error);
}

// ---- patterns -----------------------------------------------------------

TEST_F(ContainerTest, ForeachRuleVisitsMatchesInByteOrder) {
    for (const char* key : {"rule_b", "rule_a", "rule_B", "bitset_a", "rule_a_x", "rulexa"})
        store(key, "x", std::string("of=") + key);
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(rows("%"), (Pairs{{"bitset_a", "of=bitset_a"},
                                {"rule_B", "of=rule_B"},
                                {"rule_a", "of=rule_a"},
                                {"rule_a_x", "of=rule_a_x"},
                                {"rule_b", "of=rule_b"},
                                {"rulexa", "of=rulexa"}}));
    // LIKE: "_" any one character, letters without regard to case.
    EXPECT_EQ(
        rows("RULE_A%"),
        (Pairs{{"rule_a", "of=rule_a"}, {"rule_a_x", "of=rule_a_x"}, {"rulexa", "of=rulexa"}}));
    EXPECT_EQ(rows("nothing%"), Pairs{});
}

TEST_F(ContainerTest, ForeachRuleTakesQuotesAndSkipsNullKeys) {
    store("it's_1", "x", "a=1");
    ASSERT_TRUE(ser::sql_exec(db.get(), "INSERT INTO FILES VALUES(NULL, 'n', x'00');"));
    ASSERT_TRUE(ser::sql_exec(db.get(), "INSERT INTO FILES VALUES('nullattr', NULL, x'00');"));
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(rows("it's%"), (Pairs{{"it's_1", "a=1"}}));
    EXPECT_EQ(rows("%"), (Pairs{{"it's_1", "a=1"}, {"nullattr", ""}}));
}

TEST_F(ContainerTest, ForeachRuleWithAnEmptyCallable) {
    store("r", "x");
    const boost::function<bool(const std::tuple<std::string, std::string>&)> empty;
    EXPECT_THROW(ser::foreach_rule(db, empty, "%"), boost::bad_function_call);
    EXPECT_NO_THROW(ser::foreach_rule(db, empty, "none"));
}

TEST_F(ContainerTest, DeleteRemovesEveryMatchAndSucceedsWithoutOne) {
    for (const char* key :
         {"src1_rule:a", "src1_rule:b", "bitset_src1_rule:a", "src2_rule:a", "it's", "keep"})
        store(key, "x");
    EXPECT_TRUE(ser::delete_binary_data(db.get(), "%src1%rule:%"));
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(rows("%"), (Pairs{{"it's", ""}, {"keep", ""}, {"src2_rule:a", ""}}));
    // Deleting nothing is no error.
    EXPECT_TRUE(ser::delete_binary_data(db.get(), "%src1%rule:%"));
    EXPECT_TRUE(ser::delete_binary_data(db.get(), "missing"));
    EXPECT_TRUE(ser::delete_binary_data(db.get(), "it's"));
    EXPECT_FALSE(ser::has_binary_data(db.get(), "it's"));
    EXPECT_TRUE(ser::has_binary_data(db.get(), "keep"));
}

// A delete touches only rows whose whole key matches: an exact key byte for
// byte, a pattern over every byte of the key. NUL bytes, malformed UTF-8
// and keys far beyond SQLite's LIKE limit included.
TEST_F(ContainerTest, DeleteTouchesOnlyWholeKeyMatches) {
    const std::string long_key(60000, 'k');
    const std::vector<std::string> keys = {"a",    "A",    "a\0b"s,  "a\0c"s,
                                           "\xE2", "\xFF", "_BUSY_", "xBUSYx",
                                           "50%",  "500",  long_key, long_key + "\0tail"s};
    // Rows named by their place in `keys`, which keeps failure output short.
    auto remaining = [&] {
        std::set<std::size_t> places;
        for (const std::string& key : all_keys())
            places.insert(
                static_cast<std::size_t>(std::find(keys.begin(), keys.end(), key) - keys.begin()));
        return places;
    };
    struct Case {
        std::string key;
        std::set<std::size_t> deleted;
    };
    const Case cases[] = {
        {"a\0b"s, {2}},
        {"\xE2", {4}},
        {long_key, {10}},
        {"_BUSY_", {6}},
        {"A", {1}},
        {"missing", {}},
        // patterns
        {"%\xE2%", {4}},
        {"a\0%"s, {2, 3}},
        {"%" + std::string(59990, 'k') + "%\0%"s, {11}},
        {"50%", {8, 9}},
        {"%busy_", {6, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.key.substr(0, 20)));
        for (const std::string& key : keys)
            store(key, "x");
        EXPECT_TRUE(ser::delete_binary_data(db.get(), c.key));
        std::set<std::size_t> expected;
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (c.deleted.count(i) == 0)
                expected.insert(i);
        EXPECT_EQ(remaining(), expected);
    }
}

// The walk selects rows as a delete does.
TEST_F(ContainerTest, ForeachRuleMatchesWholeKeys) {
    for (const std::string& key : {"a"s, "A"s, "a\0b"s, "a\0c"s, "\xE2"s, "\xFF"s, "rule_1"s})
        store(key, "x", "of=" + std::to_string(key.size()));
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(rows("a\0b%"s), (Pairs{{"a\0b"s, "of=3"}}));
    EXPECT_EQ(rows("%\xE2"), (Pairs{{"\xE2", "of=1"}}));
    EXPECT_EQ(rows("a"), (Pairs{{"a", "of=1"}}));
    EXPECT_EQ(rows("rule_1"), (Pairs{{"rule_1", "of=6"}}));
    EXPECT_EQ(rows("%" + std::string(60000, 'x')), Pairs{});
}

// A deletion SQLite refuses is reported and deletes nothing.
TEST_F(ContainerTest, RefusedDeleteIsAnError) {
    store("k", "v");
    store("k2", "v");
    db.reset();
    auto reader = ser::open_shared_db_read(path);
    for (const std::string key : {"k", "%", "k_"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(ser::delete_binary_data(reader.get(), key));
    }
    EXPECT_TRUE(ser::has_binary_data(reader.get(), "k"));
    EXPECT_TRUE(ser::has_binary_data(reader.get(), "k2"));
}

// ---- opening ------------------------------------------------------------

TEST_F(ContainerTest, MissingFolderCannotBeOpened) {
    const fs::path missing = dir / "no" / "such.dom";
    auto expect_message = [&](auto&& open) {
        try {
            open();
            ADD_FAILURE() << "no exception";
        } catch (const ser::FileFormatException& e) {
            const std::string message = e.what();
            const std::string head = "Can't open database " + missing.string() + ":";
            EXPECT_EQ(message.compare(0, head.size(), head), 0) << message;
            EXPECT_GT(message.size(), head.size() + 1) << message;
            EXPECT_EQ(message.back(), '\n');
        }
    };
    expect_message([&] { ser::open_file(missing.string().c_str()); });
    expect_message([&] { ser::open_file(missing.string()); });
    expect_message([&] { ser::open_file(missing); });
    expect_message([&] { ser::open_shared_db(missing.string()); });
    expect_message([&] { ser::open_shared_db_read(missing.string()); });
}

TEST_F(ContainerTest, ReadConnectionNeedsAnExistingFile) {
    const std::string absent = (dir / "absent.dom").string();
    EXPECT_THROW(ser::open_shared_db_read(absent), ser::FileFormatException);
    EXPECT_FALSE(fs::exists(absent));
    auto created = ser::open_shared_db(absent);
    EXPECT_TRUE(fs::exists(absent));
}

TEST_F(ContainerTest, OpenFileCreatesAndOpensAgain) {
    store("k", "v");
    db.reset();
    auto again = ser::open_file(fs::path(path));
    EXPECT_EQ(ser::get_binary_data(again.get(), "k").second, bytes("v"));
    auto shared = ser::open_shared_db(path.c_str());
    EXPECT_TRUE(ser::has_binary_data(shared.get(), "k"));
}

TEST_F(ContainerTest, ReadConnectionNeverChangesTheFile) {
    store("k", "v", "a=1");
    db.reset();
    const std::string before = read_file();
    const auto modified = fs::last_write_time(path);
    {
        auto reader = ser::open_shared_db_read(path);
        EXPECT_EQ(ser::get_binary_data(reader.get(), "k"), Row("a=1", bytes("v")));
        try {
            ser::store_binary_data(reader.get(), "new", "", "x", 1);
            ADD_FAILURE() << "a read connection wrote";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("execution failed: ", 0), 0u) << e.what();
        }
        EXPECT_FALSE(ser::delete_binary_data(reader.get(), "%"));
    }
    EXPECT_EQ(read_file(), before);
    EXPECT_EQ(fs::last_write_time(path), modified);
}

// Whichever is opened first, the reader cannot write and the shared writer can.
TEST_F(ContainerTest, ReadConnectionBesideAWriter) {
    store("k", "v");
    for (bool reader_first : {true, false}) {
        SCOPED_TRACE(reader_first ? "reader first" : "writer first");
        std::shared_ptr<sqlite3> reader, writer;
        if (reader_first)
            reader = ser::open_shared_db_read(path);
        writer = ser::open_shared_db(path);
        if (!reader_first)
            reader = ser::open_shared_db_read(path);

        EXPECT_NO_THROW(ser::store_binary_data(writer.get(), "w", "", "x", 1));
        EXPECT_TRUE(ser::has_binary_data(reader.get(), "w"));
        EXPECT_THROW(ser::store_binary_data(reader.get(), "r", "", "x", 1), std::runtime_error);
        EXPECT_FALSE(ser::has_binary_data(writer.get(), "r"));
        EXPECT_FALSE(ser::delete_binary_data(reader.get(), "%"));
        EXPECT_TRUE(ser::has_binary_data(writer.get(), "k"));
        EXPECT_TRUE(ser::delete_binary_data(writer.get(), "w"));
    }
    // A connection of the plain kind beside them.
    auto reader = ser::open_shared_db_read(path);
    store("k2", "w");
    EXPECT_TRUE(ser::has_binary_data(reader.get(), "k2"));
}

// Failing stores must leave no statement behind: closing then succeeds.
TEST_F(ContainerTest, FailedStoresFinalizeTheirStatements) {
    struct Case {
        const char* name;
        int flags;
        bool create_table;
        int length_limit;
        const char* message_head;
    };
    const Case cases[] = {
        {"no table", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, false, -1, "prepare failed: "},
        {"too long", SQLITE_OPEN_READWRITE, true, 200, "bind failed: "},
        {"read only", SQLITE_OPEN_READONLY, true, -1, "execution failed: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = (dir / (std::string(c.name) + ".dom")).string();
        if (c.create_table) {
            auto writer = ser::open_file(file);
            ASSERT_TRUE(ser::create_cbf_table(writer.get()));
        }
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open_v2(file.c_str(), &raw, c.flags, nullptr), SQLITE_OK);
        if (c.length_limit >= 0)
            sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, c.length_limit);
        const std::string payload(1000, 'x');
        try {
            ser::store_binary_data(raw, "key", "", payload.data(), payload.size());
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message_head, 0), 0u) << e.what();
        }
        EXPECT_EQ(ser::get_binary_data(raw, "key"), Row());
        EXPECT_EQ(ser::close_file(raw), SQLITE_OK);
    }
}

// ---- transactions -------------------------------------------------------

TEST_F(ContainerTest, TransactionCommitsOrRollsBack) {
    {
        ser::Transaction transaction(db.get());
        for (int i = 0; i < 100; ++i)
            store("row" + std::to_string(i), "x");
        transaction.commit();
        transaction.commit(); // a second commit does nothing
    }
    EXPECT_EQ(rows("row%").size(), 100u);
    {
        ser::Transaction transaction(db.get());
        store("dropped", "x");
        EXPECT_TRUE(ser::delete_binary_data(db.get(), "row%"));
    }
    EXPECT_FALSE(ser::has_binary_data(db.get(), "dropped"));
    EXPECT_EQ(rows("row%").size(), 100u);
}

// On a read connection the guard holds a read lock only: a writer on the
// same file can still start its own write transaction.
TEST_F(ContainerTest, TransactionOnAReadConnectionTakesNoWriteLock) {
    store("k", "v");
    db.reset();
    auto reader = ser::open_shared_db_read(path);
    ser::Transaction reading(reader.get());
    EXPECT_TRUE(ser::has_binary_data(reader.get(), "k"));

    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &writer, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_exec(writer, "ROLLBACK;", nullptr, nullptr, nullptr);
    EXPECT_EQ(ser::close_file(writer), SQLITE_OK);
    reading.commit();
}

} // namespace
