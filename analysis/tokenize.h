#pragma once

namespace dez::trelix {

class Blackboard;

// Cuts [begin, end) of the document text into tokens of the last sentence of
// the document's annotation collection (the caller appended it with its begin
// at the span's byte offset). True when the sentence got at least one token.
bool tokenize(Blackboard& document, const char* begin, const char* end);

} // namespace dez::trelix
