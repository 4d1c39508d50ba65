#pragma once

namespace dez::trelix {

class Blackboard;

// Merges, splits and re-joins the document's sentences.
void fix_sentences(Blackboard* document);

} // namespace dez::trelix
