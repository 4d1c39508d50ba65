#include "engine/load_afst.h"

#include <stdexcept>

#include "core-afst/afst.h"
#include "core-afst/serialization.h"
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
    const std::string corrupt = "Invalid/Corrupt morph file:(get_fst)[" + filename + "]";
    std::string bytes;
    try {
        bytes = dez::file::load(filename.c_str());
    } catch (const std::exception&) {
        throw dez::Exception(corrupt);
    }
    // A corrupt file is refused here rather than cached as an empty
    // transducer; the bytes are checked before OpenFst trusts their counts.
    auto transducer =
        dez::afst::serialization::read_fsm(bytes.data(), bytes.size(), "get_afst", filename);
    std::string().swap(bytes);
    std::shared_ptr<dez::afst::AFst> afst;
    try {
        // Refuses a missing transducer and one without both symbol tables.
        afst = std::make_shared<dez::afst::AFst>(std::move(transducer));
    } catch (const std::invalid_argument&) {
        throw dez::Exception(corrupt);
    }
    afst->timestamp = stamp;
    return afst;
}

} // namespace dez::trelix
