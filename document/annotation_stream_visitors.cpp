#include "document/annotation_stream_visitors.h"

#include <cstring>
#include <iostream>
#include <iterator>

#include <utf8.h>

namespace dez::trelix::stream_detail {

namespace {

// Converts into `out` (room for dez::string::detail::max_converted), answers
// the count.
template <typename Traits> std::size_t convert(uint32_t c, uint32_t* out);

template <> std::size_t convert<DefaultCharTraits>(uint32_t c, uint32_t* out) {
    out[0] = c;
    return 1;
}

template <> std::size_t convert<dez::string::ToLowerCharTraits>(uint32_t c, uint32_t* out) {
    return dez::string::detail::to_lower_code_point(c, out);
}

template <>
std::size_t convert<dez::string::NormalizeToLowerCharTraits>(uint32_t c, uint32_t* out) {
    return dez::string::detail::normalize_to_lower_code_point(c, out);
}

} // namespace

template <typename Traits>
void append_converted(std::vector<char>& buffer, const std::string& text) {
    const char* at = text.data();
    const char* const end = at + text.size();
    uint32_t converted[dez::string::detail::max_converted];
    try {
        while (at < end) {
            const char* start = at;
            const auto lead = static_cast<unsigned char>(*at);
            const uint32_t c = lead < 0x80 ? (++at, lead) : utf8::next(at, end);
            if constexpr (std::is_same_v<Traits, DefaultCharTraits>) {
                // A valid sequence is its own encoding.
                buffer.insert(buffer.end(), start, at);
                continue;
            }
            const std::size_t count = convert<Traits>(c, converted);
            for (std::size_t i = 0; i < count; ++i) {
                if (c < 0x7F)
                    buffer.push_back(static_cast<char>(converted[i] & 0xFF));
                else
                    utf8::append(converted[i], std::back_inserter(buffer));
            }
        }
    } catch (const utf8::invalid_code_point&) {
        std::cout << "Warning utf8::invalid_code_point" << std::endl;
    }
}

template <typename Traits>
void word_step(annotation_stream_info& info, const std::string& text, uint32_t begin, uint32_t end,
               const char* separator) {
    add_begin(info, begin);
    append_converted<Traits>(info.buffer, text);
    add_end(info, end);
    info.buffer.insert(info.buffer.end(), separator, separator + std::strlen(separator));
}

template void append_converted<DefaultCharTraits>(std::vector<char>&, const std::string&);
template void append_converted<dez::string::ToLowerCharTraits>(std::vector<char>&,
                                                               const std::string&);
template void append_converted<dez::string::NormalizeToLowerCharTraits>(std::vector<char>&,
                                                                        const std::string&);
template void word_step<DefaultCharTraits>(annotation_stream_info&, const std::string&, uint32_t,
                                           uint32_t, const char*);
template void word_step<dez::string::ToLowerCharTraits>(annotation_stream_info&, const std::string&,
                                                        uint32_t, uint32_t, const char*);
template void word_step<dez::string::NormalizeToLowerCharTraits>(annotation_stream_info&,
                                                                 const std::string&, uint32_t,
                                                                 uint32_t, const char*);

} // namespace dez::trelix::stream_detail
