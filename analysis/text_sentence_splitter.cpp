#include "analysis/text_sentence_splitter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <unicode/uchar.h>

#include "analysis/analyzer.h"
#include "analysis/tokenize.h"
#include "document/blackboard.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/code_point_classes.h"
#include "foundation/environment.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "foundation/regex_factory.h"
#include "foundation/string_utils.h"
#include "foundation/unicode_code_points.h"

namespace dez::trelix {

namespace {

using dez::string::unicode::get_char;
using dez::string::unicode::next;

// The building blocks of the header-prefix expression. "(:?" opens a capturing group
// whose first character is an optional ':' where a non-capturing group was
// probably meant; it is kept because tokenizer spans and results have always
// been made with it (":1)" is a header prefix too).
const std::string header_prefix_pattern_nr = "(:?[0-9]{1,2}[a-z]?[.)]){1,4}";
const std::string header_prefix_pattern_letters = "(:?[a-z][1-9]?[.)]){1,4}";

// Byte-wise white space of the C locale: the hyphen join and the sentence end
// look at single bytes.
bool space_byte(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The code point at p, or 0 at the end.
uint32_t code_point_at(const char* p, const char* end) {
    return p < end ? get_char(p, end) : 0;
}

// The code point ending at p, never looking before floor; 0 when there is none.
uint32_t code_point_before(const char* p, const char* floor) {
    return p > floor ? dez::string::unicode::prev_char(p, floor) : 0;
}

// p moved forward over the code points for which test holds.
template <typename Test> const char* skip(const char* p, const char* end, Test test) {
    while (p < end) {
        const char* q = p;
        if (!test(next(q, end)))
            break;
        p = q;
    }
    return p;
}

// The first non-whitespace position at or after p; newline tells whether a
// '\n' was passed.
const char* next_non_whitespace(const char* p, const char* end, bool& newline) {
    newline = false;
    while (p < end) {
        const char* q = p;
        uint32_t c = next(q, end);
        if (!dez::string::is_whitespace(c))
            break;
        if (c == '\n')
            newline = true;
        p = q;
    }
    return p;
}

bool is_line_break(uint32_t c) {
    return c == '\n' || c == '\r';
}

bool ascii_lower(char c) {
    return c >= 'a' && c <= 'z';
}

// The wrapped-line limit: the first comma-separated part of the option as a
// decimal number, 3 when there is none.
int32_t line_limit_of(const std::string& option) {
    if (option.empty())
        return 3;
    std::vector<std::string> parts = dez::string::split_vector(option, ',', false);
    if (parts.empty())
        return 3;
    try {
        return std::stoi(parts.front());
    } catch (const std::invalid_argument&) {
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_error,
                   "Cannot convert option to int:" << parts.front());
        return 3;
    }
}

// One scan of one text. Positions point into the document's own copy of the
// text, which the hyphen join rewrites.
class Scan {
public:
    Scan(Blackboard& document, char* text, std::size_t length, int32_t line_limit,
         bool resolve_hyphen)
        : document(document), buffer(text), begin(text), end(text + length), line_limit(line_limit),
          resolve_hyphen(resolve_hyphen) {
        bool newline = false;
        sentence_start = next_non_whitespace(begin, end, newline);
        cursor = previous = token_start = line_start = begin;
    }

    void run() {
        while (cursor < end) {
            previous = cursor;
            uint32_t ch = next(cursor, end);
            if (dez::string::is_whitespace(ch)) {
                on_whitespace(ch);
                continue;
            }
            switch (ch) {
            case '.':
                on_period();
                break;
            case '?':
            case '!':
            case 0xA1:
            case 0xBF:
                on_exclamation();
                break;
            case ')':
                on_parenthesis();
                break;
            case '#':
                on_hash();
                break;
            case ':':
                on_colon();
                break;
            case '`':
                if (!on_fence())
                    on_other(ch);
                break;
            default:
                on_other(ch);
                break;
            }
        }
        if (sentence_start < end) {
            cut = end;
            commit_sentence();
        }
    }

private:
    void commit_sentence() {
        create_sentence_obj(document, sentence_start, cut, begin, end);
        // The cached word walk may reach before the new sentence start.
        walk_valid = false;
    }

    // Commits a pending cut unless the scan already reached the end, where the
    // last sentence is committed anyway.
    void commit() {
        if (!cut || cursor >= end)
            return;
        commit_sentence();
        token_start = cursor;
        cut = nullptr;
        line_count = 0;
    }

    void record(const char* from, const char* to, uint64_t kind) {
        document.abbreviation_ranges.push_back(
            {static_cast<uint32_t>(from - begin), static_cast<uint32_t>(to - begin), kind});
    }

    // The first ICU space at or after from, or the end. Remembered, because
    // the over-long rules and a '#' ask again and again inside one long word.
    const char* next_space(const char* from) {
        if (space_valid && from >= space_from && from <= space_at)
            return space_at;
        space_at = skip(from, end, dez::string::no_withespace);
        space_from = from;
        space_valid = true;
        return space_at;
    }

    void on_whitespace(uint32_t ch) {
        token_start = cursor;
        if (is_line_break(ch)) {
            on_line_break();
            return;
        }
        if (cursor - sentence_start <= 1024)
            return;
        // An over-long sentence ends at its last line break when that leaves
        // at most 1023 bytes, else after the word that follows.
        const char* found = nullptr;
        for (const char* p = previous; p > sentence_start; --p) {
            if (*p == '\n' || *p == '\r') {
                found = p;
                break;
            }
        }
        if (found && cursor - (found + 1) <= 1023) {
            cut = found + 1;
        } else {
            const char* word_end = next_space(cursor);
            if (word_end < end)
                cursor = word_end;
            cut = cursor;
        }
        commit();
    }

    void on_line_break() {
        if (resolve_hyphen && join_hyphenated_word())
            return;

        int further_breaks = 0;
        const char* p = cursor;
        while (p < end) {
            const char* q = p;
            uint32_t c = next(q, end);
            if (c == '\n')
                ++further_breaks;
            else if (c != '\r')
                break;
            p = q;
        }
        const std::ptrdiff_t line_length = p - line_start;
        token_start = line_start = cursor = p;

        if (in_code_block || further_breaks > 0 || line_count >= line_limit) {
            cut = previous;
            commit();
            return;
        }
        cursor = skip(cursor, end, dez::string::withespace);
        // A bullet, but not a rule such as "--" or "**".
        if (cursor + 1 < end && is_bullet_point(static_cast<unsigned char>(*cursor)) &&
            cursor[1] != cursor[0]) {
            cut = previous;
            commit();
            return;
        }
        if (line_length > 1)
            ++line_count;
        commit();
    }

    // "exam-\nple" becomes "example" followed by spaces, in the document's own
    // copy; lengths and offsets stay. Only inside the sentence being built:
    // the text of committed (tokenized) sentences never changes.
    bool join_hyphenated_word() {
        const char* p = previous;
        while (p > sentence_start && space_byte(p[-1]))
            --p;
        if (p <= sentence_start)
            return false;
        const char* h = p - 1;
        if (h == begin || *h != '-' || h[-1] == '-')
            return false;
        try {
            const char* q = h + 1;
            for (int spaces = 0; spaces < 6 && q < end && (*q == ' ' || *q == '\t'); ++spaces)
                ++q;
            if (q >= end)
                return false;
            next(q, end); // the line break
            int newlines = 0;
            while (q < end) {
                const char* r = q;
                uint32_t c = next(r, end);
                if (c == '\n') {
                    if (++newlines == 3)
                        break;
                } else if (c != '\r') {
                    break;
                }
                q = r;
            }
            if (q >= end || !ascii_lower(*q))
                return false;
            const char* word = q;
            const char* word_end = skip(word, end, [](uint32_t c) { return u_isalpha(c) != 0; });
            if (word_end < end)
                next(word_end, end);
            const std::size_t n = static_cast<std::size_t>(word_end - word);
            char* target = buffer + (h - begin);
            std::memmove(target, word, n);
            std::memset(target + n, ' ', static_cast<std::size_t>(word_end - (h + n)));
        } catch (const std::exception&) {
            return false; // a failed look-ahead leaves the line break to the rules below
        }
        cursor = h;
        walk_valid = false;
        space_valid = false;
        return true;
    }

    // Walks back from the period over abbrev_allowed_abbrev code points, never
    // before the sentence start. Remembered, so that a long run of such words
    // is walked once.
    const char* word_before_period() {
        const char* t = previous;
        while (t > sentence_start) {
            if (walk_valid && t >= walk_result && t <= walk_period) {
                t = walk_result;
                break;
            }
            const char* q = dez::string::unicode::decrement(t, sentence_start);
            if (q == t || !abbrev_allowed_abbrev(get_char(q, end)))
                break;
            t = q;
        }
        walk_result = t;
        walk_period = previous;
        walk_valid = true;
        return t;
    }

    void on_period() {
        token_start = word_before_period();
        line_start = skip(line_start, end, abbrev_begin);
        const char* token_end = skip(cursor, end, abbrev_end);
        bool newline = false;

        if (token_end - token_start <= 1) {
            const char* n = next_non_whitespace(cursor, end, newline);
            if (in_abbrev_sentence_begin_condition(cursor, token_start, token_end, n, end,
                                                   newline) != end) {
                cut = cursor;
                commit();
            } else {
                token_start = cursor;
            }
            return;
        }

        const bool abbreviation =
            document.abbreviations && document.abbreviations->regex_match(token_start, token_end);
        if (token_start == line_start &&
            header_prefix_pattern.regex_match(token_start, token_end)) {
            record(token_start, token_end, abbreviation ? 3 : 2);
            cut = token_start;
            cursor = token_start = token_end;
            commit();
            return;
        }
        if (abbreviation) {
            record(token_start, token_end, 1);
            cursor = token_start = token_end;
            return;
        }
        const char* n = next_non_whitespace(token_end, end, newline);
        const char* r =
            in_abbrev_sentence_begin_condition(cursor, token_start, token_end, n, end, newline);
        if (r != end)
            cut = r;
        cursor = token_start = token_end;
        commit();
    }

    void on_exclamation() {
        const char* last = previous;
        while (cursor < end) {
            const char* q = cursor;
            if (!end_of_sentence(next(q, end)))
                break;
            last = cursor;
            cursor = q;
        }
        previous = last;
        bool newline = false;
        const char* n = next_non_whitespace(cursor, end, newline);
        if (sentence_begin_condition(previous, cursor, n, end, newline) != end) {
            cut = cursor;
            commit();
        } else {
            token_start = cursor;
        }
    }

    void on_parenthesis() {
        if (cursor < end) {
            const char* q = cursor;
            if (is_line_break(next(q, end)) && q < end && u_isupper(get_char(q, end))) {
                cut = cursor; // committed by the line break
                return;
            }
        }
        if (token_start < end && (*token_start == '\n' || *token_start == '\r'))
            token_start = skip(token_start, end, abbrev_begin);
        if (token_start != sentence_start || token_start >= cursor ||
            !header_prefix_pattern.regex_match(token_start, cursor))
            return;
        auto [found, header_end_at] = find_end_of_header(token_start, end);
        if (!found)
            return;
        record(token_start, cursor, 2);
        cursor = token_start = cut = header_end_at;
        commit();
    }

    void on_hash() {
        if (previous != sentence_start)
            return;
        const char* word_end = next_space(previous);
        int indentation = 0;
        for (const char* p = previous;
             p > begin && indentation <= 3 && (p[-1] == ' ' || p[-1] == '\t'); --p)
            ++indentation;
        if (indentation > 3 || !header_prefix_pattern.regex_match(previous, word_end))
            return;
        cursor = word_end;
        auto [found, header_end_at] = find_end_of_header(word_end, end);
        if (!found)
            return;
        record(token_start, word_end, 2);
        cursor = cut = header_end_at;
        commit();
    }

    // A field line ("Subject: x") followed by another field or a capitalised
    // line: the next single line break ends the sentence.
    void on_colon() {
        if (cursor - sentence_start > max_field_size || cursor >= end)
            return;
        const uint32_t after = get_char(cursor, end);
        if (after != ' ' && after != '\n' && after != '\r')
            return;
        const char* value = cursor;
        while (value < end && (*value == ' ' || *value == '\t'))
            ++value;
        if (value >= end || *value == '\n')
            return;
        // Only a line break that leaves the value short enough matters, so the
        // search stops there.
        const std::ptrdiff_t window = (value - cursor) + max_value_size - 1;
        if (window <= 0)
            return;
        const std::size_t searched =
            static_cast<std::size_t>(std::min<std::ptrdiff_t>(window, end - cursor));
        const char* line_break = static_cast<const char*>(std::memchr(cursor, '\n', searched));
        if (!line_break)
            return;
        const char* next_line = line_break + 1;
        if (next_line >= end || next_line - value >= max_value_size)
            return;
        const char* first = next_line;
        while (first < end && (*first == ' ' || *first == '\t'))
            ++first;
        if (first >= end)
            return;
        bool has_colon = false;
        for (const char* p = next_line; p < end; ++p) {
            if (*p == ':') {
                has_colon = true;
                break;
            }
            if (*p == '\n')
                break;
        }
        if (has_colon || u_isupper(get_char(first, end)))
            line_count = line_limit;
    }

    // Three backticks with text after them open or close a code fence.
    bool on_fence() {
        if (end - cursor < 3 || cursor[0] != '`' || cursor[1] != '`')
            return false;
        in_code_block = !in_code_block;
        cursor += 2;
        commit();
        return true;
    }

    void on_other(uint32_t ch) {
        if (u_ispunct(ch) || ch == ';') {
            if (ch != 0x2026) {
                token_start = cursor;
                return;
            }
            bool newline = false;
            const char* n = next_non_whitespace(cursor, end, newline);
            if (sentence_begin_condition(previous, cursor, n, end, newline) != end) {
                cut = cursor;
                commit();
            }
            return;
        }
        if (cursor - sentence_start <= 2048)
            return;
        // Over-long: cut at the next space, or right here when none follows.
        const char* space = next_space(cursor);
        if (space < end)
            cursor = space;
        cut = cursor;
        commit();
    }

    Blackboard& document;
    char* buffer;
    const char* begin;
    const char* end;

    const char* sentence_start = nullptr;
    const char* cursor = nullptr;
    const char* previous = nullptr;
    const char* token_start = nullptr;
    const char* line_start = nullptr;
    const char* cut = nullptr;
    int32_t line_count = 0;
    int32_t line_limit;
    bool in_code_block = false;
    bool resolve_hyphen;

    // The last word walk: from the period at walk_period back to walk_result.
    bool walk_valid = false;
    const char* walk_result = nullptr;
    const char* walk_period = nullptr;
    // The last space search: from space_from, the first space is at space_at.
    bool space_valid = false;
    const char* space_from = nullptr;
    const char* space_at = nullptr;
};

} // namespace

const int64_t max_field_size = dez::system::get_environment_int("TRELIX_MAX_FIELD_SIZE", 60);
const int64_t max_value_size = dez::system::get_environment_int("TRELIX_MAX_VALUE_SIZE", 80);

std::string get_header_prefix() {
    return "(:?" + header_prefix_pattern_nr + "|" + header_prefix_pattern_letters + "|" +
           "[XIVxiv]{1,5}[.)]" + "|" + "#{1,6}" + ")";
}

const dez::Regex header_prefix_pattern = dez::tlx_regex(get_header_prefix());

bool end_of_sentence(uint32_t ch) {
    return ch == '!' || ch == '.' || ch == '?' || ch == 0x2026;
}

bool end_of_sentence_QE(uint32_t ch) {
    return ch == '!' || ch == '?';
}

bool end_of_sentence_crfl(uint32_t ch, bool newline) {
    return ch == '.' && newline;
}

bool is_ellipsis(uint32_t ch) {
    return ch == 0x2026;
}

bool abbrev_allowed_abbrev(uint32_t ch) {
    const auto c = static_cast<UChar32>(ch);
    return u_islower(c) || u_isupper(c) || u_isdigit(c) || ch == '-' || ch == '.' || ch == '/' ||
           ch == ':' || ch == '@';
}

bool abbrev_begin(uint32_t ch) {
    return ch == '\n' || ch == '\r' || ch == '\t' || ch == ' ';
}

bool abbrev_end(uint32_t ch) {
    return ch == '.' || ch == '@' || ch == '/' || u_isalnum(static_cast<UChar32>(ch));
}

bool has_internet_sym(uint32_t ch) {
    return ch == '@' || ch == '/';
}

bool has_dots(uint32_t ch) {
    return ch == '.';
}

bool is_bullet_point(uint32_t ch) {
    return ch == '-' || ch == '*' || ch == '+';
}

bool token_delimiter(uint32_t ch) {
    const auto c = static_cast<UChar32>(ch);
    return u_isWhitespace(c) || u_ispunct(c) || ch == '!' || ch == 0xA1 || ch == 0xBF;
}

bool header_end(uint32_t ch) {
    const auto c = static_cast<UChar32>(ch);
    if (ch == ')')
        return true;
    if (u_isWhitespace(c))
        return false;
    return !u_ispunct(c);
}

bool has_crlf_until_next_sentence_condition(const char* p, const char* end) {
    while (p < end) {
        uint32_t c = next(p, end);
        if (!dez::string::is_whitespace(c))
            return false;
        if (c == '\n')
            return true;
    }
    return false;
}

const char* sentence_begin_condition(const char* previous, const char* cursor, const char* next,
                                     const char* end, bool newline) {
    if (cursor >= end)
        return end;
    const uint32_t b = code_point_at(previous, end);
    const uint32_t ch = code_point_at(next, end);
    if (b == '!' || b == '?')
        return dez::string::sentence_begin(ch) || ch == '!' || ch == '?' ? next : end;
    if (b == '.' && newline)
        return next;
    if (dez::string::is_quote(ch))
        return end;
    if (b == '.' && cursor == next && u_isupper(static_cast<UChar32>(ch)))
        return end;
    if (!dez::string::is_whitespace(code_point_before(next, previous)))
        return end;
    return dez::string::sentence_begin(ch) ? next : end;
}

const char* in_abbrev_sentence_begin_condition(const char* cursor, const char* token,
                                               const char* token_end, const char* next,
                                               const char* end, bool newline) {
    const uint32_t ch = code_point_before(token_end, token);
    const uint32_t d = code_point_at(next, end);
    const uint32_t g = code_point_at(cursor, end);
    const uint32_t h = code_point_before(next, token);
    if (d == ':')
        return end;
    if (ch == '!' || ch == '?')
        return u_isupper(static_cast<UChar32>(d)) ? token_end : end;
    if (ch == '.' && newline)
        return token_end;
    if (ch == 0xB0 || u_isdigit(static_cast<UChar32>(ch)))
        return end;
    if (dez::string::is_quote(d))
        return end;
    if (ch == '.' || ch == 0x2026)
        return dez::string::is_whitespace(h) && dez::string::sentence_begin(d) ? token_end : end;
    if (!u_isupper(static_cast<UChar32>(g)))
        return dez::string::inverted_sentence_begin(d) ? token_end : end;
    for (const char* p = token; p < token_end; ++p)
        if (*p == '@' || *p == '/')
            return end;
    if (cursor < token_end &&
        std::memchr(cursor, '.', static_cast<std::size_t>(token_end - cursor)) != nullptr)
        return end;
    return cursor;
}

std::pair<bool, const char*> find_end_of_header(const char* from, const char* end) {
    const char* p = from;
    int read = 0;
    while (p < end) {
        const char* at = p;
        const uint32_t c = next(p, end);
        if (c == '\n' || c == '\r')
            return {true, at};
        if (c == '.' && read >= 6 && p < end && (*p == '\n' || *p == '\r' || *p == ' '))
            return {true, p};
        if (++read >= 101)
            return {false, end};
    }
    return {true, end};
}

void create_sentence_obj(Blackboard& document, const char*& start, const char*& cut,
                         const char* text_begin, const char* text_end) {
    // A cut behind the start has nothing left to commit; the start never moves
    // back over text already committed.
    if (cut < start)
        cut = start;
    const char* stop = cut;
    if (cut < text_end && space_byte(*cut)) {
        while (stop > text_begin && space_byte(stop[-1]))
            --stop;
    }
    if (start < stop) {
        const auto from = static_cast<uint32_t>(start - text_begin);
        const auto to = static_cast<uint32_t>(stop - text_begin);
        add_tokenized_sentence(document, text_begin, from, to);
    }
    start = cut = skip(cut, text_end, dez::string::is_whitespace);
}

void Analyzer::text_to_annotations_v2(Blackboard& document, const char* text, size_t length) {
    if (length > std::numeric_limits<uint32_t>::max())
        throw dez::Exception("Could not process document: the text is longer than 4294967295 "
                             "bytes");
    // The hyphen join rewrites the text: it works on the document's own copy,
    // never on the caller's buffer.
    if (document.text != text || document.text_length != length ||
        document.text != document.text_copy.c_str())
        document.set_text(text, length);
    try {
        const int32_t line_limit = line_limit_of(get_sentyziser_option(document));
        const bool resolve_hyphen = !options || options->get_bool("resolve_hyphen", true);
        Scan(document, document.text_copy.data(), document.text_copy.size(), line_limit,
             resolve_hyphen)
            .run();
    } catch (const std::exception& e) {
        throw dez::Exception(std::string("Could not process document: ") + e.what());
    }
}

} // namespace dez::trelix
