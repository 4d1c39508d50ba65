#pragma once

#include <string>

namespace dez::trelix {

// The key of a `.language` file in the engine's language cache: its canonical
// path, so that every spelling of one file ("a/../x.language", "x.language")
// shares one entry. A path that no longer exists is normalised as far as its
// existing part allows; the text unchanged when even that fails.
std::string language_cache_key(const std::string& path);

} // namespace dez::trelix
