#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "domain/concept_definition.h"
#include "domain/domain_interface.h"
#include "foundation/text_stream_type.h"
#include "foundation/wall_clock.h"

namespace dez::trelix {

namespace core {
class LexiconFacade;
}

// One compiled domain read into memory. So far it holds what documents read
// while the domain's rules run, its lexicons, its description and its times;
// the domain-loading work adds the encoder, the rules and the output filter,
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
    // The write time of the `.dom` file in whole seconds since the epoch, -1
    // when it does not exist.
    void update_build_time();

    std::string domain_name;
    // At most one lexicon per stream; filled at load, read-only afterwards.
    std::map<dez::text_stream_type, std::shared_ptr<core::LexiconFacade>> lexicons;
    // Concept id to concept name, and back.
    std::map<uint32_t, std::string> concept_ids;
    std::map<std::string, uint32_t> concept_names;
    std::map<std::string, ConceptDefinition> concept_definitions;
    std::string sqlite_filename;
    // Concepts that may not span a line feed.
    std::set<std::string> no_crlf;
    std::atomic<int64_t> last_access_seconds{-1};
    // -1 until a load finds the `.dom` file.
    std::atomic<int64_t> build_time{-1};
    // The description: {"dom": {"dom_filename", ...}, "dom_info": the parsed
    // `.dom_info` or null}; absent until a load provides it.
    std::shared_ptr<nlohmann::json> dom_info;
};

} // namespace dez::trelix
