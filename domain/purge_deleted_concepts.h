#pragma once

namespace dez::trelix {

class Blackboard;

// After a domain ran: concepts drop the parents flagged deleted or
// to_delete, then every to_delete concept is unlinked and destroyed.
// Concepts only flagged deleted stay.
void purge_deleted_concepts(Blackboard& blackboard);

} // namespace dez::trelix
