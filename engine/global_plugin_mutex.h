#pragma once

#include <mutex>

namespace dez::trelix {

// Serialises plugin lookups and loads of every engine of the process. Taken
// before an engine's own lock, never after it. Exported: plugins built apart
// may take it too.
extern __attribute__((visibility("default"))) std::mutex global_plugin_mutex;

// Marks the calling thread as running a plugin's initialize, which happens
// with global_plugin_mutex held. The mutex is not recursive: a plugin lookup
// from that thread must fail instead of locking it again.
class PluginInitializeScope {
public:
    PluginInitializeScope();
    ~PluginInitializeScope();
    PluginInitializeScope(const PluginInitializeScope&) = delete;
    PluginInitializeScope& operator=(const PluginInitializeScope&) = delete;

    // True on a thread inside a plugin's initialize (and so holding the mutex).
    static bool active();

private:
    bool outer;
};

// Locks global_plugin_mutex unless the calling thread holds it already (it
// runs a plugin's initialize); for readers of a plugin collection.
class PluginCollectionReadLock {
public:
    PluginCollectionReadLock();

private:
    std::unique_lock<std::mutex> lock;
};

} // namespace dez::trelix
