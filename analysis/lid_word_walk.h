#pragma once

#include <cstddef>
#include <string>

namespace dez::lid {

// True exactly for '!', '.' and '?'.
bool sentence_end(char32_t c);

// The words of a text as language identification looks them up. A word
// starts at a letter and ends before white space, a control character or
// punctuation; digits and symbols go on inside it; '!', '.' or '?' followed
// by anything but white space stays inside it (inner periods of
// abbreviations, versions). At the end of the text the word ends with the
// text, whatever its last character.
//
// Words are filtered on the way: a word starting with an ASCII capital in
// mid-sentence (a name) is skipped; a word with an ASCII capital after its
// first byte (acronyms, mixed case) is dropped; a capital first letter at
// the start of a sentence is lowered. A sentence starts the text and follows
// a word closed by '!', '.' or '?'.
//
// The text must be valid UTF-8 (checked by the caller); it is not copied.
class WordWalk {
public:
    WordWalk(const char* text, std::size_t length);

    // The next word to look up, false at the end of the text. `closing` is the
    // character that ended the word and `at_end` whether the word reached the
    // end of the text.
    bool next(std::string& word, char32_t& closing, bool& at_end);

private:
    // Applies the capital filters; false when the word is not looked up.
    bool accept(const char* begin, const char* end, char32_t closing, bool at_end,
                std::string& word);

    const char* position_;
    const char* end_;
    bool sentence_start_ = true;
};

} // namespace dez::lid
