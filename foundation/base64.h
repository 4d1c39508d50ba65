#pragma once

#include <string>
#include <vector>

namespace dez::string::base64 {

// Standard alphabet, '=' padding, no line breaks.
std::string encode(const std::string& data);
std::string encode(const std::vector<unsigned char>& data);

// Lenient decoding: missing padding is added, whitespace is skipped, and as
// many bytes are dropped from the end as the text holds '='. A byte outside
// the alphabet raises boost::archive::iterators::dataflow_exception.
std::string decode(std::string text);

} // namespace dez::string::base64

namespace dez {
namespace base64 = string::base64;
} // namespace dez
