#include "analysis/lookup_chain_factory.h"

#include "analysis/lookup.h"
#include "analysis/morph_data_descriptor.h"
#include "foundation/exception.h"

namespace dez::trelix {

// The lookup-chain work builds a step (a proxy over the descriptor's lookup
// strategy) here; until the strategies exist a descriptor cannot be served.
std::vector<std::shared_ptr<core::ILookup>>
create_lookup_chain_from_descriptors(const std::vector<core::MorphDataDescriptor>& descriptors,
                                     Blackboard* /*blackboard*/) {
    std::vector<std::shared_ptr<core::ILookup>> chain;
    if (!descriptors.empty())
        throw dez::Exception("lookup steps cannot be built yet: no lookup strategies");
    return chain;
}

std::map<std::string, std::vector<std::shared_ptr<core::ILookup>>>
create_named_lookup_from_descriptors(
    const std::map<std::string, std::vector<core::MorphDataDescriptor>>& descriptors,
    Blackboard* blackboard) {
    std::map<std::string, std::vector<std::shared_ptr<core::ILookup>>> named;
    for (const auto& [name, chain] : descriptors)
        named.emplace(name, create_lookup_chain_from_descriptors(chain, blackboard));
    return named;
}

} // namespace dez::trelix
