#include "foundation/input_provider.h"

#include "foundation/file.h"

#include <fstream>
#include <functional>

namespace dez {

const std::string StringProvider::object_type = "si";
const std::string FileProvider::object_type = "fi";

StringProvider::StringProvider(const std::string& id, const std::string& data)
    : id(id), data(data) {}

StringProvider::StringProvider(const std::string& data)
    : id("stream_" + std::to_string(std::hash<std::string>{}(data))), data(data) {}

const std::string& StringProvider::type() const { return object_type; }

const std::string& StringProvider::get_id() const { return id; }

std::string StringProvider::get_data() const { return data; }

std::uint64_t StringProvider::size() const { return data.size(); }

FileProvider::FileProvider(const std::string& path) : path(path) {}

const std::string& FileProvider::type() const { return object_type; }

const std::string& FileProvider::get_id() const { return path; }

std::string FileProvider::get_data() const { return dez::file::load(path.c_str()); }

std::uint64_t FileProvider::size() const {
    // No exception mask: a file that cannot be opened leaves tellg at -1.
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    return static_cast<std::uint64_t>(static_cast<std::streamoff>(in.tellg()));
}

} // namespace dez
