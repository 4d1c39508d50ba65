#pragma once

#include <boost/regex_fwd.hpp>

#include <memory>
#include <string>
#include <vector>

namespace dez {

// One captured group of a match.
struct SubMatch {
    std::string str;      // copy of the group's text, empty when it did not take part
    bool matched = false; // whether the group took part in the match
    const char* first = nullptr;
    const char* second = nullptr;
};

// The groups of one match: entry 0 is the whole match, entry i the i-th group;
// every group of the expression has an entry. first/last are the searched text.
struct SMatch : std::vector<SubMatch> {
    const char* first = nullptr;
    const char* last = nullptr;
};

// A compiled Perl-syntax expression over bytes. Copies share the compiled form,
// which is immutable, so one Regex may match from several threads at once.
//
// The match operations append to the SMatch they are given and leave it alone
// when nothing matches; pass an empty one. When matching exceeds Boost's
// complexity or stack limits, the operation fails with dez::Exception.
class Regex {
public:
    // Fails with Boost.Regex's error for an invalid pattern.
    Regex(const std::string& pattern, bool case_insensitive);

    bool regex_search(const std::string& text, SMatch& match) const;
    bool regex_search(std::string::const_iterator first, std::string::const_iterator last,
                      SMatch& match) const;

    // Whole-text matches. The form with an SMatch leaves its first/last alone.
    bool regex_match(const std::string& text, SMatch& match) const;
    bool regex_match(const std::string& text) const;
    bool regex_match(const char* first, const char* last) const;

private:
    friend std::string RegexReplace(const std::string& text, const Regex& regex,
                                    const std::string& format);
    friend class RegexIterator;

    bool search(const char* first, const char* last, SMatch& match) const;

    std::shared_ptr<const boost::regex> regex_;
};

// text with every match replaced by format (Boost's default, Perl-style format rules).
std::string RegexReplace(const std::string& text, const Regex& regex, const std::string& format);

// The successive matches of one expression in one text, which must outlive the
// iterator. Each step searches the rest of the text afresh; after an empty match
// the next step starts one byte further on, so iteration always ends.
//
//   dez::RegexIterator it(regex, text);
//   while (it.next()) use(it.match());
class RegexIterator {
public:
    RegexIterator(const Regex& regex, const std::string& text);

    // Moves to the next match; false when there is none left.
    bool next();

    // The last match found, its first/last being the whole text.
    const SMatch& match() const { return match_; }

private:
    Regex regex_;
    const char* current_;
    const char* begin_;
    const char* end_;
    SMatch match_;
    bool done_ = false;
};

} // namespace dez
