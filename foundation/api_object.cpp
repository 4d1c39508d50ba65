#include "foundation/api_object.h"

namespace dez::api {

bool is_handle_kind(int32_t reserved) {
    return reserved >= static_cast<int32_t>(HandleKind::engine) &&
           reserved <= static_cast<int32_t>(HandleKind::filter);
}

Object::~Object() {
    reserved = 0;
}

} // namespace dez::api
