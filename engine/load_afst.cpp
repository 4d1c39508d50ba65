#include "engine/load_afst.h"

#include <fst/log.h>
#include <fst/properties.h>
#include <fst/vector-fst.h>

#include <sstream>

#include "core-afst/afst.h"
#include "core-afst/serialization_fsm_check.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/file.h"
#include "foundation/logger.h"

namespace dez::trelix {

namespace {

// The transducer of a file's bytes; null when they hold none. OpenFst trusts
// every count and length it reads, so the bytes are checked first: a corrupt
// file must not make it reserve room for billions of states.
std::shared_ptr<::fst::StdVectorFst> read_network(std::string bytes, const std::string& filename) {
    const std::string problem =
        dez::afst::serialization::check_fsm_payload(bytes.data(), bytes.size());
    if (!problem.empty()) {
        LOG(ERROR) << "get_afst: corrupt transducer (" << problem << "): " << filename;
        return nullptr;
    }
    std::istringstream stream(bytes);
    std::string().swap(bytes); // the stream holds its own copy
    std::shared_ptr<::fst::StdVectorFst> network;
    try {
        network.reset(::fst::StdVectorFst::Read(stream, ::fst::FstReadOptions(filename)));
    } catch (const std::exception&) {
        return nullptr; // OpenFst has logged why
    }
    // Algorithms trust stored property bits, which the check cannot afford
    // to verify: OpenFst works out again whatever it needs.
    if (network)
        network->SetProperties(::fst::kExpanded | ::fst::kMutable, ::fst::kFstProperties);
    return network;
}

} // namespace

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
    // An unreadable file is refused here rather than cached as an empty
    // transducer.
    std::shared_ptr<::fst::StdVectorFst> transducer = read_network(std::move(bytes), filename);
    if (!transducer || !transducer->InputSymbols() || !transducer->OutputSymbols())
        throw dez::Exception(corrupt);
    auto afst = std::make_shared<dez::afst::AFst>(std::move(transducer));
    afst->timestamp = stamp;
    return afst;
}

} // namespace dez::trelix
