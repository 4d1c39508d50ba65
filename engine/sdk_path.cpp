#include "engine/sdk_path.h"

#include <dlfcn.h>
#include <link.h>

#include <string>
#include <system_error>

#include "foundation/file.h"
#include "foundation/string_utils.h"

namespace dez::system::path {

namespace fs = std::filesystem;

fs::path this_function() {
    Dl_info info{};
    struct link_map* map = nullptr;
    if (dladdr1(reinterpret_cast<void*>(&this_function), &info, reinterpret_cast<void**>(&map),
                RTLD_DL_LINKMAP) == 0)
        return {};
    // Our own entry normally matches; the walk covers a loader that reports a
    // neighbouring object first.
    for (; map; map = map->l_next) {
        const std::string name = map->l_name ? map->l_name : "";
        const std::size_t at = name.find("libtrelix.so");
        if (at != std::string::npos)
            return fs::path(name.substr(0, at));
    }
    // Linked into a program (the test programs link the objects): the
    // program's own folder.
    if (!info.dli_fname || !*info.dli_fname)
        return {};
    std::error_code error;
    const fs::path file = fs::absolute(info.dli_fname, error);
    return error ? fs::path() : fs::path(file).remove_filename();
}

fs::path read_link(const fs::path& link) {
    std::error_code error;
    fs::path target = fs::read_symlink(link, error);
    return error ? fs::path() : target;
}

fs::path root_of_executable(const fs::path& executable) {
    fs::path folder = fs::canonical(fs::absolute(executable).parent_path());
    fs::path root = folder.parent_path();
    const std::string last = root.filename().string();
    if (dez::string::starts_with(last, "debug") || dez::string::starts_with(last, "release"))
        root = root.parent_path();
    return root;
}

fs::path sdk(const char* relative) {
    const fs::path executable = read_link("/proc/self/exe");
    if (dez::file::exists(executable))
        return root_of_executable(executable);
    fs::path folder = fs::path(relative ? relative : "").remove_filename();
    return fs::canonical(fs::absolute(folder)).parent_path();
}

} // namespace dez::system::path
