#include "analysis/sentence_repair.h"

#include <algorithm>
#include <limits>
#include <string>

#include "analysis/closing_quote_map.h"
#include "analysis/dictionary_lookup.h"
#include "analysis/sentence_boundaries.h"
#include "analysis/sentence_token_tests.h"
#include "analysis/text_sentence_splitter.h"
#include "analysis/token_helpers.h"
#include "document/blackboard.h"
#include "document/sentence.h"
#include "document/token.h"
#include "foundation/case_mapping.h"
#include "foundation/environment.h"
#include "foundation/pos_table.h"

namespace dez::trelix {

namespace {

const int max_nrof_tokens = get_trelix_max_nrof_tokens();

constexpr std::size_t no_entry = std::numeric_limits<std::size_t>::max();

using namespace repair;

bool is_token(const Annotation* a) {
    return a && a->type == annotation_token;
}

bool starts_with_ascii_upper(const std::string& text) {
    return !text.empty() && text[0] >= 'A' && text[0] <= 'Z';
}

// A '\n' in the white space between two offsets of the document text. The
// splitter and the tokenizer give annotations byte offsets.
bool line_break_between(const Blackboard& document, uint32_t from, uint32_t to) {
    if (!document.text)
        return false;
    const uint32_t first = from;
    const uint32_t last = std::min<uint64_t>(to, document.text_length);
    if (first >= last)
        return false;
    return has_crlf_until_next_sentence_condition(document.text + first, document.text + last);
}

uint32_t prop_class() {
    static const uint32_t id = dez::language::pos_table::get_root_pos_id("Prop");
    return id;
}

// End punctuation that ends nothing.
void demote(Token& token) {
    token.readings.clear();
    token.readings.emplace_back("Punct", token.literal, 1.0);
}

// Some token that is not end punctuation follows `b` in its list.
bool token_follows(const Annotation* b) {
    for (const Annotation* a = b->next; a; a = a->next)
        if (is_token(a) && !is_punct_sentence(static_cast<const Token*>(a)))
            return true;
    return false;
}

std::size_t table_index(const Blackboard& document, const Sentence* sentence, std::size_t hint) {
    const auto& table = document.sentences;
    if (hint < table.size() && table[hint].second.sentence == sentence)
        return hint;
    for (std::size_t k = 0; k < table.size(); ++k)
        if (table[k].second.sentence == sentence)
            return k;
    return no_entry;
}

// One document's repair: the sentence being walked, its table entry and
// whether the walk has split it.
class Repair {
public:
    Repair(Blackboard& document, int max_tokens)
        : document_(document), collection_(*document.annotations), max_tokens_(max_tokens) {}

    void run() {
        Annotation* a = collection_.head;
        while (a) {
            if (a->type != annotation_sentence) {
                a = a->next;
                continue;
            }
            current_ = static_cast<Sentence*>(a);
            table_ = table_index(document_, current_, table_);
            Token* last = walk();
            if (split_made_) {
                // Go on with the newest sentence; what lies before is done.
                // It is the tail of the walked one: what the finder knows holds.
                split_made_ = false;
                a = current_;
                continue;
            }
            quotes_.forget();
            if (merge_condition(document_, RawPtrIterator(current_), last)) {
                merge();
                a = current_;
                continue;
            }
            a = current_->next;
            if (table_ != no_entry)
                ++table_;
        }
    }

private:
    // Walks the pairs of neighbouring annotations of the current sentence;
    // answers the last token examined.
    Token* walk() {
        Token* last = nullptr;
        if (count(current_->annotations) < 3)
            return last;
        Annotation* a = current_->annotations.head;
        Annotation* b = a->next;
        long pair = 1;
        long quotes = 0;
        while (b && b != current_->annotations.tail) {
            if (is_token(b))
                last = static_cast<Token*>(b);
            if (!is_token(a) || !is_token(b)) {
                a = b;
                b = b->next;
                ++pair;
                continue;
            }
            auto* ta = static_cast<Token*>(a);
            auto* tb = static_cast<Token*>(b);

            if (pair > max_tokens_) {
                split_before(tb);
                return last;
            }

            // An unclosed quote is counted and goes straight to the end
            // punctuation rules.
            bool skip_adjacent_pair = false;
            if (is_quote(ta)) {
                Token* closing = quotes_.find(ta);
                if (!closing) {
                    ++quotes;
                    skip_adjacent_pair = true;
                } else {
                    const Token* before = find_previous_token(RawPtrIterator(closing), 1);
                    Token* after = find_next_token(RawPtrIterator(closing), 1);
                    if (!after)
                        return last;
                    last = after;
                    if ((is_punct_sentence(before) && (init_cap(after) || is_quote(after))) ||
                        is_opening_quote(after)) {
                        split_before(after);
                        return last;
                    }
                    // The quoted passage is not examined.
                    quotes += 2;
                    for (Annotation* x = b; x && x != after; x = x->next)
                        ++pair;
                    a = after;
                    b = after->next;
                    ++pair;
                    continue;
                }
            }

            if (!skip_adjacent_pair && is_punct_sentence(ta) &&
                (tb->begin == ta->end || tb->begin == ta->end + 1) && !init_cap(tb)) {
                if (is_quote(tb)) {
                    if (token_follows(tb)) {
                        split_before(tb);
                        return last;
                    }
                    advance(a, b, pair);
                    continue;
                }
                if (is_punct_line(tb)) {
                    if (tb->begin < document_.text_length && tb->literal.size() <= 4 &&
                        !tb->literal.empty() && tb->literal[0] == '#') {
                        split_before(tb);
                        return last;
                    }
                    advance(a, b, pair);
                    continue;
                }
                if (is_colum(tb)) {
                    advance(a, b, pair);
                    continue;
                }
            }

            if (is_punct_sentence(ta)) {
                if (is_quote(tb)) {
                    const bool token_after = is_token(tb->next);
                    if (!token_after)
                        return last;
                    if (quotes % 2 == 0 && !split_made_) {
                        split_before(tb);
                        return last;
                    }
                } else if (is_punct_sentence(tb)) {
                    demote(*ta);
                } else if (is_line_breaker(tb)) {
                    if (!split_made_) {
                        split_before(tb);
                        return last;
                    }
                } else {
                    demote(*ta);
                }
                advance(a, b, pair);
                continue;
            }

            if (is_abbrev(ta) && line_break_between(document_, ta->end, tb->begin) &&
                !dez::string::starts_with_lowercase(tb->literal) && !has_pos(tb, prop_class())) {
                // The walk goes on over the new sentence, counted afresh.
                split_before(tb);
                pair = 1;
            }
            advance(a, b, pair);
        }
        return last;
    }

    static void advance(Annotation*& a, Annotation*& b, long& pair) {
        a = b;
        b = b->next;
        ++pair;
    }

    static std::size_t count(const qvr::common::RawPtrList<Annotation>& list) {
        std::size_t n = 0;
        for (Annotation* a = list.head; a && n < 3; a = a->next)
            ++n;
        return n;
    }

    void split_before(Token* b) {
        RawPtrIterator position(current_);
        Sentence* created = split_sentence(collection_, position, nullptr, b);
        auto& table = document_.sentences;
        std::size_t at;
        if (table_ != no_entry) {
            at = table_ + 1;
        } else {
            // A sentence the table does not list: the new entry goes where
            // its offset puts it.
            at = std::upper_bound(table.begin(), table.end(), created->begin,
                                  [](uint32_t begin, const SentenceTable::value_type& entry) {
                                      return begin < entry.first;
                                  }) -
                 table.begin();
        }
        table.insert(table.begin() + at, {created->begin, SentenceInfo(created)});
        table_ = at;
        current_ = created;
        split_made_ = true;
        add_lowercase_morphdata(document_, b);
    }

    void merge() {
        auto& table = document_.sentences;
        auto position = table_ != no_entry ? table.begin() + table_ : table.end();
        RawPtrIterator current(current_);
        RawPtrIterator stop = collection_.end();
        append_sentences(&document_, collection_, position, current, stop);
        table_ = position != table.end() ? position - table.begin() : no_entry;
    }

    Blackboard& document_;
    AnnotationCollection& collection_;
    const long max_tokens_;
    Sentence* current_ = nullptr;
    std::size_t table_ = 0;
    bool split_made_ = false;
    ClosingQuoteFinder quotes_;
};

} // namespace

int get_trelix_max_nrof_tokens() {
    return dez::system::get_environment_int("TRELIX_MAX_NROF_TOKENS", 150);
}

bool merge_condition(Blackboard&, const RawPtrIterator& current, Token* token) {
    if (!token || !starts_with_ascii_upper(token->literal) || !token->properties.count("giv"))
        return false;
    const auto* sentence = static_cast<const Sentence*>(current.get());
    const Sentence* next = next_sentence(sentence);
    if (!next)
        return false;
    const Token* first = first_token(next->annotations);
    return first && first->literal.size() > 3 && starts_with_ascii_upper(first->literal) &&
           first->properties.count("fam");
}

void fix_sentences(Blackboard* document) {
    fix_sentences(document, max_nrof_tokens);
}

void fix_sentences(Blackboard* document, int max_tokens) {
    if (!document || !document->annotations)
        return;
    Repair(*document, max_tokens).run();
}

} // namespace dez::trelix
