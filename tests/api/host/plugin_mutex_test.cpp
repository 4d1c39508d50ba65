// A plugin built apart from the library takes the process plugin mutex by
// its C++ name; this program links only against libtrelix.so, so it builds
// only while the library exports that name.

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace dez::trelix {
extern std::mutex global_plugin_mutex;
}

namespace {

TEST(PluginMutex, IsTheLibrarysOwnMutex) {
    std::lock_guard<std::mutex> held(dez::trelix::global_plugin_mutex);
    bool taken_elsewhere = true;
    std::thread([&] {
        taken_elsewhere = dez::trelix::global_plugin_mutex.try_lock();
        if (taken_elsewhere)
            dez::trelix::global_plugin_mutex.unlock();
    }).join();
    EXPECT_FALSE(taken_elsewhere);
}

} // namespace
