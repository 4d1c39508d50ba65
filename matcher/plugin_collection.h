#pragma once

#include <map>
#include <string>

#include <boost/shared_ptr.hpp>

namespace dez::trelix::plugins {

// The object a plugin library exports; the plugin-loading work declares its
// operations.
class API;

// An engine's loaded plugins by name. A handle shares ownership of the library
// it points into, so a library stays open while any handle lives. The
// plugin-calling work makes the destructor tell the plugins that they go away.
class PluginCollection : public std::map<std::string, boost::shared_ptr<API>> {};

} // namespace dez::trelix::plugins
