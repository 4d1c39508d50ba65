#include "core-afst/level_guard_base.h"

#include "core-afst/guesser_lookup_session.h"

#include <utility>

namespace dez::afst {

LevelGuardBase::LevelGuardBase(GuesserLookupSession& session, int32_t state, std::size_t input,
                               int32_t level, std::string output)
    : session_(session), linked_(true) {
    item_.state = state;
    item_.input = input;
    item_.level = level;
    item_.output = std::move(output);
    session_.link(item_);
}

LevelGuardBase::~LevelGuardBase() {
    unlink();
}

void LevelGuardBase::leave() {
    if (!linked_)
        return;
    int32_t sum = 0;
    for (const StackItem* at = &item_; at && at->input == item_.input; at = at->previous)
        sum += at->previous ? at->match_count : 1; // the first level counts as 1
    if (sum == 0) {
        reset_previous_level_paths(item_);
        session_.check_and_apply_fixes(item_);
    }
    unlink();
}

void LevelGuardBase::unlink() {
    if (!linked_)
        return;
    linked_ = false;
    session_.unlink(item_);
}

void LevelGuardBase::reset_previous_level_paths(StackItem& level) {
    StackItem* oldest = &level;
    for (StackItem* at = &level; at && at->input == level.input; at = at->previous) {
        at->fix_flag = false;
        oldest = at;
    }
    oldest->fix_flag = true;
    if (StackItem* before = oldest->previous) {
        const std::size_t input = before->input;
        for (StackItem* at = before; at && at->input == input; at = at->previous)
            at->match_count = 0;
    }
}

bool LevelGuardBase::has_different_input_iterator(const StackItem& level) {
    return level.previous && level.previous->input != level.input;
}

} // namespace dez::afst
