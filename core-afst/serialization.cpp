#include "core-afst/serialization.h"

#include "core-afst/serialization_key_pattern.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>

namespace dez::afst::serialization {

namespace {

// Statements are finalized on every path, exceptions included: a statement
// left behind keeps the connection from closing.
struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return Statement();
    }
    return Statement(statement);
}

// Keys are always bound, never pasted into SQL text, so any byte of a key is
// just data. SQLITE_STATIC: the caller's text outlives the statement.
bool bind_text(sqlite3_stmt* statement, int index, const std::string& text) {
    return sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_STATIC,
                               SQLITE_UTF8) == SQLITE_OK;
}

std::string column_text(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (text == nullptr)
        return std::string();
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

// Calls visit(rowid, URI) for every row whose URI matches `pattern`, in URI
// order. The keys come from the key index alone: no row is read for a key
// that does not match. SQLite's last step result: SQLITE_DONE when the walk
// reached the end.
template <typename Visit>
int visit_matching_keys(sqlite3* db, const std::string& pattern, Visit&& visit) {
    Statement keys = prepare(db, "SELECT rowid,uri from FILES ORDER BY uri;");
    if (!keys)
        return SQLITE_ERROR;
    int rc;
    while ((rc = sqlite3_step(keys.get())) == SQLITE_ROW) {
        if (sqlite3_column_type(keys.get(), 1) == SQLITE_NULL)
            continue;
        std::string uri = column_text(keys.get(), 1);
        if (key_matches(pattern, uri))
            visit(sqlite3_column_int64(keys.get(), 0), std::move(uri));
    }
    return rc;
}

int print_row(void*, int count, char** values, char** names) {
    for (int i = 0; i < count; ++i)
        std::printf("%s = %s\n", names[i], values[i] != nullptr ? values[i] : "NULL");
    std::printf("\n");
    return 0;
}

// "Shared" connections: shared cache, and no mutex (one thread per
// connection). The WAL bit is ignored by sqlite3_open_v2.
constexpr int shared_write_flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                   SQLITE_OPEN_SHAREDCACHE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_WAL;
// Readers keep a cache of their own: in a shared cache the first connection
// decides for all, so a read-only one beside a writer could write, and one
// opened first would make the writers that join it read-only.
constexpr int shared_read_flags =
    SQLITE_OPEN_READONLY | SQLITE_OPEN_PRIVATECACHE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_WAL;

std::shared_ptr<sqlite3> open_connection(const char* path, const int* flags) {
    if (!dez_sqlite3_initialize())
        throw FileFormatException("Cannot initialize fileformat engine.");
    sqlite3* db = nullptr;
    int rc =
        flags != nullptr ? sqlite3_open_v2(path, &db, *flags, nullptr) : sqlite3_open(path, &db);
    if (rc != SQLITE_OK) {
        std::string message = "Can't open database ";
        message += path != nullptr ? path : "";
        message += ":";
        message += db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        message += "\n";
        sqlite3_close(db);
        throw FileFormatException(message);
    }
    // Should the control block fail to allocate, shared_ptr closes db itself.
    return std::shared_ptr<sqlite3>(db, close_file);
}

} // namespace

int close_file(sqlite3* db) {
    if (db == nullptr)
        return 0;
    return sqlite3_close(db);
}

bool dez_sqlite3_initialize() {
    return sqlite3_initialize() == SQLITE_OK;
}

std::shared_ptr<sqlite3> open_file(const char* path) {
    return open_connection(path, nullptr);
}

std::shared_ptr<sqlite3> open_file(const std::string& path) {
    return open_file(path.c_str());
}

std::shared_ptr<sqlite3> open_file(const std::filesystem::path& path) {
    return open_file(path.string().c_str());
}

std::shared_ptr<sqlite3> open_shared_db(const char* path, int flags) {
    return open_connection(path, &flags);
}

std::shared_ptr<sqlite3> open_shared_db(const char* path) {
    return open_shared_db(path, shared_write_flags);
}

std::shared_ptr<sqlite3> open_shared_db(const std::string& path) {
    return open_shared_db(path.c_str());
}

std::shared_ptr<sqlite3> open_shared_db_read(const char* path) {
    return open_shared_db(path, shared_read_flags);
}

std::shared_ptr<sqlite3> open_shared_db_read(const std::string& path) {
    return open_shared_db_read(path.c_str());
}

bool sql_exec(sqlite3* db, const std::string& statement) {
    return sqlite3_exec(db, statement.c_str(), print_row, nullptr, nullptr) == SQLITE_OK;
}

bool create_table(sqlite3* db, const std::string& /*name*/, const std::string& create_statement,
                  const std::string& index_statement) {
    if (!sql_exec(db, create_statement))
        return false;
    if (index_statement.empty())
        return true;
    return sql_exec(db, index_statement);
}

bool create_cbf_table(sqlite3* db) {
    return create_table(db, "Result",
                        "CREATE TABLE IF NOT EXISTS FILES(URI            TEXT PRIMARY "
                        "KEY,ATTRIBUTES     TEXT,DATA           BLOB);",
                        "CREATE UNIQUE INDEX IF NOT EXISTS files_idx ON FILES(URI);");
}

bool has_table(sqlite3* db, const std::string& name) {
    if (db == nullptr)
        return false;
    Statement statement = prepare(db, "SELECT name from sqlite_master WHERE name = ?1;");
    if (!statement || !bind_text(statement.get(), 1, name))
        return false;
    return sqlite3_step(statement.get()) == SQLITE_ROW;
}

void store_binary_data(sqlite3* db, const std::string& key, const std::string& attributes,
                       const char* data, std::size_t length) {
    if (db == nullptr)
        throw std::runtime_error("database not loaded");
    Statement statement =
        prepare(db, "INSERT OR REPLACE INTO FILES ( URI,ATTRIBUTES,DATA) VALUES( ?1, ?2 , ?3 )");
    if (!statement)
        throw std::runtime_error(std::string("prepare failed: ") + sqlite3_errmsg(db));
    // A zero-length blob, not NULL, for an empty payload.
    int blob = length == 0 ? sqlite3_bind_zeroblob(statement.get(), 3, 0)
                           : sqlite3_bind_blob64(statement.get(), 3, data, length, SQLITE_STATIC);
    if (!bind_text(statement.get(), 1, key) || !bind_text(statement.get(), 2, attributes) ||
        blob != SQLITE_OK)
        throw std::runtime_error(std::string("bind failed: ") + sqlite3_errmsg(db));
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        throw std::runtime_error(std::string("execution failed: ") + sqlite3_errmsg(db));
}

bool has_binary_data(sqlite3* db, const std::string& key) {
    if (db == nullptr)
        return false;
    Statement statement = prepare(db, "SELECT count() from FILES WHERE FILES.URI = ?1;");
    if (!statement || !bind_text(statement.get(), 1, key))
        return false;
    return sqlite3_step(statement.get()) == SQLITE_ROW &&
           sqlite3_column_int64(statement.get(), 0) != 0;
}

std::pair<std::string, std::vector<char>> get_binary_data(sqlite3* db, const std::string& key) {
    std::pair<std::string, std::vector<char>> result;
    if (db == nullptr)
        return result;
    Statement statement = prepare(db, "SELECT ATTRIBUTES,DATA from FILES WHERE FILES.URI = ?1;");
    if (!statement || !bind_text(statement.get(), 1, key))
        return result;
    if (sqlite3_step(statement.get()) != SQLITE_ROW)
        return result;
    result.first = column_text(statement.get(), 0);
    // Blob pointer first, then its size (the order SQLite asks for).
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement.get(), 1));
    const int size = sqlite3_column_bytes(statement.get(), 1);
    if (data != nullptr && size > 0)
        result.second.assign(data, data + size);
    return result;
}

bool delete_binary_data(sqlite3* db, const std::string& key) {
    if (db == nullptr)
        return false;
    if (!is_key_pattern(key)) {
        Statement statement = prepare(db, "DELETE FROM FILES WHERE FILES.URI = ?1;");
        return statement && bind_text(statement.get(), 1, key) &&
               sqlite3_step(statement.get()) == SQLITE_DONE;
    }
    // The matching rows are found by our own matcher and deleted by rowid,
    // all inside one savepoint so that a failure leaves every row in place.
    if (sqlite3_exec(db, "SAVEPOINT delete_binary_data;", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    bool done = false;
    {
        std::vector<sqlite3_int64> rows;
        const int rc = visit_matching_keys(
            db, key, [&](sqlite3_int64 row, std::string&&) { rows.push_back(row); });
        Statement remove = prepare(db, "DELETE FROM FILES WHERE rowid = ?1;");
        done = rc == SQLITE_DONE && remove;
        for (std::size_t i = 0; done && i < rows.size(); ++i) {
            sqlite3_reset(remove.get());
            done = sqlite3_bind_int64(remove.get(), 1, rows[i]) == SQLITE_OK &&
                   sqlite3_step(remove.get()) == SQLITE_DONE;
        }
    }
    if (!done)
        sqlite3_exec(db, "ROLLBACK TO delete_binary_data;", nullptr, nullptr, nullptr);
    if (sqlite3_exec(db, "RELEASE delete_binary_data;", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    return done;
}

std::pair<std::string, std::vector<char>> get_binary_test(const std::string& /*text*/) {
    return {};
}

void foreach_rule(
    const std::shared_ptr<sqlite3>& db,
    const boost::function<bool(const std::tuple<std::string, std::string>&)>& callback,
    const std::string& pattern) {
    if (!db)
        return;
    if (!is_key_pattern(pattern)) {
        Statement statement =
            prepare(db.get(), "SELECT uri,attributes from FILES WHERE FILES.URI = ?1;");
        if (statement && bind_text(statement.get(), 1, pattern) &&
            sqlite3_step(statement.get()) == SQLITE_ROW)
            callback(
                std::make_tuple(column_text(statement.get(), 0), column_text(statement.get(), 1)));
        return;
    }
    Statement attributes = prepare(db.get(), "SELECT attributes from FILES WHERE rowid = ?1;");
    if (!attributes)
        return;
    visit_matching_keys(db.get(), pattern, [&](sqlite3_int64 row, std::string&& uri) {
        sqlite3_reset(attributes.get());
        if (sqlite3_bind_int64(attributes.get(), 1, row) != SQLITE_OK ||
            sqlite3_step(attributes.get()) != SQLITE_ROW)
            return;
        // The walk goes on whatever the callback answers.
        callback(std::make_tuple(std::move(uri), column_text(attributes.get(), 0)));
    });
}

Transaction::Transaction(sqlite3* db) : db_(db), open_(false) {
    if (db_ == nullptr)
        throw std::runtime_error("database not loaded");
    // IMMEDIATE takes the write lock now, so a busy file fails here and not
    // in the middle of the writes.
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("begin transaction failed: ") + sqlite3_errmsg(db_));
    open_ = true;
}

Transaction::~Transaction() {
    if (open_ && sqlite3_get_autocommit(db_) == 0)
        sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    if (!open_)
        return;
    if (sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("commit failed: ") + sqlite3_errmsg(db_));
    open_ = false;
}

} // namespace dez::afst::serialization
