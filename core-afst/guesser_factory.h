#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace dez::afst {

// What the first change at one position of a guess's text replaced, so that
// the change can be undone.
struct ReplaceInfo {
    std::string tail;    // the text from the position to its end, before the change
    std::size_t old_end; // the text length before the change
};

// The working text of one guess: the word with every run of one code point
// cut to two ("goood" becomes "good"). Fixes change it in place and undo the
// change before they return. Positions are byte offsets into the text.
class GuesserFactory {
public:
    // Throws the UTF-8 library's exceptions for malformed text.
    GuesserFactory(const char* begin, const char* end);

    const std::string& text() const { return text_; }
    std::size_t length() const { return text_.size(); }

    // Replaces the bytes [from, to) by `replacement`; the first change at
    // `from` records what it replaced. std::out_of_range for a bad range.
    void replace(std::size_t from, std::size_t to, std::string_view replacement);
    // Puts back what the first change at `position` replaced; nothing when
    // there is no change recorded there.
    void undo(std::size_t position);

    const std::map<std::size_t, ReplaceInfo>& replacements() const { return replacements_; }

private:
    std::string text_;
    std::map<std::size_t, ReplaceInfo> replacements_;
};

} // namespace dez::afst
