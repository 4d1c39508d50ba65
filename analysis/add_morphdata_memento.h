#pragma once

namespace dez::trelix {

class Token;

// Where a walk over one sentence stands with respect to its first word.
struct AddMorphdataMemento {
    // The next word starts the sentence (again after a ":").
    bool expect_first_word = true;
    // The current token is that word.
    bool first_word = false;
    bool header = false;
};

// Marks the first token that is no punctuation while a first word is
// expected; true while one is expected.
bool first_token_check_and_set_memento_flag(AddMorphdataMemento& memento, Token* token);
// Gives the first word "init-token" and stops expecting one.
void first_token_check_and_set_property(AddMorphdataMemento& memento, Token* token);
// A ":" makes the next word a first word.
void fix_sentence_with_invalid_start_token(AddMorphdataMemento& memento, Token* token);

} // namespace dez::trelix
