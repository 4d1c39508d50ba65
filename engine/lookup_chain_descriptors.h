#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace dez::trelix {

class Engine;

namespace core {
struct MorphDataDescriptor;
}

// One descriptor per chain entry of config[key] (an array's entries, an
// object's values), in order; none when the key is absent. Each entry's
// "file" and "guesser" are resolved over the folders and rewritten in place
// to the path found (each descriptor keeps a copy of its entry). The caller
// holds the engine lock (the transducers come from the engine's cache).
// Fails with dez::Exception on an entry that is a bare file name, that is no
// object, or whose files are not found.
std::vector<core::MorphDataDescriptor>
create_lookup_chain_descriptors(const Engine* engine, nlohmann::json& config,
                                const std::string& key,
                                const std::vector<std::filesystem::path>& folders);

// The chains of config["property_chain"] by name (an array's chains by their
// index); empty without that key.
std::map<std::string, std::vector<core::MorphDataDescriptor>>
create_named_lookup_descriptors(const Engine* engine, nlohmann::json& config,
                                const std::vector<std::filesystem::path>& folders);

} // namespace dez::trelix
