#include "engine/global_plugin_mutex.h"

namespace dez::trelix {

__attribute__((visibility("default"))) std::mutex global_plugin_mutex;

namespace {

thread_local bool initializing = false;

} // namespace

PluginInitializeScope::PluginInitializeScope() : outer(initializing) {
    initializing = true;
}

PluginInitializeScope::~PluginInitializeScope() {
    initializing = outer;
}

bool PluginInitializeScope::active() {
    return initializing;
}

PluginCollectionReadLock::PluginCollectionReadLock() : lock(global_plugin_mutex, std::defer_lock) {
    if (!PluginInitializeScope::active())
        lock.lock();
}

} // namespace dez::trelix
