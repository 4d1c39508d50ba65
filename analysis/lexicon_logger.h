#pragma once

#include "foundation/inline_logger.h"

namespace dez::trelix {

// A record of the "stream_lookup" trace of the domain lexicon pass, written
// to standard error when it goes away: a "msg" record as its text, a
// "lookup" record as "[stream]:text", a "result" record as a four-line
// block, any other action as one " key:value" line per entry.
class LexiconLogger : public dez::log::inline_logger::BaseLogger {
public:
    ~LexiconLogger() override;
};

} // namespace dez::trelix
