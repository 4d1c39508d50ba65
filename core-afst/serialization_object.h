#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "core-afst/serialization.h"

namespace dez::afst::serialization {

// The JSON record stored under `key`, read with the record's `istream`. No
// row, empty data or a null connection give an empty record without a word;
// data that is not JSON raises the JSON library's parse error.
template <typename Record> Record get_object(sqlite3* db, const std::string& key) {
    Record record;
    if (!db)
        return record;
    auto row = get_binary_data(db, key);
    if (row.second.empty())
        return record;
    std::istringstream in(std::string(row.second.begin(), row.second.end()));
    record.istream(in);
    return record;
}

template <typename Record>
Record get_object(const std::shared_ptr<sqlite3>& db, const std::string& key) {
    return get_object<Record>(db.get(), key);
}

} // namespace dez::afst::serialization
