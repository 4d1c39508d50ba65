#include "analysis/hmm_resource.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string_view>

#include <sqlite3.h>

#include "analysis/leading_number.h"
#include "core-afst/serialization.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "foundation/pos_table.h"

namespace dez::trelix::core::hmm {

namespace {

// Calls `entry(line number, key, probability)` for every line; the key is
// the text before the first tab.
void for_each_line(const std::vector<char>& data,
                   const std::function<void(size_t, std::string_view, float)>& entry) {
    const char* p = data.data();
    const char* end = p + data.size();
    size_t number = 0;
    while (p != end) {
        ++number;
        const char* line_end = static_cast<const char*>(std::memchr(p, '\n', end - p));
        if (!line_end)
            line_end = end;
        const char* tab = static_cast<const char*>(std::memchr(p, '\t', line_end - p));
        if (!tab) {
            std::ostringstream message;
            message << "Invalid line " << number << " in hmm table: no tab after the key";
            throw dez::Exception(message);
        }
        const double value = read_leading_number(tab + 1, line_end, true);
        // A float cannot hold it (the conversion would be undefined).
        if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
            std::ostringstream message;
            message << "Invalid line " << number << " in hmm table: number out of range";
            throw dez::Exception(message);
        }
        entry(number, std::string_view(p, tab - p), static_cast<float>(value));
        p = line_end == end ? end : line_end + 1;
    }
}

uint32_t tag_id(std::string_view tag, std::set<std::string>* unknown) {
    const std::string name(tag);
    const uint32_t id = dez::language::pos_table::id(name);
    if (id == 0 && unknown)
        unknown->insert(name);
    return id;
}

std::vector<char> row(sqlite3* db, const char* key, const char* missing) {
    auto data = dez::afst::serialization::get_binary_data(db, key).second;
    if (data.empty())
        throw dez::Exception(missing);
    return data;
}

void report_unknown(const std::string& path, const char* key,
                    const std::set<std::string>& unknown) {
    if (unknown.empty())
        return;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_warning, [&] {
        std::ostringstream names;
        for (const auto& name : unknown)
            names << (names.tellp() > 0 ? ", " : "") << name;
        return "HMM file " + path + ": " + key +
               " lines with tags missing from the part-of-speech table are left out: " +
               names.str();
    }());
}

} // namespace

namespace detail {

uint64_t make_transition_id(unsigned long previous, unsigned long tag) {
    return (static_cast<uint64_t>(previous) << 32) | static_cast<uint64_t>(tag);
}

void load_probalitity_table(std::unordered_map<uint32_t, float>& table,
                            const std::vector<char>& data, std::set<std::string>* unknown) {
    for_each_line(data, [&](size_t, std::string_view key, float probability) {
        const uint32_t id = tag_id(key, unknown);
        if (id != 0 || !unknown)
            table.emplace(id, probability);
    });
}

void load_emission_table(std::unordered_map<std::string, float>& table,
                         const std::vector<char>& data) {
    for_each_line(data, [&](size_t, std::string_view key, float probability) {
        table.emplace(std::string(key), probability);
    });
}

void load_transition_table(TransitionTableResource& table, const std::vector<char>& data,
                           std::set<std::string>* unknown) {
    for_each_line(data, [&](size_t number, std::string_view key, float probability) {
        const size_t space = key.find(' ');
        if (space == std::string_view::npos) {
            std::ostringstream message;
            message << "Invalid line " << number << " in hmm table: no space between the two tags";
            throw dez::Exception(message);
        }
        const uint32_t previous = tag_id(key.substr(0, space), unknown);
        const uint32_t tag = tag_id(key.substr(space + 1), unknown);
        if ((previous != 0 && tag != 0) || !unknown)
            table.table.emplace(make_transition_id(previous, tag), probability);
    });
}

} // namespace detail

Resource load(const std::string& path) {
    std::shared_ptr<sqlite3> db;
    try {
        // Read-only: a wrong path must not leave an empty store behind.
        db = dez::afst::serialization::open_shared_db_read(path);
    } catch (const std::exception& error) {
        throw dez::Exception("Cannot open hmm file " + path + ": " + error.what());
    }
    if (!db)
        throw dez::Exception("Cannot open hmm file " + path);

    Resource resource;
    const auto with_key = [&](const char* key, const std::function<void()>& read) {
        try {
            read();
        } catch (const dez::Exception& error) {
            throw dez::Exception(std::string(key) + " of " + path + ": " + error.what());
        }
    };
    // Rows are read in this order so that the first missing one is named.
    const auto start = row(db.get(), "start-hmm", "Cannot find start resource in hmm file.");
    std::set<std::string> unknown_start;
    with_key("start-hmm",
             [&] { detail::load_probalitity_table(resource.start, start, &unknown_start); });
    const auto emission =
        row(db.get(), "emission-hmm", "Cannot find emission resource in hmm file.");
    with_key("emission-hmm", [&] { detail::load_emission_table(resource.emission, emission); });
    const auto transition =
        row(db.get(), "transmission-hmm", "Cannot find transmission resource in hmm file.");
    std::set<std::string> unknown_transition;
    with_key("transmission-hmm", [&] {
        detail::load_transition_table(resource.transition, transition, &unknown_transition);
    });
    report_unknown(path, "start-hmm", unknown_start);
    report_unknown(path, "transmission-hmm", unknown_transition);
    return resource;
}

} // namespace dez::trelix::core::hmm
