#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dez::trelix {

class Blackboard;

namespace core {
class ILookup;
struct MorphDataDescriptor;
} // namespace core

// One lookup step per descriptor, in descriptor order, each using the
// document's lookup cache.
std::vector<std::shared_ptr<core::ILookup>>
create_lookup_chain_from_descriptors(const std::vector<core::MorphDataDescriptor>& descriptors,
                                     Blackboard* blackboard);

// One chain per name.
std::map<std::string, std::vector<std::shared_ptr<core::ILookup>>>
create_named_lookup_from_descriptors(
    const std::map<std::string, std::vector<core::MorphDataDescriptor>>& descriptors,
    Blackboard* blackboard);

} // namespace dez::trelix
