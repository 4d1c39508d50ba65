#include "core-afst/guesser_factory.h"

#include <utf8.h>

#include <stdexcept>

namespace dez::afst {

GuesserFactory::GuesserFactory(const char* begin, const char* end) {
    text_.reserve(static_cast<std::size_t>(end - begin));
    uint32_t last = 0;
    int run = 0;
    for (const char* at = begin; at != end;) {
        const char* start = at;
        const uint32_t code_point = utf8::next(at, end);
        run = (run > 0 && code_point == last) ? run + 1 : 1;
        last = code_point;
        if (run <= 2)
            text_.append(start, at);
    }
}

void GuesserFactory::replace(std::size_t from, std::size_t to, std::string_view replacement) {
    if (from > to || to > text_.size())
        throw std::out_of_range("GuesserFactory::replace: range outside the text");
    replacements_.try_emplace(from, ReplaceInfo{text_.substr(from), text_.size()});
    text_.replace(from, to - from, replacement.data(), replacement.size());
}

void GuesserFactory::undo(std::size_t position) {
    const auto found = replacements_.find(position);
    if (found == replacements_.end())
        return;
    text_.resize(position);
    text_ += found->second.tail;
    replacements_.erase(found);
}

} // namespace dez::afst
