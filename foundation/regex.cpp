#include "foundation/regex.h"

#include "foundation/exception.h"

#include <boost/regex.hpp>

#include <stdexcept>

namespace dez {

namespace {

void append_groups(const boost::cmatch& found, SMatch& match) {
    for (const auto& group : found) {
        SubMatch sub;
        sub.matched = group.matched;
        if (group.matched)
            sub.str = group.str();
        sub.first = group.first;
        sub.second = group.second;
        match.push_back(std::move(sub));
    }
}

// Boost gives up on expressions whose matching would backtrack without end
// (or overrun its stack) by throwing a std::runtime_error; callers expect the
// library's own type.
template <typename Matching> auto guarded(Matching&& matching) -> decltype(matching()) {
    try {
        return matching();
    } catch (const std::runtime_error& error) {
        throw Exception(error.what());
    }
}

// A std::string keeps a terminator after its last byte, so even its end
// position is addressable.
const char* address(std::string::const_iterator position) {
    return &*position;
}

} // namespace

Regex::Regex(const std::string& pattern, bool case_insensitive)
    : regex_(std::make_shared<const boost::regex>(
          pattern,
          case_insensitive ? boost::regex::perl | boost::regex::icase : boost::regex::perl)) {}

bool Regex::search(const char* first, const char* last, SMatch& match) const {
    boost::cmatch found;
    const bool hit = guarded([&] { return boost::regex_search(first, last, found, *regex_); });
    if (!hit)
        return false;
    append_groups(found, match);
    match.first = first;
    match.last = last;
    return true;
}

bool Regex::regex_search(const std::string& text, SMatch& match) const {
    return search(text.data(), text.data() + text.size(), match);
}

bool Regex::regex_search(std::string::const_iterator first, std::string::const_iterator last,
                         SMatch& match) const {
    const char* begin = address(first);
    return search(begin, begin + (last - first), match);
}

bool Regex::regex_match(const std::string& text, SMatch& match) const {
    boost::cmatch found;
    const char* first = text.data();
    const bool hit =
        guarded([&] { return boost::regex_match(first, first + text.size(), found, *regex_); });
    if (!hit)
        return false;
    append_groups(found, match);
    return true;
}

bool Regex::regex_match(const std::string& text) const {
    return regex_match(text.data(), text.data() + text.size());
}

bool Regex::regex_match(const char* first, const char* last) const {
    return guarded([&] { return boost::regex_match(first, last, *regex_); });
}

std::string RegexReplace(const std::string& text, const Regex& regex, const std::string& format) {
    return guarded([&] { return boost::regex_replace(text, *regex.regex_, format); });
}

RegexIterator::RegexIterator(const Regex& regex, const std::string& text)
    : regex_(regex), current_(text.data()), begin_(text.data()), end_(text.data() + text.size()) {}

bool RegexIterator::next() {
    if (done_)
        return false;
    SMatch found;
    if (!regex_.search(current_, end_, found)) {
        done_ = true;
        return false;
    }
    const char* match_end = found[0].second;
    if (match_end != found[0].first)
        current_ = match_end;
    else if (match_end != end_)
        current_ = match_end + 1;
    else
        done_ = true; // an empty match at the very end is the last one
    found.first = begin_;
    found.last = end_;
    match_ = std::move(found);
    return true;
}

} // namespace dez
