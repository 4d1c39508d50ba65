#include "core-afst/serialization.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Storing and fetching FILES rows by key, as a domain build and a domain load do.

namespace {

namespace fs = std::filesystem;
namespace ser = dez::afst::serialization;

constexpr int row_count = 10000;

fs::path container_path() {
    return fs::temp_directory_path() /
           ("trelix_bench_files_" + std::to_string(::getpid()) + ".dom");
}

std::vector<std::string> make_keys() {
    std::vector<std::string> keys;
    keys.reserve(row_count);
    for (int i = 0; i < row_count; ++i)
        keys.push_back("rule_cluster_" + std::to_string(i * 7919 % row_count) + "_rule:source");
    return keys;
}

const std::string payload(256, 'p');

void fill(sqlite3* db, const std::vector<std::string>& keys) {
    ser::Transaction transaction(db);
    for (const auto& key : keys)
        ser::store_binary_data(db, key, "input=literal", payload.data(), payload.size());
    transaction.commit();
}

// 10,000 rows into a fresh container inside one transaction.
void BM_StoreRows(benchmark::State& state) {
    const auto keys = make_keys();
    const fs::path path = container_path();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(path);
        auto db = ser::open_file(path);
        ser::create_cbf_table(db.get());
        state.ResumeTiming();
        fill(db.get(), keys);
    }
    fs::remove(path);
    state.counters["rows/s"] =
        benchmark::Counter(double(row_count), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_StoreRows)->Unit(benchmark::kMillisecond);

// Fetches every key from a filled container on a read-only connection,
// in one read transaction per pass when `one_transaction` is set.
void fetch_rows(benchmark::State& state, bool one_transaction) {
    const auto keys = make_keys();
    const fs::path path = container_path();
    fs::remove(path);
    {
        auto db = ser::open_file(path);
        ser::create_cbf_table(db.get());
        fill(db.get(), keys);
    }
    auto db = ser::open_shared_db_read(path.string());
    for (auto _ : state) {
        std::optional<ser::Transaction> reading;
        if (one_transaction)
            reading.emplace(db.get());
        for (const auto& key : keys) {
            auto row = ser::get_binary_data(db.get(), key);
            if (row.second.size() != payload.size())
                state.SkipWithError("row missing");
            benchmark::DoNotOptimize(row);
        }
        if (reading)
            reading->commit();
    }
    db.reset();
    fs::remove(path);
    state.counters["rows/s"] =
        benchmark::Counter(double(row_count), benchmark::Counter::kIsIterationInvariantRate);
}

// 10,000 exact-key fetches from a read-only connection.
void BM_FetchRows(benchmark::State& state) { fetch_rows(state, false); }
BENCHMARK(BM_FetchRows)->Unit(benchmark::kMillisecond);

// The same fetches inside one read transaction: one lock for all of them.
void BM_FetchRowsInOneTransaction(benchmark::State& state) { fetch_rows(state, true); }
BENCHMARK(BM_FetchRowsInOneTransaction)->Unit(benchmark::kMillisecond);

} // namespace
