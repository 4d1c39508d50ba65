#pragma once

#include <map>
#include <string>

#include <boost/shared_ptr.hpp>

namespace dez::trelix::plugins {

class API;

// An engine's loaded plugins by name; one plugin object may stand under two
// names (an alias). A handle shares ownership of the library it points into,
// so a library stays open while any handle lives.
class PluginCollection : public std::map<std::string, boost::shared_ptr<API>> {
public:
    PluginCollection() = default;
    PluginCollection(const PluginCollection&) = delete;
    PluginCollection& operator=(const PluginCollection&) = delete;
    // Shuts every plugin object down once, in name order, and drops its
    // handles; a failure a plugin reports is logged (a destructor cannot pass
    // it on).
    ~PluginCollection();
};

} // namespace dez::trelix::plugins
