#include "api/object.h"

#include <string>

#include "foundation/exception.h"

namespace dez::api {

Object* object_of(dez_object* handle, HandleKind kind) {
    if (!handle || handle->reserved != static_cast<int32_t>(kind))
        return nullptr;
    return static_cast<Object*>(handle);
}

void refuse_handle(dez_object* handle, HandleKind kind, const char* null_message) {
    if (!handle)
        throw dez::Exception(null_message);
    const char* name = "a handle of this kind";
    switch (kind) {
    case HandleKind::engine:
        name = "an engine";
        break;
    case HandleKind::analyzer:
        name = "an analyzer";
        break;
    case HandleKind::result:
        name = "a result";
        break;
    case HandleKind::domain:
        name = "a domain";
        break;
    case HandleKind::lid:
        name = "a language identifier";
        break;
    case HandleKind::lid_result:
        name = "a language sections result";
        break;
    case HandleKind::filter:
        name = "a filter";
        break;
    }
    throw dez::Exception(std::string("Invalid handle: not ") + name + ".");
}

} // namespace dez::api
