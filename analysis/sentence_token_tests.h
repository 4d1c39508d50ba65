#pragma once

namespace dez::trelix {
class Token;
}

// Its own namespace: the token-property helpers of tokenization have
// functions of the same names.
namespace dez::trelix::repair {

// What sentence repair asks of a token. A null token answers false.

// Some reading is "Punct-Quote".
bool is_quote(const Token* token);
// The first reading is "Punct-Sent": the token ends a sentence.
bool is_punct_sentence(const Token* token);
// The first reading is "Punct-Line".
bool is_punct_line(const Token* token);
// The first reading is exactly "Punct".
bool is_line_breaker(const Token* token);
// The literal starts with ':'.
bool is_colum(const Token* token);
// Properties "abbrev", "init-cap" and "title".
bool is_abbrev(const Token* token);
bool init_cap(const Token* token);
bool is_title(const Token* token);

} // namespace dez::trelix::repair
