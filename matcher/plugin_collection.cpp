#include "matcher/plugin_collection.h"

#include <exception>
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
        // A plugin built apart may throw although it should fill the record;
        // out of a destructor that would end the process.
        try {
            plugin->shutdown(&record);
            if (record.code != 0)
                TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                           "[PLUGIN]:shutdown of " << name
                                                   << " failed:" << plugin_error_message(record));
        } catch (const std::exception& e) {
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                       "[PLUGIN]:shutdown of " << name << " failed:" << e.what());
        } catch (...) {
            TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                       "[PLUGIN]:shutdown of " << name << " failed");
        }
        plugin.reset();
    }
}

} // namespace dez::trelix::plugins
