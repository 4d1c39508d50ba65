#include "analysis/tokenize.h"

#include <cstring>
#include <string>

#include <unicode/brkiter.h>
#include <unicode/rbbi.h>
#include <unicode/unistr.h>

#include "analysis/offset_table16.h"
#include "analysis/substring_data.h"
#include "analysis/token_predicates.h"
#include "analysis/token_properties.h"
#include "analysis/token_status.h"
#include "analysis/tokenizer_facade.h"
#include "document/blackboard.h"
#include "document/concept.h"
#include "document/end_annotation.h"
#include "document/end_of_stream.h"
#include "document/sentence.h"
#include "document/sentence_info.h"
#include "document/token.h"
#include "document/token_flags.h"
#include "foundation/exception.h"

namespace dez::trelix {

namespace {

TokenizerFacade& tokenizer_of(Blackboard& document) {
    if (!document.tokenizer || !document.tokenizer->iterator)
        throw dez::Exception("tokenize: the document has no tokenizer (no language module)");
    return *document.tokenizer;
}

Sentence* last_sentence(Blackboard& document) {
    Annotation* last = document.annotations ? document.annotations->tail : nullptr;
    if (!last || last->type != annotation_sentence)
        throw dez::Exception("tokenize: the document has no sentence to fill");
    return static_cast<Sentence*>(last);
}

// One sentence's walk over the word boundaries.
class SpanTokenizer {
public:
    SpanTokenizer(Blackboard& document, TokenizerFacade& facade, const icu::UnicodeString& text,
                  const OffsetTable16& table, const char* bytes)
        : document_(document), facade_(facade), text_(text), table_(table.utf16_to_utf8),
          sentence_(last_sentence(document)), base_(sentence_->begin), bytes_(bytes),
          literal_from_bytes_(bytes != nullptr) {
        // Without the span's own bytes, the "http" test reads the document
        // text under the span.
        if (!bytes_ && document.text && base_ + offset(text.length()) <= document.text_length)
            bytes_ = document.text + base_;
    }

    bool run() {
        icu::BreakIterator& iterator = *facade_.iterator;
        iterator.setText(text_);
        int32_t s = iterator.first();
        int32_t t = s;
        for (int32_t e = iterator.next(); e != icu::BreakIterator::DONE;
             s = e, e = iterator.next()) {
            if (is_space_section(s, e, text_)) {
                if (url_) {
                    make(t, s, url_status);
                    url_ = false;
                } else if (pending_) {
                    give_up_record(t, s);
                }
                t = e;
                continue;
            }
            if (url_)
                continue;
            if (holds_back(s, e))
                continue;
            if (is_http(s, e)) {
                url_ = true;
                continue;
            }
            make(t, e, status());
            t = e;
        }
        if (url_)
            make(t, s, url_status);
        else if (pending_)
            give_up_record(t, s);
        return close();
    }

private:
    uint32_t offset(int32_t position) const {
        const auto index = static_cast<std::size_t>(position);
        return index < table_.size() ? table_[index] : static_cast<uint32_t>(position);
    }

    int32_t status() const { return facade_.rule_based ? facade_.rule_based->getRuleStatus() : 0; }

    // The splitter's span records: segments inside a recorded stretch wait
    // until the stretch is complete and then make one token.
    bool holds_back(int32_t s, int32_t e) {
        auto& records = document_.abbreviation_ranges;
        if (!pending_) {
            const uint32_t b = base_ + offset(s);
            while (!records.empty() && records.front().begin < b)
                records.pop_front();
            if (records.empty() || records.front().begin != b)
                return false;
            pending_ = true;
        }
        if (base_ + offset(e) < records.front().end)
            return true;
        kind_ = records.front().kind;
        records.pop_front();
        pending_ = false;
        return false;
    }

    // A record the segments did not fill (white space inside it, or the
    // sentence ending first): the splitter and tokenizer disagree. The
    // held-back text still becomes a token rather than being lost, without
    // the record's kind.
    void give_up_record(int32_t t, int32_t s) {
        document_.abbreviation_ranges.pop_front();
        pending_ = false;
        kind_ = 0;
        if (s > t)
            make(t, s, 0);
    }

    // "http" or "https", byte for byte and case-sensitive.
    bool is_http(int32_t s, int32_t e) const {
        if (bytes_) {
            const uint32_t b = offset(s);
            const uint32_t length = offset(e) - b;
            return (length == 4 && std::memcmp(bytes_ + b, "http", 4) == 0) ||
                   (length == 5 && std::memcmp(bytes_ + b, "https", 5) == 0);
        }
        const int32_t length = e - s;
        return (length == 4 || length == 5) &&
               text_.compare(s, length, icu::UnicodeString(length == 4 ? u"http" : u"https")) == 0;
    }

    std::string literal(int32_t t, int32_t e) const {
        const auto length = static_cast<uint32_t>(e - t);
        if (literal_from_bytes_ && !needs_normalisation(text_, static_cast<uint32_t>(t), length))
            return std::string(bytes_ + offset(t), bytes_ + offset(e));
        std::string out;
        get_substring_data(text_, static_cast<uint32_t>(t), length).toUTF8String(out);
        return out;
    }

    void make(int32_t t, int32_t e, int32_t rule_status) {
        auto* token = new Token(base_ + offset(t), base_ + offset(e), literal(t, e));
        if (kind_ & 1)
            token->token_flags |= token_flags::known_abbreviation;
        if (kind_ & 2)
            token->token_flags |= token_flags::header_prefix;
        kind_ = 0;
        sentence_->annotations.push_back(token);
        add_properties(token);
        apply_rule_status(document_, sentence_, token, rule_status,
                          bytes_ ? bytes_ + offset(t) : nullptr);
    }

    bool close() {
        AnnotationCollection& list = sentence_->annotations;
        if (list.empty())
            return false;
        sentence_->begin = list.head->begin;
        sentence_->end = list.tail->end;
        auto* head = new Concept(sentence_->begin, sentence_->end, "Sentence");
        list.insert(RawPtrIterator(list.head), head);
        auto* marker = new EndAnnotation(sentence_->end);
        marker->add(head);
        head->end_annotation = marker;
        list.push_back(marker);
        list.push_back(new EndOfStream(sentence_->end));
        return true;
    }

    Blackboard& document_;
    TokenizerFacade& facade_;
    const icu::UnicodeString& text_;
    const std::vector<uint32_t>& table_;
    Sentence* sentence_;
    const uint32_t base_;
    const char* bytes_;
    bool url_ = false;
    bool pending_ = false;
    // The literal of an unchanged stretch is its bytes, with no conversion.
    const bool literal_from_bytes_;
    uint64_t kind_ = 0;
};

} // namespace

bool tokenize(Blackboard& document, const char* begin, const char* end) {
    TokenizerFacade& facade = tokenizer_of(document);
    if (!facade.span)
        facade.span = std::make_unique<icu::UnicodeString>();
    fill_offset_mapping_table(begin, end, *facade.span, facade.span_table);
    return SpanTokenizer(document, facade, *facade.span, facade.span_table, begin).run();
}

bool tokenize(Blackboard& document, const icu::UnicodeString& text,
              std::shared_ptr<OffsetTable16> table) {
    TokenizerFacade& facade = tokenizer_of(document);
    if (table)
        return SpanTokenizer(document, facade, text, *table, nullptr).run();
    // No table: one from the text itself, never UTF-16 positions as bytes.
    std::string bytes;
    text.toUTF8String(bytes);
    icu::UnicodeString copy;
    OffsetTable16 own;
    fill_offset_mapping_table(bytes.data(), bytes.data() + bytes.size(), copy, own);
    return SpanTokenizer(document, facade, copy, own, nullptr).run();
}

bool add_tokenized_sentence(Blackboard& document, const char* text, uint32_t from, uint32_t to) {
    auto* sentence = new Sentence(from, to);
    document.annotations->push_back(sentence);
    try {
        tokenize(document, text + from, text + to);
    } catch (...) {
        document.annotations->unlink(sentence);
        delete sentence;
        throw;
    }
    if (sentence->annotations.empty()) {
        document.annotations->unlink(sentence);
        delete sentence;
        return false;
    }
    document.sentences.emplace_back(from, SentenceInfo(sentence));
    return true;
}

} // namespace dez::trelix
