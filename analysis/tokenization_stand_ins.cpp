#include "analysis/tokenization_stand_ins.h"

#include <algorithm>

#include <unicode/uchar.h>
#include <utf8.h>

#include "analysis/token_helpers.h"
#include "document/blackboard.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "foundation/pos_table.h"

namespace dez::trelix {

void add_properties(Token* token) {
    const std::string& literal = token->literal;
    if (literal.empty())
        return;
    auto at = literal.begin();
    if (u_isupper(static_cast<UChar32>(utf8::next(at, literal.end())))) {
        bool all = true;
        while (at != literal.end())
            if (!u_isupper(static_cast<UChar32>(utf8::next(at, literal.end())))) {
                all = false;
                break;
            }
        token->properties.insert(all && literal.size() > 1 ? "all-cap" : "init-cap");
        token->properties.insert("nf");
    }
    bool letter = false;
    bool digit = false;
    for (char c : literal) {
        letter |= (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        digit |= c >= '0' && c <= '9';
        if (letter && digit) {
            token->properties.insert("alphanum");
            token->properties.insert("nf");
            break;
        }
    }
}

bool all_caps(Token* token) {
    return token->properties.count("all-cap") > 0;
}

bool init_cap(Token* token) {
    return token->properties.count("init-cap") > 0;
}

void add_markup_info(Token* token) {
    const std::size_t space = token->literal.find(' ');
    token->readings.emplace_back(
        "Markup",
        space == std::string::npos ? token->literal : token->literal.substr(0, space) + ">", 1.0);
}

bool is_header(Blackboard& blackboard, AnnotationCollection& list) {
    if (!blackboard.blackboard_options.detect_headers)
        return false;
    std::vector<Token*> tokens;
    for (Annotation* a = list.head; a; a = a->next)
        if (a->type == annotation_token)
            tokens.push_back(static_cast<Token*>(a));
    if (tokens.empty())
        return false;
    Token* first = tokens.front();
    const uint32_t punct = dez::language::pos_table::get_root_pos_id("Punct");
    if ((has_pos(first, punct) && has_pos(first, std::string("Punct-Line"))) ||
        (first->token_flags & token_flags::header_prefix))
        return true;
    if (!init_cap(first) && !all_caps(first))
        return false;
    const uint32_t num = dez::language::pos_table::get_root_pos_id("Num");
    int capitalised = 0;
    int short_words = 0;
    for (Token* token : tokens) {
        if (init_cap(token) || all_caps(token)) {
            ++capitalised;
        } else if (!has_pos(token, num) && !is_punctuation(token)) {
            if (token->literal.size() > 5)
                return false;
            ++short_words;
        }
    }
    return short_words <= 3 && capitalised > short_words;
}

void fix_measurements(Blackboard&, Sentence&) {}

bool is_punctuation(const Token* token) {
    return has_pos(token, std::string("Punct"));
}

bool is_open_quote(const Annotation* annotation) {
    if (!annotation || annotation->type != annotation_token)
        return false;
    const auto* token = static_cast<const Token*>(annotation);
    return std::any_of(token->readings.begin(), token->readings.end(), [](const MorphData& r) {
        return r.pos == "Punct-Quote" || r.pos == "Punct-Open";
    });
}

std::vector<int32_t> get_utf8_mapping_tbl(Blackboard& blackboard, const std::string& joined,
                                          Token* prev, Token* cur, Token* next) {
    const uint32_t begin = (prev ? prev : cur)->begin;
    const uint32_t end = (next ? next : cur)->end;
    const char* span = blackboard.text + begin;
    const char* span_end = blackboard.text + end;
    std::vector<int32_t> table(std::max<std::size_t>(joined.size(), end - begin) + 1, 0);
    auto is_mark = [](uint32_t c) { return c >= 0x300 && c <= 0x36F; };
    const char* s = span;
    auto j = joined.begin();
    // One code point of each; marks in the span go with the code point after them.
    auto step_span = [&] {
        uint32_t c = utf8::next(s, span_end);
        while (is_mark(c) && s != span_end)
            c = utf8::next(s, span_end);
    };
    while (s != span_end) {
        if (j == joined.end()) {
            step_span();
            table[joined.size()] = static_cast<int32_t>(s - span);
            break;
        }
        utf8::next(j, joined.end());
        step_span();
        table[j - joined.begin()] = static_cast<int32_t>(s - span);
    }
    return table;
}

void make_single_token(AnnotationCollection& list, const std::string& literal, Token* prev,
                       Token* cur, Token* next) {
    cur->literal = literal;
    cur->readings.clear();
    cur->token_flags |= token_flags::apostrophe_join;
    if (prev) {
        cur->properties.insert(prev->properties.begin(), prev->properties.end());
        cur->begin = prev->begin;
        list.unlink(prev);
        delete prev;
    }
    if (next) {
        cur->end = next->end;
        list.unlink(next);
        delete next;
    }
}

void make_split_token(AnnotationCollection& list, const std::string& text, int split,
                      int byte_split, Token* prev, Token* cur, Token* next) {
    Token* first = prev ? prev : cur;
    Token* second = prev ? cur : next;
    if (!second)
        return;
    first->properties.clear();
    first->readings.clear();
    first->literal = text.substr(0, split);
    add_properties(first);
    first->end = first->begin + byte_split;
    first->token_flags |= token_flags::apostrophe_join;
    second->properties.clear();
    second->readings.clear();
    second->literal = text.substr(split);
    second->token_flags |= token_flags::apostrophe_join;
    second->begin = first->begin + byte_split;
    if (prev && next) {
        second->end = next->end;
        list.unlink(next);
        delete next;
    }
    add_properties(second);
}


} // namespace dez::trelix
