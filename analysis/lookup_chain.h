#pragma once

#include <memory>
#include <string>
#include <vector>

namespace dez::trelix::core {

class ILookup;

// The first non-empty answer of the steps in order (answers are never
// merged); empty when no step knows the word.
std::vector<std::string> lookup_chain(const std::vector<std::shared_ptr<ILookup>>& chain,
                                      const std::string& word);
// The same without the document's lookup cache.
std::vector<std::string> lookup_chain_no_cache(const std::vector<std::shared_ptr<ILookup>>& chain,
                                               const std::string& word);

} // namespace dez::trelix::core
