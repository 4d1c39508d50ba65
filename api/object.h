#pragma once

#include <cstdint>

#include "api/dez_api.h"
#include "foundation/api_object.h"

namespace dez::api {

// The object behind a handle of the given kind; null for a null handle or a
// handle of another kind.
Object* object_of(dez_object* handle, HandleKind kind);

template <typename T> T* handle_cast(dez_object* handle, HandleKind kind) {
    return static_cast<T*>(object_of(handle, kind));
}

// Throws dez::Exception: `null_message` for a null handle, "Invalid handle:
// not <kind>." for a handle of another kind.
[[noreturn]] void refuse_handle(dez_object* handle, HandleKind kind, const char* null_message);

// The object behind a handle the call cannot do without.
template <typename T>
T& expect_handle(dez_object* handle, HandleKind kind, const char* null_message) {
    if (T* object = handle_cast<T>(handle, kind))
        return *object;
    refuse_handle(handle, kind, null_message);
}

} // namespace dez::api
