#pragma once

#include <memory>
#include <string>

namespace dez::afst {
class AFst;
}

namespace dez::trelix {

// Reads one morph transducer file, stamped with the file's write time. Fails
// with dez::Exception "morph file not found :(get_afst)[...]" when the name is
// no regular file, and "Invalid/Corrupt morph file:(get_fst)[...]" when it
// cannot be read or holds no sound transducer with both symbol tables (its
// bytes pass check_fsm_payload before OpenFst reads them). Never returns null.
std::shared_ptr<dez::afst::AFst> load_afst(const std::string& filename);

} // namespace dez::trelix
