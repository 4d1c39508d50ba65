// The handle operations and the accessors of the C interface.

#include "api/blackboard.h"
#include "api/dez_api.h"
#include "api/engine.h"
#include "api/error_frame.h"
#include "api/object.h"

using dez::api::HandleKind;

namespace {

// A handle the reference calls may touch: non-null and of a known kind.
dez::api::Object* live_handle(dez_object* handle, dez_exception* error) {
    if (!handle)
        return nullptr;
    if (!dez::api::is_handle_kind(handle->reserved)) {
        dez::api::fill_error(error, 1, "Invalid handle.");
        return nullptr;
    }
    return static_cast<dez::api::Object*>(handle);
}

} // namespace

extern "C" {

dez_object* dez_api_construct(dez_object* handle, dez_exception*) {
    return handle;
}

int32_t dez_api_add_ref(dez_object* handle, dez_exception* error) {
    dez::api::Object* object = live_handle(handle, error);
    if (!object)
        return -1;
    return __atomic_fetch_add(&object->reference_count, 1, __ATOMIC_RELAXED);
}

int32_t dez_api_dec_ref(dez_object* handle, dez_exception* error) {
    dez::api::Object* object = live_handle(handle, error);
    if (!object)
        return -1;
    const int32_t left = __atomic_sub_fetch(&object->reference_count, 1, __ATOMIC_ACQ_REL);
    if (left == 0)
        delete object;
    return left;
}

dez::trelix::Engine* get_engine(dez_object* handle) {
    auto* engine = dez::api::handle_cast<dez::api::Engine>(handle, HandleKind::engine);
    return engine ? engine->engine.get() : nullptr;
}

dez::trelix::Blackboard* get_blackboard(dez_object* handle) {
    auto* result = dez::api::handle_cast<dez::api::Blackboard>(handle, HandleKind::result);
    return result ? result->blackboard.get() : nullptr;
}

} // extern "C"
