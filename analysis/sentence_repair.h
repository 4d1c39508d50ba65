#pragma once

#include "document/annotation.h"

namespace dez::trelix {

class Blackboard;
class Token;

// The token limit of a sentence: TRELIX_MAX_NROF_TOKENS, default 150. Reads
// the environment; fix_sentences uses the value read at start-up.
int get_trelix_max_nrof_tokens();

// Corrects the splitter's sentence boundaries once tokens have readings:
// splits sentences longer than the token limit, after quotations that end a
// sentence, before headings, at line ends after abbreviations and after end
// punctuation; demotes end punctuation that ends nothing to "Punct"; merges
// a sentence ending in a given name ("giv") with one starting with a family
// name ("fam"). Keeps the sentence table in step. Every sentence it leaves
// holds at least one token, and every step moves on through the document or
// removes a sentence, so the repair ends.
void fix_sentences(Blackboard* document);
// With another token limit.
void fix_sentences(Blackboard* document, int max_tokens);

// The sentence at `current` ends in `token`, an upper-case word with "giv",
// and the next sentence starts with an upper-case word of more than three
// bytes with "fam".
bool merge_condition(Blackboard& document, const RawPtrIterator& current, Token* token);

} // namespace dez::trelix
