#pragma once

namespace dez::trelix {

class Blackboard;

// Readings for every token of every sentence of the document.
void add_dictionary_lookup_information(Blackboard& document);
// The conditional second lexicon pass over a document analysed before.
void additional_dictionary_lookup_information(Blackboard& document);

} // namespace dez::trelix
