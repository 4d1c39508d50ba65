#include "analysis/add_morphdata_memento.h"

#include "analysis/token_predicates.h"
#include "document/token.h"

namespace dez::trelix {

bool first_token_check_and_set_memento_flag(AddMorphdataMemento& memento, Token* token) {
    if (memento.expect_first_word && !memento.first_word && !is_punctuation(token))
        memento.first_word = true;
    return memento.expect_first_word;
}

void first_token_check_and_set_property(AddMorphdataMemento& memento, Token* token) {
    if (!memento.first_word)
        return;
    token->properties.insert("init-token");
    memento.expect_first_word = false;
    memento.first_word = false;
}

void fix_sentence_with_invalid_start_token(AddMorphdataMemento& memento, Token* token) {
    if (token->literal.size() == 1 && token->literal[0] == ':')
        memento.expect_first_word = true;
}

} // namespace dez::trelix
