#pragma once

namespace dez::trelix {

class Token;

// Appends the reading "Markup" to a markup token; its stem is the tag without
// attributes ('<a class=x>' gives '<a>').
void add_markup_info(Token* token);

} // namespace dez::trelix
