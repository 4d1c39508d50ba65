#include "foundation/base64.h"

#include <boost/archive/iterators/base64_from_binary.hpp>
#include <boost/archive/iterators/binary_from_base64.hpp>
#include <boost/archive/iterators/transform_width.hpp>

#include <algorithm>

namespace dez::string::base64 {

namespace {

namespace it = boost::archive::iterators;

// Padding by input length modulo 3.
const char* const padding[3] = {"", "==", "="};

std::string encode_bytes(const char* begin, const char* end) {
    using Encoder = it::base64_from_binary<it::transform_width<const char*, 6, 8>>;
    std::string result{Encoder(begin), Encoder(end)};
    result += padding[static_cast<std::size_t>(end - begin) % 3];
    return result;
}

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::string encode(const std::string& data) {
    return encode_bytes(data.data(), data.data() + data.size());
}

std::string encode(const std::vector<unsigned char>& data) {
    const char* begin = reinterpret_cast<const char*>(data.data());
    return encode_bytes(begin, begin + data.size());
}

std::string decode(std::string text) {
    while (text.size() % 4 != 0)
        text += '=';
    const auto padded = static_cast<std::size_t>(std::count(text.begin(), text.end(), '='));
    std::replace(text.begin(), text.end(), '=', 'A');
    text.erase(std::remove_if(text.begin(), text.end(), is_space), text.end());

    using Decoder = it::transform_width<it::binary_from_base64<const char*>, 8, 6>;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (text.size() % 4 == 1) {
        // Whitespace left a lone character that holds no whole byte: check
        // it, but do not let the decoder read past the end for its missing bits.
        --end;
        static_cast<void>(*it::binary_from_base64<const char*>(end));
    }
    std::string result{Decoder(begin), Decoder(end)};
    // More '=' than decoded bytes leaves nothing rather than underflowing.
    result.resize(result.size() - std::min(padded, result.size()));
    return result;
}

} // namespace dez::string::base64
