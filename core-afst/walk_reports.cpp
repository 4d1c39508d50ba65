#include "core-afst/walk_reports.h"

#include "foundation/logger.h"

namespace dez::afst {

void report_walk_step_limit(long steps) {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_warning,
               "Lexicon walk stopped after " << steps << " steps; results may be incomplete");
}

void report_walk_cycle_cut() {
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_warning,
               "Lexicon walk cut a cycle of arcs that consume nothing but add output; "
               "results may be incomplete");
}

} // namespace dez::afst
