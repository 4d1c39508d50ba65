#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace dez {

// The views of a document that a lexicon or a rule can read. The values index
// per-stream buffers; 7, one past canonical, stands for no stream.
enum text_stream_type : std::uint32_t {
    literal = 0,
    stem = 1,
    normalized_literal = 2,
    normalized_stem = 3,
    component = 4,
    head = 5,
    canonical = 6,
};

// Stream name to stream, in byte order of the names. Bound at load time; code
// that runs during load should call the functions below instead.
extern const std::map<std::string, text_stream_type>& stream_types;

// The stream's name; "literal" for a value that names no stream.
const std::string& get_stream_name(const text_stream_type& type);

// The stream of a name; a name of more than two bytes that starts with a double
// quote loses its first and last byte first. 7 when the name is unknown.
text_stream_type get_stream_type(const std::string& name);

} // namespace dez
