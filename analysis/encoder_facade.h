#pragma once

#include <fst/fst-decl.h>

#include <memory>
#include <string>

struct sqlite3;

namespace dez::trelix {

// A compiled domain's token-encoder transducer.
class EncoderFacade {
public:
    // Empty `fst` when the store holds no row under the key.
    EncoderFacade(const std::shared_ptr<sqlite3>& connection, const std::string& key);

    std::shared_ptr<fst::StdVectorFst> fst;
};

} // namespace dez::trelix
