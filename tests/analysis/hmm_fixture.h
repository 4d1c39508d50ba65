#pragma once

// HMM tables for tagger tests: in memory, or written as a `.hmm` FILES store.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "analysis/hmm_resource.h"
#include "core-afst/serialization.h"
#include "document/token.h"
#include "foundation/pos_table.h"

namespace dez::trelix::fixture {

inline uint32_t tag(const std::string& name) {
    const uint32_t id = dez::language::pos_table::id(name);
    if (id == 0)
        throw std::logic_error("not a tag: " + name);
    return id;
}

// Rows left unset are not written.
struct HmmRows {
    std::optional<std::string> start;
    std::optional<std::string> emission;
    std::optional<std::string> transition;
};

inline void write_hmm_store(const std::filesystem::path& path, const HmmRows& rows) {
    namespace s = dez::afst::serialization;
    auto db = s::open_file(path);
    s::create_cbf_table(db.get());
    const auto put = [&](const char* key, const std::optional<std::string>& data) {
        if (data)
            s::store_binary_data(db.get(), key, "", data->data(), data->size());
    };
    put("start-hmm", rows.start);
    put("emission-hmm", rows.emission);
    put("transmission-hmm", rows.transition);
}

// Tables filled entry by entry.
struct HmmTables {
    core::hmm::Resource resource;

    HmmTables& start(const std::string& pos, float p) {
        resource.start[tag(pos)] = p;
        return *this;
    }
    HmmTables& emission(const std::string& word, const std::string& pos, float p) {
        resource.emission[word + "^^" + pos] = p;
        return *this;
    }
    HmmTables& transition(const std::string& from, const std::string& to, float p) {
        resource.transition.table[core::hmm::detail::make_transition_id(tag(from), tag(to))] = p;
        return *this;
    }
};

// Gives a token one reading per part of speech, the literal as stem.
inline void give(Token* token, std::initializer_list<const char*> parts_of_speech) {
    for (const char* pos : parts_of_speech)
        token->readings.emplace_back(pos, token->literal, 1.0);
}

inline std::string parts_of_speech(const Token& token) {
    std::string out;
    for (const auto& reading : token.readings)
        out += (out.empty() ? "" : ",") + reading.pos;
    return out;
}

} // namespace dez::trelix::fixture
