#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "domain/concept_definition.h"
#include "domain/domain_interface.h"
#include "foundation/wall_clock.h"

namespace dez::trelix {

// One compiled domain read into memory. So far it holds what documents read
// while the domain's rules run; the domain-loading work adds the lexicons,
// the encoder, the rules, the description, the output filter and the times,
// and fills everything from the `.dom` store.
class DomainFacade : public DomainInterface {
public:
    explicit DomainFacade(const std::string& domain_name) : domain_name(domain_name) {}

    const std::string& get_sqlite_filename() const override { return sqlite_filename; }
    const std::string& name() const override { return domain_name; }

    // Records a use now, in wall-clock seconds since the epoch; the engine's
    // purge policy releases domains unused for long.
    void touch() { last_access_seconds = dez::system::seconds_since_epoch(); }
    // -1 until the first touch().
    int64_t last_access() const { return last_access_seconds; }

    std::string domain_name;
    // Concept id to concept name, and back.
    std::map<uint32_t, std::string> concept_ids;
    std::map<std::string, uint32_t> concept_names;
    std::map<std::string, ConceptDefinition> concept_definitions;
    std::string sqlite_filename;
    // Concepts that may not span a line feed.
    std::set<std::string> no_crlf;
    std::atomic<int64_t> last_access_seconds{-1};
};

} // namespace dez::trelix
