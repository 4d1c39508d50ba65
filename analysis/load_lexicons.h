#pragma once

#include <memory>

struct sqlite3;

namespace dez::trelix {

class DomainFacade;

// Gives the domain one lexicon per stream that has a row "entities_" + the
// stream's name in the store. Failures of a row pass through.
void load_lexicons(DomainFacade& domain, const std::shared_ptr<sqlite3>& db);

// Puts the store's "lexicon_info" JSON under "dom" / "lexicons" of the
// domain's description; nothing without the row. Text that is not one JSON
// value raises the JSON library's parse error.
void load_lexicon_info(DomainFacade& domain, const std::shared_ptr<sqlite3>& db);

} // namespace dez::trelix
