#include "engine/domain_freshness.h"

#include <filesystem>
#include <system_error>

#include "domain/domain_facade.h"
#include "engine/write_time.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace fs = std::filesystem;

bool domains_need_to_be_recompiled(const DomainFacade& facade, const std::string& name) {
    const int64_t build_time = facade.build_time;
    if (build_time == -1)
        return true;
    const int64_t on_file = write_time_in_seconds(facade.get_sqlite_filename());
    if (on_file == -1)
        return true;
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace,
               "timestamp: name=" << name << " on_file_ts=" << on_file
                                  << " > in_cache_ts=" << build_time);
    if (on_file > build_time)
        return true;
    if (!dez::file::is_directory(name))
        return false;
    bool found = false;
    has_newer_source_files(name, ".tlx", facade, found, false);
    return found;
}

void has_newer_source_files(const std::string& folder, const std::string& extension,
                            const DomainFacade& facade, bool& found, bool descend) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return;
    const int64_t build_time = facade.build_time;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            return;
        const fs::path& path = it->path();
        std::error_code kind_error;
        if (it->is_directory(kind_error)) {
            if (descend)
                has_newer_source_files(path.string(), extension, facade, found, descend);
            continue;
        }
        if (!it->is_regular_file(kind_error))
            continue;
        if (!extension.empty() && path.extension().string() != extension)
            continue;
        if (write_time_in_seconds(path.string()) > build_time)
            found = true;
    }
}

} // namespace dez::trelix
