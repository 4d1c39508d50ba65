#include "core-afst/guesser_lookup_session.h"

#include "core-afst/afst.h"
#include "core-afst/level_guard_base.h"

#include <fst/symbol-table.h>
#include <fst/vector-fst.h>

#include <utf8.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace dez::afst {

namespace {

// Called for every arc of every state walked: sizes first, no strlen.
bool is_epsilon(const std::string& label) {
    return label.size() == 3 &&
           (label.compare(0, 3, "eps", 3) == 0 || label.compare(0, 3, "EPS", 3) == 0);
}

bool is_any(const std::string& label) {
    return label.size() == 2 && label[0] == '?' && label[1] == '?';
}

// The first code point of a label.
uint32_t first_code_point(const std::string& label) {
    const auto byte = static_cast<unsigned char>(label[0]);
    return byte < 0x80 ? byte : utf8::peek_next(label.begin(), label.end());
}

bool is_marker(const std::string& label) {
    return label.size() >= 5 && label[0] == '#';
}

// The code point at `position`; `after` gets the offset just past it.
uint32_t code_point_at(const std::string& text, std::size_t position, std::size_t& after) {
    auto at = text.begin() + static_cast<std::ptrdiff_t>(position);
    const uint32_t code_point = utf8::next(at, text.end());
    after = static_cast<std::size_t>(at - text.begin());
    return code_point;
}

// The arcs of one guesser state in stored order (the order decides which
// output is found first), with the texts of their labels.
class StateArcs {
public:
    StateArcs(const AFst& guesser, int32_t state)
        : guesser_(guesser), transducer_(*guesser.transducer()) {
        if (state >= 0 && state < transducer_.NumStates())
            arcs_.emplace(transducer_, state);
    }

    bool done() const { return !arcs_ || arcs_->Done(); }
    void next() { arcs_->Next(); }
    int32_t target() const { return arcs_->Value().nextstate; }
    bool final() const { return guesser_.is_final(target()); }
    const std::string& input() {
        return text(guesser_.input_texts(), transducer_.InputSymbols(), arcs_->Value().ilabel,
                    input_);
    }
    const std::string& output() {
        return text(guesser_.output_texts(), transducer_.OutputSymbols(), arcs_->Value().olabel,
                    output_);
    }

private:
    // An id the table does not know reads as "".
    static const std::string& text(const std::vector<std::string>& texts,
                                   const ::fst::SymbolTable* table, int64_t label,
                                   std::string& beyond) {
        if (label >= 0 && static_cast<std::size_t>(label) < texts.size())
            return texts[static_cast<std::size_t>(label)];
        beyond = table ? table->Find(label) : std::string();
        return beyond;
    }

    const AFst& guesser_;
    const ::fst::StdVectorFst& transducer_;
    std::optional<::fst::ArcIterator<::fst::StdVectorFst>> arcs_;
    std::string input_;
    std::string output_;
};

} // namespace

GuesserLookupSession::GuesserLookupSession(std::shared_ptr<AFst> guesser,
                                           std::shared_ptr<nlohmann::json> config)
    : guesser_(std::move(guesser)), config_(std::move(config)) {}

GuesserLookupSession::~GuesserLookupSession() = default;

std::vector<ResultEntry> GuesserLookupSession::lookup(const std::string& word) {
    const int32_t start = guesser_->transducer()->Start();
    if (start < 0)
        return entries_;
    text_ = std::make_shared<GuesserFactory>(word.data(), word.data() + word.size());
    tried_fixes_.assign(word.size() + 1, fix_none);
    applied_fixes_.assign(word.size() + 1, fix_none);
    descend(start, 0, 0, std::string(), Walk::lookup);
    return entries_;
}

void GuesserLookupSession::lookup(StackItem& level) {
    const std::string& text = text_->text();
    const std::size_t end = text.size();
    // The code point every character arc of this state is compared with,
    // read once, when the first such arc comes.
    std::size_t after = 0;
    uint32_t next = 0;
    bool read = false;
    for (StateArcs arc(*guesser_, level.state); !arc.done(); arc.next()) {
        const std::string& input = arc.input();
        if (is_epsilon(input)) {
            if (arc.final() && level.input == end)
                collect(arc.output());
            descend(arc.target(), level.input, level.level + 1, arc.output(), Walk::lookup);
            continue;
        }
        if (is_marker(input)) {
            if (arc.final() && level.input == end && input.compare(0, 4, "#end") == 0)
                collect(arc.output());
            if (level.input != end)
                descend(arc.target(), level.input, level.level + 1, arc.output(), Walk::lookup);
            continue;
        }
        if (level.input != end && !input.empty()) {
            if (!read) {
                next = code_point_at(text, level.input, after);
                read = true;
            }
            if (first_code_point(input) == next) {
                ++level.match_count;
                if (arc.final() && after == end)
                    collect(arc.output());
                descend(arc.target(), after, level.level + 1, arc.output(), Walk::lookup);
                continue;
            }
        }
        // "??" only says that something could be read here.
        if (is_any(input))
            ++level.match_count;
    }
}

void GuesserLookupSession::ignore_lookup(StackItem& level) {
    for (StateArcs arc(*guesser_, level.state); !arc.done(); arc.next()) {
        const std::size_t end = text_->length();
        if (arc.final() && (level.input == end || level.input + 1 == end))
            collect(arc.output());
        descend(arc.target(), level.input, level.level + 1, arc.output(), Walk::lookup);
    }
}

void GuesserLookupSession::ignore_lookup_one_more_arc(StackItem& level) {
    for (StateArcs arc(*guesser_, level.state); !arc.done(); arc.next()) {
        if (arc.final() && level.input == text_->length()) {
            collect(arc.output());
            return;
        }
        if (is_epsilon(arc.input()))
            descend(arc.target(), level.input, level.level + 1, arc.output(), Walk::one_more_arc);
    }
}

void GuesserLookupSession::check_and_apply_fixes(StackItem& level) {
    if (!level.fix_flag)
        return;
    // The copies above carry the label, so it is not counted twice.
    const std::string saved = std::move(level.output);
    level.output.clear();
    const std::size_t p = level.input;
    const std::size_t n = text_->length();
    const std::size_t entries_before = entries_.size();
    const auto new_entries = [&] { return entries_.size() > entries_before; };
    const auto walk_copy = [&](Walk how) { descend(level.state, p, level.level, saved, how); };
    // Settles the fix at p once its copy has been walked.
    const auto end_fix = [&](bool clear_tried) {
        if (clear_tried)
            clear_after(tried_fixes_, p, n);
        if (new_entries())
            clear_after(applied_fixes_, p, n);
        applied_fixes_[p] = fix_none;
    };

    if (p == n) {
        if (entries_.empty()) {
            applied_fixes_[p] = fix_final_arc;
            walk_copy(Walk::one_more_arc);
            end_fix(false);
        }
        return;
    }
    if (p == 0 && n > 1)
        return;

    bool deletion_found = false;
    if (fix_allowed(fix_delete, p, n)) {
        clear_after(tried_fixes_, p, n);
        tried_fixes_[p] |= fix_delete;
        if (n - p >= 2) {
            std::size_t after = 0;
            code_point_at(text_->text(), p, after);
            text_->replace(p, after, {});
            applied_fixes_[p] = fix_delete;
            walk_copy(Walk::lookup);
            deletion_found = new_entries();
            end_fix(true);
            text_->undo(p);
        }
    }

    if (!deletion_found && fix_allowed(fix_swap, p, n)) {
        clear_after(tried_fixes_, p, n);
        tried_fixes_[p] |= fix_swap;
        const std::string& text = text_->text();
        if (n - p >= 2 && text[p] != text[p + 1]) {
            std::size_t middle = 0;
            code_point_at(text, p, middle);
            if (middle < n) {
                std::size_t after = 0;
                code_point_at(text, middle, after);
                const std::string swapped =
                    text.substr(middle, after - middle) + text.substr(p, middle - p);
                text_->replace(p, after, swapped);
                clear_after(applied_fixes_, p, n);
                applied_fixes_[p] = fix_swap;
                walk_copy(Walk::lookup);
                end_fix(true);
                text_->undo(p);
            }
        }
    }

    if (p > 0 && fix_allowed(fix_ignore, p, n)) {
        tried_fixes_[p] |= fix_ignore;
        clear_after(tried_fixes_, p, n);
        clear_after(applied_fixes_, p, n);
        applied_fixes_[p] = fix_ignore;
        walk_copy(Walk::ignore);
        end_fix(true);
    }
}

void GuesserLookupSession::collect(const std::string& final_output) {
    std::string output;
    for (const StackItem* at = oldest_; at; at = at->next)
        if (at->output != "eps")
            output += at->output;
    if (final_output != "eps")
        output += final_output;
    if (!seen_outputs_.insert(output).second)
        return;

    // A fix near the end of the word costs less than the same fix near its start.
    const std::size_t n = text_->length();
    long sum = 0;
    int32_t fix_count = 0;
    for (std::size_t i = 0; i <= n && i < applied_fixes_.size(); ++i) {
        const long position = static_cast<long>(i);
        switch (applied_fixes_[i]) {
        case fix_ignore:
            sum += position + 30;
            break;
        case fix_swap:
            sum += position + 80;
            break;
        case fix_final_arc:
            sum += 20;
            break;
        case fix_delete:
            sum += position + 60;
            break;
        default:
            sum += 100;
            continue;
        }
        ++fix_count;
    }
    const double score = static_cast<double>(sum) / static_cast<double>(n + 1) / 100.0;
    entries_.push_back({"+guess", std::move(output), score, fix_count});
}

void GuesserLookupSession::link(StackItem& level) {
    level.previous = newest_;
    level.next = nullptr;
    if (newest_)
        newest_->next = &level;
    else
        oldest_ = &level;
    newest_ = &level;
}

void GuesserLookupSession::unlink(StackItem& level) {
    if (level.previous)
        level.previous->next = level.next;
    else
        oldest_ = level.next;
    if (level.next)
        level.next->previous = level.previous;
    else
        newest_ = level.previous;
    level.previous = level.next = nullptr;
}

bool GuesserLookupSession::may_push(std::size_t input) const {
    if (level_pushes_ >= max_level_pushes)
        return false;
    int chain = 0;
    for (const StackItem* at = newest_; at && at->input == input; at = at->previous)
        if (++chain >= max_levels_without_reading)
            return false;
    return true;
}

void GuesserLookupSession::descend(int32_t state, std::size_t input, int32_t level,
                                   const std::string& output, Walk how) {
    if (!may_push(input))
        return;
    ++level_pushes_;
    LevelGuardBase guard(*this, state, input, level, output);
    StackItem& item = guard.top();
    switch (how) {
    case Walk::lookup:
        lookup(item);
        break;
    case Walk::ignore:
        ignore_lookup(item);
        break;
    case Walk::one_more_arc:
        ignore_lookup_one_more_arc(item);
        break;
    }
    guard.leave();
}

bool GuesserLookupSession::fix_allowed(int32_t bit, std::size_t position,
                                       std::size_t length) const {
    if (tried_fixes_[position] & bit) {
        // A repeat of the same fix here, while few positions carry fixes.
        const auto last = std::min(length + 1, tried_fixes_.size());
        const auto marked = std::count_if(tried_fixes_.begin(),
                                          tried_fixes_.begin() + static_cast<std::ptrdiff_t>(last),
                                          [](int32_t fixes) { return fixes != 0; });
        return marked <= 2;
    }
    return position == 0 || tried_fixes_[position - 1] == 0;
}

void GuesserLookupSession::clear_after(std::vector<int32_t>& fixes, std::size_t position,
                                       std::size_t length) {
    for (std::size_t i = position + 1; i < length && i < fixes.size(); ++i)
        fixes[i] = fix_none;
}

} // namespace dez::afst
