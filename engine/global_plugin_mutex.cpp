#include "engine/global_plugin_mutex.h"

namespace dez::trelix {

__attribute__((visibility("default"))) std::mutex global_plugin_mutex;

} // namespace dez::trelix
