#include "analysis/lid_result.h"

namespace dez::trelix {

LidResult::LidResult() : Object(dez::api::HandleKind::lid_result) {}

LidResult::~LidResult() = default;

} // namespace dez::trelix
