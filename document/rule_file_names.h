#pragma once

#include <map>
#include <string>

namespace dez::trelix {

// The rule source files of a compiled domain, by file id: the
// "uniq_id_2_filename_map" of the `.dom_inc` store beside the domain's
// `.dom`. Empty when there is no such store; the store is opened read-only.
std::map<std::string, std::string> rule_file_names(const std::string& sqlite_filename);

} // namespace dez::trelix
