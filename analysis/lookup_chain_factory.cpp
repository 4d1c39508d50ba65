#include "analysis/lookup_chain_factory.h"

#include "analysis/lookup.h"
#include "analysis/morph_data.h"
#include "analysis/morph_data_descriptor.h"

namespace dez::trelix {

std::vector<std::shared_ptr<core::ILookup>>
create_lookup_chain_from_descriptors(const std::vector<core::MorphDataDescriptor>& descriptors,
                                     Blackboard* blackboard) {
    std::vector<std::shared_ptr<core::ILookup>> chain;
    chain.reserve(descriptors.size());
    for (const core::MorphDataDescriptor& descriptor : descriptors)
        chain.push_back(core::MorphData::create(descriptor, blackboard));
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
