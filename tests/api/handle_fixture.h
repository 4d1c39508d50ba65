#pragma once

#include "api/dez_api.h"

namespace dez::api::fixture {

// An error record that starts clear.
struct Record : dez_exception {
    Record() : dez_exception{0, {}} {}
};

// Releases a handle at the end of a test.
struct Held {
    explicit Held(dez_object* handle) : handle(handle) {}
    ~Held() {
        if (handle)
            dez_api_dec_ref(handle, nullptr);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    dez_object* handle;
};

} // namespace dez::api::fixture
