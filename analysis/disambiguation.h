#pragma once

namespace dez::trelix {

class Blackboard;

// Narrows readings with the postagger; always true.
bool disambiguate(Blackboard& document);
// Thins compound readings; always true.
bool auto_disambiguate(Blackboard& document);

} // namespace dez::trelix
