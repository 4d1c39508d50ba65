#include "analysis/load_lexicons.h"

#include <nlohmann/json.hpp>

#include "analysis/lexicon_facade.h"
#include "core-afst/serialization.h"
#include "domain/domain_facade.h"
#include "foundation/text_stream_type.h"

namespace dez::trelix {

void load_lexicons(DomainFacade& domain, const std::shared_ptr<sqlite3>& db) {
    for (const auto& [name, type] : dez::stream_types) {
        const std::string key = "entities_" + name;
        if (dez::afst::serialization::has_binary_data(db.get(), key))
            domain.lexicons[type] = std::make_shared<core::LexiconFacade>(db, key);
    }
}

void load_lexicon_info(DomainFacade& domain, const std::shared_ptr<sqlite3>& db) {
    if (!dez::afst::serialization::has_binary_data(db.get(), "lexicon_info"))
        return;
    const auto row = dez::afst::serialization::get_binary_data(db.get(), "lexicon_info");
    nlohmann::json summary = nlohmann::json::parse(row.second.begin(), row.second.end());
    if (!domain.dom_info)
        domain.dom_info = std::make_shared<nlohmann::json>();
    (*domain.dom_info)["dom"]["lexicons"] = std::move(summary);
}

} // namespace dez::trelix
