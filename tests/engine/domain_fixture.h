#pragma once

// Compiled domains written at test time: a FILES store holding lexicon rows
// built by our own builder, and the `.dom_info` beside it.

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core-afst/builder.h"
#include "core-afst/pattern_line.h"
#include "core-afst/serialization.h"

namespace dez::trelix::fixture {

// One lexicon row: "entities_" + stream, its pattern lines ("New York:Place")
// and its attribute text.
struct LexiconRow {
    std::string stream;
    std::vector<std::string> lines;
    std::string attributes;
};

inline void write_lexicon_row(const std::shared_ptr<sqlite3>& db, const LexiconRow& row) {
    auto builder = std::make_shared<dez::afst::Builder>();
    for (const std::string& line : row.lines) {
        builder->open_rule();
        if (dez::afst::push_arcs_line(*builder, line) < 0)
            throw std::runtime_error("bad pattern line " + line);
        builder->close_rule();
    }
    builder->applyUnion(0);
    dez::afst::serialization::store_fsm(builder, db, "entities_" + row.stream, row.attributes);
}

// Writes `dom` with the lexicon rows (and a "lexicon_info" row when given).
inline void write_domain(const std::filesystem::path& dom, const std::vector<LexiconRow>& rows = {},
                         const std::optional<std::string>& lexicon_info = std::nullopt) {
    std::filesystem::create_directories(dom.parent_path());
    auto db = dez::afst::serialization::open_file(dom);
    if (!db || !dez::afst::serialization::create_cbf_table(db.get()))
        throw std::runtime_error("cannot write " + dom.string());
    for (const LexiconRow& row : rows)
        write_lexicon_row(db, row);
    if (lexicon_info)
        dez::afst::serialization::store_binary_data(db.get(), "lexicon_info", "",
                                                    lexicon_info->data(), lexicon_info->size());
}

// The `.dom_info` beside `dom`.
inline void write_dom_info(const std::filesystem::path& dom, const nlohmann::json& info) {
    std::filesystem::path path = dom;
    path.replace_extension(".dom_info");
    std::ofstream(path) << info.dump();
}

// A domain whose `.dom_info` lists these dependencies.
inline void write_domain_needing(const std::filesystem::path& dom,
                                 const std::vector<std::string>& dependencies) {
    write_domain(dom);
    write_dom_info(dom, {{"dependencies", dependencies}});
}

} // namespace dez::trelix::fixture
