#include "analysis/encoder_facade.h"

#include "core-afst/serialization.h"

namespace dez::trelix {

EncoderFacade::EncoderFacade(const std::shared_ptr<sqlite3>& connection, const std::string& key)
    : fst(dez::afst::serialization::get_fsm(connection, key)) {}

} // namespace dez::trelix
