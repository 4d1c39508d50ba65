#pragma once

#include <cstdint>
#include <memory>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class UnicodeString;
U_NAMESPACE_END

namespace dez::trelix {

class Blackboard;
struct OffsetTable16;

// Cuts [begin, end) of the document text into tokens of the last sentence of
// the document's annotation collection (the caller appended it with its begin
// at the span's byte offset). True when the sentence got at least one token;
// the sentence then shrinks to its tokens and gets its "Sentence" concept,
// end marker and end-of-stream marker. Fails with dez::Exception when the
// document has no tokenizer or no sentence, with utfcpp's errors on
// malformed UTF-8.
bool tokenize(Blackboard& document, const char* begin, const char* end);

// The same over the span already converted to UTF-16, with its table of
// UTF-16 positions onto byte offsets from the span's start.
bool tokenize(Blackboard& document, const icu::UnicodeString& text,
              std::shared_ptr<OffsetTable16> table);

// Appends a sentence over the bytes [from, to) of `text` (offsets of the
// document text) to the document, tokenizes it and enters it in the sentence
// table; a sentence left without annotations is removed again, as is one
// whose tokenizing fails. True when the sentence was kept.
bool add_tokenized_sentence(Blackboard& document, const char* text, uint32_t from, uint32_t to);

} // namespace dez::trelix
