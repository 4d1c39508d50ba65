#pragma once

namespace dez::trelix {

class Blackboard;
class Sentence;
class Token;

// Readings for every token of every sentence of the document; nothing when
// the document's lookup chain is empty.
void add_dictionary_lookup_information(Blackboard& document);
// Readings for the tokens of one sentence: apostrophes first, then each
// token, then the measurements.
void add_morphdata(Blackboard& document, Sentence& sentence);
// The conditional second lexicon pass over a document analysed before; it
// starts with an empty lookup cache.
void additional_dictionary_lookup_information(Blackboard& document);
void additional_morphdata(Blackboard& document, Sentence& sentence);
// Looks a token up again, lower-cased at its start too (sentence repair); a
// punctuation token hands over to the word after it.
void add_lowercase_morphdata(Blackboard& document, Token* token);

} // namespace dez::trelix
