#pragma once

#include <string>
#include <vector>

namespace dez::trelix {

class Blackboard;
class LexiconLogger;
class Token;

// Runs the lexicons of the document's domains over its text streams before
// their rules: every match that covers whole tokens becomes a concept named
// by the lexicon output (attributes after its first '@'), with the rule name
// "lexicon:" + the domain's store path. Each domain's lexicons run once per
// document; the buffers are rebuilt only when one of them will run. A token
// looked up by any domain loses the property "nf-lex"; one no domain looked
// up gains it when it has "nf". With the debug flag "stream_lookup" every
// lookup and match is traced to standard error. False when no domain has a
// lexicon.
bool all_domains_lexicon_lookup(Blackboard& blackboard);

// The pass itself; `Logger` is LexiconLogger to trace it, or
// dez::log::inline_logger::CodeNotThere to trace nothing.
template <typename Logger> bool all_lexicon_lookup_logger(Blackboard& blackboard);

// The outputs (unsplit) of the first domain lexicon that knows the token's
// literal, its normalized literal or the stem of one of its readings; empty
// when none does. Changes nothing on the document.
std::vector<std::string> lexicon_lookup(Blackboard& blackboard, Token* token);

} // namespace dez::trelix
