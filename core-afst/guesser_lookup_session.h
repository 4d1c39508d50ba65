#pragma once

#include "core-afst/guesser_factory.h"
#include "core-afst/guesser_stack_item.h"
#include "core-afst/result_entry.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace dez::afst {

class AFst;
class LevelGuardBase;

// The fix bits of tried_fixes() and applied_fixes().
enum guesser_fix : int32_t {
    fix_none = 0,
    fix_ignore = 1,
    fix_swap = 2,
    fix_final_arc = 4,
    fix_delete = 8,
};

// All state of one guess: the guesser is walked over the word; where the walk
// gets stuck, a few spelling fixes are tried, and every output reached is
// recorded once with a score that falls with the fixes in effect.
class GuesserLookupSession {
public:
    // Levels pushed without reading, one on the other at one position (epsilon
    // and marker arcs, ignored arcs, fix copies). A guesser with a cycle that
    // reads nothing would otherwise recurse until the stack overflows.
    static constexpr int max_levels_without_reading = 32;
    // Levels one session may push in all: such cycles branch on every
    // position, so the depth cap alone still leaves an exponential walk.
    static constexpr std::size_t max_level_pushes = 100000;

    GuesserLookupSession(std::shared_ptr<AFst> guesser, std::shared_ptr<nlohmann::json> config);
    ~GuesserLookupSession();
    GuesserLookupSession(const GuesserLookupSession&) = delete;
    GuesserLookupSession& operator=(const GuesserLookupSession&) = delete;

    // Runs the whole session over the word; a copy of the entries. Run once.
    std::vector<ResultEntry> lookup(const std::string& word);

    // The steps of the walk, on a level the caller has pushed.
    void lookup(StackItem& level);
    void ignore_lookup(StackItem& level);
    void ignore_lookup_one_more_arc(StackItem& level);
    void check_and_apply_fixes(StackItem& level);
    void collect(const std::string& final_output);

    // Null until the session has a text (a guesser without start state).
    const std::shared_ptr<GuesserFactory>& text() const { return text_; }
    const std::vector<ResultEntry>& entries() const { return entries_; }
    const std::vector<int32_t>& tried_fixes() const { return tried_fixes_; }
    const std::vector<int32_t>& applied_fixes() const { return applied_fixes_; }
    StackItem* newest() const { return newest_; }
    StackItem* oldest() const { return oldest_; }
    std::size_t level_pushes() const { return level_pushes_; }

private:
    friend class LevelGuardBase;
    enum class Walk { lookup, ignore, one_more_arc };

    void link(StackItem& level);
    void unlink(StackItem& level);
    bool may_push(std::size_t input) const;
    // Pushes a level, walks it the given way and leaves it.
    void descend(int32_t state, std::size_t input, int32_t level, const std::string& output,
                 Walk how);
    bool fix_allowed(int32_t bit, std::size_t position, std::size_t length) const;
    static void clear_after(std::vector<int32_t>& fixes, std::size_t position, std::size_t length);

    std::set<std::string> seen_outputs_;
    std::shared_ptr<AFst> guesser_;
    std::shared_ptr<nlohmann::json> config_; // handed on, not read
    std::shared_ptr<GuesserFactory> text_;
    StackItem* newest_ = nullptr;
    StackItem* oldest_ = nullptr;
    std::vector<ResultEntry> entries_;
    std::vector<int32_t> tried_fixes_;
    std::vector<int32_t> applied_fixes_;
    std::size_t level_pushes_ = 0;
};

} // namespace dez::afst
