#include "engine/load_afst.h"

#include <fst/vector-fst.h>

#include "core-afst/afst.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

std::shared_ptr<dez::afst::AFst> load_afst(const std::string& filename) {
    if (!dez::file::is_regular_file(filename))
        throw dez::Exception("morph file not found :(get_afst)[" + filename + "]");
    TRELIX_LOG(dez::wlog::channel_runtime, dez::wlog::level_trace, "[afst] load" << filename);
    // Stamped before reading: a file rewritten meanwhile is read again later.
    const int64_t stamp = write_time_in_seconds(filename);
    // OpenFst reports why it could not read on its own log; an unreadable file
    // is refused here rather than cached as an empty transducer.
    std::shared_ptr<::fst::StdVectorFst> transducer(::fst::StdVectorFst::Read(filename));
    if (!transducer || !transducer->InputSymbols() || !transducer->OutputSymbols())
        throw dez::Exception("Invalid/Corrupt morph file:(get_fst)[" + filename + "]");
    auto afst = std::make_shared<dez::afst::AFst>(std::move(transducer));
    afst->timestamp = stamp;
    return afst;
}

} // namespace dez::trelix
