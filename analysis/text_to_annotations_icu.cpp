#include <climits>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "analysis/analyzer.h"
#include "analysis/offset_table.h"
#include "analysis/option_keys.h"
#include "analysis/sentence_iterator_cache.h"
#include "analysis/tokenize.h"
#include "document/blackboard.h"
#include "engine/language_module.h"
#include "engine/language_module_data.h"
#include "foundation/exception.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace {

// Whether the boundary at `end`, closing the segment that starts at
// `segment`, gives way so that the next line continues the sentence: the
// line ends in a connector (spaces and tabs before the line feed aside) and
// neither a blank line nor the end of the text follows.
bool joins_next_line(const icu::UnicodeString& text, int32_t segment, int32_t end,
                     const std::string& connectors) {
    if (connectors.empty() || end >= text.length() || text.charAt(end) == u'\n')
        return false;
    if (end - segment < 2 || text.charAt(end - 1) != u'\n' || text.charAt(end - 2) == u'\n')
        return false;
    int32_t at = end - 2;
    while (at > 0 && (text.charAt(at) == u' ' || text.charAt(at) == u'\t'))
        --at;
    const char16_t unit = text.charAt(at);
    for (const char connector : connectors)
        if (unit == static_cast<unsigned char>(connector))
            return true;
    return false;
}

bool has_letter_or_digit(const icu::UnicodeString& text, int32_t begin, int32_t end) {
    for (int32_t at = begin; at < end; at = text.moveIndex32(at, 1))
        if (u_isalnum(text.char32At(at)))
            return true;
    return false;
}

// A sentence segment of one or two units is noise unless it says something
// ("OK", "Hi", "42").
bool worth_a_sentence(const icu::UnicodeString& text, int32_t begin, int32_t end) {
    return end - begin > 2 || has_letter_or_digit(text, begin, end);
}

} // namespace

void Analyzer::text_to_annotations_icu(Blackboard& document, const char* text, size_t length) {
    if (length > static_cast<size_t>(INT_MAX))
        throw dez::Exception("text too long for the ICU sentence iterator");
    std::unique_ptr<icu::BreakIterator> sentences =
        get_sentence_iterator(get_tokenizer_locale(document));

    // Byte offsets come from the table only: built here when the caller did
    // not, which also rejects malformed UTF-8 before anything is made.
    if (!document.offset_table)
        document.offset_table = generate_offset_mappings(text, static_cast<int>(length));
    const std::vector<uint32_t>& to_byte = document.offset_table->utf16_to_utf8;

    // The given length, not the first NUL, bounds the text.
    const icu::UnicodeString unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text, static_cast<int32_t>(length)));
    sentences->setText(unicode);

    const std::string connectors = option(option_key::multiline);
    if (!connectors.empty())
        TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_debug,
                   "Sentence Connectors: [" << connectors << "]");

    int32_t start = sentences->first();
    int32_t segment = start;
    int32_t end = sentences->next();
    int merges = 1;
    while (end != icu::BreakIterator::DONE) {
        if (merges <= 4 && joins_next_line(unicode, segment, end, connectors)) {
            segment = end;
            end = sentences->next();
            ++merges;
            continue;
        }
        if (worth_a_sentence(unicode, start, end)) {
            const uint32_t begin_byte = to_byte.at(static_cast<std::size_t>(start));
            const uint32_t end_byte = to_byte.at(static_cast<std::size_t>(end));
            add_tokenized_sentence(document, text, begin_byte, end_byte);
        }
        start = end;
        segment = end;
        merges = 1;
        end = sentences->next();
    }
}

} // namespace dez::trelix
