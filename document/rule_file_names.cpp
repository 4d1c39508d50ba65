#include "document/rule_file_names.h"

#include <filesystem>
#include <system_error>

#include "compiler/build/string_string_map.h"
#include "core-afst/serialization.h"
#include "core-afst/serialization_object.h"

namespace dez::trelix {

std::map<std::string, std::string> rule_file_names(const std::string& sqlite_filename) {
    std::filesystem::path path(sqlite_filename);
    path.replace_extension(".dom_inc");
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    const auto db = dez::afst::serialization::open_shared_db_read(path.string());
    return dez::afst::serialization::get_object<dez::compiler::StringStringMap>(
        db, "uniq_id_2_filename_map");
}

} // namespace dez::trelix
