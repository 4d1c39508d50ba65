#pragma once

#include <mutex>

namespace dez::trelix {

// Serialises plugin lookups and loads of every engine of the process. Taken
// before an engine's own lock, never after it. Exported: plugins built apart
// may take it too.
extern __attribute__((visibility("default"))) std::mutex global_plugin_mutex;

} // namespace dez::trelix
