#pragma once

#include <boost/function.hpp>
#include <fst/fst-decl.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

struct sqlite3;

namespace dez::afst {
class Builder;
}

// The FILES container: an SQLite file with one key/value table that holds
// every compiled artefact (domain files, language data). The functions keep
// no state; everything lives in the connection handed to them.
namespace dez::afst::serialization {

// SQLite could not be started or a container could not be opened.
class FileFormatException : public std::runtime_error {
public:
    explicit FileFormatException(const std::string& message) : std::runtime_error(message) {}
};

// Closes a connection; SQLite's result code, 0 for a null pointer. The
// deleter of every shared connection made below.
int close_file(sqlite3* db);

// Starts the SQLite library; true on success.
bool dez_sqlite3_initialize();

// Read-write, created when missing, SQLite's default threading mode.
std::shared_ptr<sqlite3> open_file(const char* path);
std::shared_ptr<sqlite3> open_file(const std::string& path);
std::shared_ptr<sqlite3> open_file(const std::filesystem::path& path);

// Shared-cache connections. The one-argument forms open read-write and
// create the file. These connections carry SQLite's no-mutex flag: each one
// must stay with one thread at a time (open one per thread instead).
std::shared_ptr<sqlite3> open_shared_db(const char* path, int flags);
std::shared_ptr<sqlite3> open_shared_db(const char* path);
std::shared_ptr<sqlite3> open_shared_db(const std::string& path);

// Read-only, no mutex, and the file must exist: a reader never takes a write
// lock nor changes the file. Its page cache is its own (a shared cache would
// let it write through a writer's cache). One thread at a time, as above.
std::shared_ptr<sqlite3> open_shared_db_read(const char* path);
std::shared_ptr<sqlite3> open_shared_db_read(const std::string& path);

// Creates FILES and its index files_idx when missing; true when both
// statements succeeded.
bool create_cbf_table(sqlite3* db);

// Runs create_statement, then index_statement unless it is empty; true only
// when every statement run succeeded. `name` is not used.
bool create_table(sqlite3* db, const std::string& name, const std::string& create_statement,
                  const std::string& index_statement);

// True when sqlite_master holds an entry (table or index) of exactly `name`.
bool has_table(sqlite3* db, const std::string& name);

// Runs SQL text, printing result rows as "column = value" lines to standard
// output; true when SQLite succeeded. Never give it text built from keys.
bool sql_exec(sqlite3* db, const std::string& statement);

// Inserts the row or replaces the row of the same key. Throws
// std::runtime_error ("database not loaded", "prepare failed: ...",
// "bind failed: ...", "execution failed: ...").
void store_binary_data(sqlite3* db, const std::string& key, const std::string& attributes,
                       const char* data, std::size_t length);

// Exact, byte-for-byte key reads through the primary-key index: "%" and "_"
// in a key are ordinary characters and letter case counts.
bool has_binary_data(sqlite3* db, const std::string& key);
// (attribute text, payload) of the row; both empty when there is none, the
// connection is null or SQLite fails.
std::pair<std::string, std::vector<char>> get_binary_data(sqlite3* db, const std::string& key);

// Deletes the row of exactly `key` or, when the key holds "%", every row
// whose whole key matches it as a LIKE pattern ("%" any run, "_" any one
// character, ASCII letters without regard to case; see
// serialization_key_pattern.h). True when the deletion ran, also when no row
// matched; false for a null connection or when SQLite refused it (a
// read-only connection, a locked file), and then no row is deleted.
bool delete_binary_data(sqlite3* db, const std::string& key);

// Always an empty attribute text and an empty payload.
std::pair<std::string, std::vector<char>> get_binary_test(const std::string& text);

// Calls `callback` with (URI, attribute text) for every row whose URI matches
// `pattern` as delete_binary_data matches keys (a LIKE pattern when it holds
// "%", else the exact key), in ascending URI order (byte order). The
// callback's result does not stop the walk; a NULL attribute text comes as
// "".
void foreach_rule(
    const std::shared_ptr<sqlite3>& db,
    const boost::function<bool(const std::tuple<std::string, std::string>&)>& callback,
    const std::string& pattern);

// Builds the builder's network (its write operation), stores it under `key`.
void store_fsm(const std::shared_ptr<dez::afst::Builder>& builder,
               const std::shared_ptr<sqlite3>& db, const std::string& key,
               const std::string& attributes);
// As above, with the pairs written as attribute text (key=value joined by ";").
void store_fsm(const std::shared_ptr<dez::afst::Builder>& builder,
               const std::shared_ptr<sqlite3>& db, const std::string& key,
               const std::vector<std::pair<std::string, std::string>>& attributes);
// Stores a finished network as it is (not built again).
void store_fsm(const fst::VectorFst<fst::StdArc>& network, const std::shared_ptr<sqlite3>& db,
               const std::string& key, const std::string& attributes);

// The network of OpenFst's serialized bytes, checked with check_fsm_payload
// before OpenFst reads them; null when they hold none (OpenFst's log names
// `caller` and `source`). Stored property bits are dropped.
std::shared_ptr<fst::VectorFst<fst::StdArc>>
read_fsm(const char* data, std::size_t size, const std::string& caller, const std::string& source);

// The network stored under exactly `key`; null when there is no row, the
// payload is empty or does not parse.
std::shared_ptr<fst::VectorFst<fst::StdArc>> get_fsm(const std::shared_ptr<sqlite3>& db,
                                                     const std::string& key);
std::pair<std::string, std::shared_ptr<fst::VectorFst<fst::StdArc>>>
get_fsm_attr(const std::shared_ptr<sqlite3>& db, const std::string& key);

// One transaction: BEGIN IMMEDIATE on construction, ROLLBACK on destruction
// unless commit() ran. Thousands of stores inside one transaction cost one
// journal sync instead of one each. On a read-only connection it is one read
// transaction (a shared lock only), which spares many reads a lock each.
class Transaction {
public:
    // Throws std::runtime_error "begin transaction failed: ..." on failure.
    explicit Transaction(sqlite3* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Throws std::runtime_error "commit failed: ..." (the transaction is
    // then rolled back by the destructor).
    void commit();

private:
    sqlite3* db_;
    bool open_;
};

} // namespace dez::afst::serialization
