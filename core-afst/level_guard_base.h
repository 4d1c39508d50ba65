#pragma once

#include "core-afst/guesser_stack_item.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace dez::afst {

class GuesserLookupSession;

// Pushes one level of the guesser walk on the session's stack for the time a
// scope walks it. leave() runs the level-exit rule (a level where nothing
// could be read asks for fixes) and unlinks the level. The exit rule walks
// further, so it is not run from the destructor: when an exception passes,
// the destructor only unlinks.
class LevelGuardBase {
public:
    LevelGuardBase(GuesserLookupSession& session, int32_t state, std::size_t input, int32_t level,
                   std::string output);
    ~LevelGuardBase();
    LevelGuardBase(const LevelGuardBase&) = delete;
    LevelGuardBase& operator=(const LevelGuardBase&) = delete;

    // The guard's level, the newest one while it is walked.
    StackItem& top() { return item_; }

    void leave();

    // Of the levels at `level`'s position (it and the older ones directly
    // below it with the same input) only the oldest keeps `fix_flag`; the
    // levels of the position before get their match count cleared, so that
    // they too try fixes when left unless a later arc of theirs matches.
    static void reset_previous_level_paths(StackItem& level);
    // The level below exists and reads from another position.
    static bool has_different_input_iterator(const StackItem& level);

private:
    void unlink();

    GuesserLookupSession& session_;
    StackItem item_;
    bool linked_;
};

} // namespace dez::afst
