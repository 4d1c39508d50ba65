#include "matcher/plugin_collection.h"

#include <set>

#include "foundation/logger.h"
#include "matcher/plugin_api.h"
#include "matcher/plugin_error.h"

namespace dez::trelix::plugins {

PluginCollection::~PluginCollection() {
    // An alias shares the object of another name; it is shut down once.
    std::set<const API*> done;
    for (auto& [name, plugin] : *this) {
        if (!plugin || !done.insert(plugin.get()).second) {
            plugin.reset();
            continue;
        }
        dez_exception record{};
        record.code = 0;
        plugin->shutdown(&record);
        if (record.code != 0)
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                       "[PLUGIN]:shutdown of " << name
                                               << " failed:" << plugin_error_message(record));
        plugin.reset();
    }
}

} // namespace dez::trelix::plugins
